#include "gauges/enginegauge/engine_readouts.h"

#include <algorithm>
#include <cstdio>

namespace enginegauge {
namespace {

// The windows' formats are fixed by the face; snprintf keeps any result inside the buffer.
template <typename... Args>
void put(char* text, std::size_t size, const char* format, Args... args) {
    if (!text || size == 0) return;
    std::snprintf(text, size, format, args...);
}

}  // namespace

double epr_angle(double epr) { return 162.5 * epr - 170.0; }
double epr_angle_clamped(double epr) { return epr_angle(std::clamp(epr, kEprLow, kEprHigh)); }
double n1_angle(double percent) { return 2.363636 * std::clamp(percent, 0.0, 110.0) - 40.0; }
double n2_angle(double percent) { return 2.47619 * std::clamp(percent, 0.0, 105.0) - 40.0; }
double egt_angle(double rankine) { return rankine * 0.09090909090909091; }

double rankine_to_celsius(double rankine) { return (rankine - 459.67 - 32.0) * 0.5555555555555556; }

void format_ratio(char* text, std::size_t size, double ratio) { put(text, size, "%01.2f", ratio); }

void format_percent(char* text, std::size_t size, double percent) {
    if (percent >= 100)
        put(text, size, "%3.1f", percent);
    else if (percent >= 10)
        put(text, size, " %2.1f", percent);
    else
        put(text, size, "  %1.1f", percent);
}

void format_celsius(char* text, std::size_t size, double celsius) {
    if (celsius >= 1000)
        put(text, size, "%4.0f", celsius);
    else if (celsius >= 100)
        put(text, size, " %3.0f", celsius);
    else if (celsius >= 10)
        put(text, size, "  %2.0f", celsius);
    else
        put(text, size, "   %1.0f", celsius);
}

void format_fuel_used(char* text, std::size_t size, double used) {
    if (used >= 100)
        put(text, size, "%4.0f", used);
    else if (used >= 10)
        put(text, size, " %3.0f", used);
    else
        put(text, size, "  %2.0f", used);
}

void format_fuel_flow(char* text, std::size_t size, double pounds_per_hour) {
    const double thousands = pounds_per_hour * 0.001;
    if (thousands >= 10)
        put(text, size, "%2.1f", thousands);
    else if (thousands >= 1)
        put(text, size, " %1.1f", thousands);
    else
        put(text, size, " %0.1f", thousands);
}

}  // namespace enginegauge
