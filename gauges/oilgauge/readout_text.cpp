#include "gauges/oilgauge/readout_text.h"

#include <climits>
#include <cmath>
#include <cstdio>

namespace oil {

int whole_toward_zero(double v) {
    if (std::isnan(v)) return 0;
    if (v >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (v <= static_cast<double>(INT_MIN)) return INT_MIN;
    return static_cast<int>(std::trunc(v));
}

void write_whole(char* text, std::size_t size, double v) {
    if (text && size > 0) std::snprintf(text, size, "%3d", whole_toward_zero(v));
}

void write_tenths(char* text, std::size_t size, double v) {
    if (text && size > 0) std::snprintf(text, size, "%3.1f", v);
}

void write_fixed(char* text, std::size_t size, const char* fixed) {
    if (text && size > 0) std::snprintf(text, size, "%s", fixed);
}

}  // namespace oil
