// The fixed-point rotation both rendered displays turn their shapes with. Its truncations are part
// of the pictures: every rotated shape carries the same small losses.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "surface/display_surface.h"

namespace surface {
namespace {

// a * b / c in 64 bits, rounded half away from zero.
int mul_div(int a, int b, int c) {
    if (c == 0) return -1;
    const std::int64_t product = static_cast<std::int64_t>(a) * b;
    const std::int64_t magnitude = (std::llabs(product) + std::llabs(static_cast<std::int64_t>(c)) / 2) /
                                   std::llabs(static_cast<std::int64_t>(c));
    const bool negative = (product < 0) != (c < 0);
    return static_cast<int>(negative ? -magnitude : magnitude);
}

}  // namespace

plat::Point RotatePoint(plat::Point p, int cx, int cy, double angle) {
    if (p.x == cx && p.y == cy) return p;
    // A simulator angle that is no number turns nothing; a point far outside any picture stays far.
    if (!std::isfinite(angle)) angle = 0.0;
    const double dx = static_cast<double>(p.x) - cx;
    const double dy = static_cast<double>(cy) - p.y;  // upward positive
    const double d = std::sqrt(dx * dx + dy * dy);
    double own = std::acos(dx / d);
    if (dy < 0) own = -own;
    const double turned = own + angle;
    const int scaled = static_cast<int>(std::min(d * 10.0, 1e9));
    return {cx + mul_div(scaled, static_cast<int>(std::cos(turned) * 1000.0), 10000),
            cy - mul_div(scaled, static_cast<int>(std::sin(turned) * 1000.0), 10000)};
}

}  // namespace surface
