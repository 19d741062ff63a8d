#include "gauges/grossweight/gross_weight.h"

#include <climits>
#include <cmath>
#include <cstdio>

namespace grossweight {
namespace {

double tank_pounds(double quantity) {
    const double pounds = std::trunc(kPoundsPerUnit * quantity);
    return std::isnan(pounds) ? 0.0 : pounds;
}

}  // namespace

int gross_weight(double centre, double right, double left) {
    const double total = tank_pounds(centre) + tank_pounds(right) + tank_pounds(left) + kZeroFuelWeight;
    if (total >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (total <= static_cast<double>(INT_MIN)) return INT_MIN;
    return static_cast<int>(total);
}

void format_weight(char* text, std::size_t size, int pounds) {
    if (!text || size == 0) return;
    std::snprintf(text, size, "%06d", pounds);
}

}  // namespace grossweight
