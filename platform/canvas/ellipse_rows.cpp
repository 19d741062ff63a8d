#include "platform/canvas/ellipse_rows.h"

#include <algorithm>
#include <cmath>

namespace plat::detail {

Span ellipse_row(const Rect& box, int row) {
    const int w = box.width();
    const int h = box.height();
    if (w <= 0 || h <= 0 || row < 0 || row >= h) return {};
    // The lower half mirrors the upper, which makes the symmetry exact rather than up to rounding.
    const int i = std::min(row, h - 1 - row);
    const double a = w / 2.0;
    const double b = h / 2.0;
    const double dy = (b - (i + 0.5)) / b;
    const double dx = a * std::sqrt(std::max(0.0, 1.0 - dy * dy));
    // Pixel centres exactly on the curve count as inside; the slack absorbs rounding of sqrt.
    constexpr double on_curve = 1e-9;
    const int inset =
        std::clamp(static_cast<int>(std::ceil(a - dx - 0.5 - on_curve)), 0, (w - 1) / 2);
    return {box.left + inset, box.right - inset};
}

}  // namespace plat::detail
