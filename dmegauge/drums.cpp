#include "dmegauge/drums.h"

#include <cmath>

namespace dme {
namespace {

constexpr double kUnitsZero = 1.8;
constexpr double kUnitsTop = 11.8;

}  // namespace

double units_drum(double distance) {
    const double v = distance - 10.0 * std::trunc(distance / 10.0) + kUnitsZero;
    if (!(v >= kUnitsZero)) return kUnitsZero;
    if (v > kUnitsTop) return kUnitsTop;
    return v;
}

double tens_drum(double distance) {
    const double t = (distance / 100.0 - std::trunc(distance / 100.0)) * 10.0;
    if (!(t >= 0.0)) return 0.0;
    if (t > 9.0) return 9.0;
    return std::trunc(t);
}

double hundreds_drum(double distance) {
    // The whole hundreds read as an unsigned number, so a negative count wraps round to a huge
    // one and lands on 1 with everything else beyond the drum; done without the conversion,
    // which is undefined for negative and out-of-range values.
    const double h = std::trunc(distance / 100.0);
    return h == 0.0 ? 0.0 : 1.0;
}

}  // namespace dme
