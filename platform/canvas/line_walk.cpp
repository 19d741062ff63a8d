#include "platform/canvas/line_walk.h"

#include <algorithm>

namespace plat::detail {
namespace {

// Within this range every product below stays far inside 64 bits.
constexpr std::int64_t max_coordinate = std::int64_t{1} << 27;

bool in_range(Point p) {
    return p.x >= -max_coordinate && p.x <= max_coordinate && p.y >= -max_coordinate &&
           p.y <= max_coordinate;
}

}  // namespace

// Step i sits minor offset k(i) = floor((2 i m + M + bias) / 2M) from the start, M and m being the
// major and minor extents; bias -1 rounds ties back toward the start, 0 forward, chosen so ties
// always go toward the smaller minor coordinate.
LineWalk::LineWalk(Point a, Point b, const Rect& bounds) {
    if (!in_range(a) || !in_range(b)) return;
    const std::int64_t dx = std::int64_t{b.x} - a.x;
    const std::int64_t dy = std::int64_t{b.y} - a.y;
    const std::int64_t adx = dx < 0 ? -dx : dx;
    const std::int64_t ady = dy < 0 ? -dy : dy;
    if (adx == 0 && ady == 0) return;
    x_major_ = adx >= ady;
    const std::int64_t M = x_major_ ? adx : ady;
    const std::int64_t m = x_major_ ? ady : adx;
    major_step_ = (x_major_ ? dx : dy) < 0 ? -1 : 1;
    minor_step_ = (x_major_ ? dy : dx) < 0 ? -1 : 1;
    const std::int64_t bias = minor_step_ > 0 ? -1 : 0;
    const std::int64_t major0 = x_major_ ? a.x : a.y;
    const std::int64_t minor0 = x_major_ ? a.y : a.x;
    const std::int64_t lo = x_major_ ? bounds.left : bounds.top;
    const std::int64_t hi = (x_major_ ? bounds.right : bounds.bottom) - std::int64_t{1};
    const std::int64_t mlo = x_major_ ? bounds.top : bounds.left;
    const std::int64_t mhi = (x_major_ ? bounds.bottom : bounds.right) - std::int64_t{1};
    if (hi < lo || mhi < mlo) return;

    std::int64_t first = 0, last = M - 1;
    if (major_step_ > 0) {
        first = std::max(first, lo - major0);
        last = std::min(last, hi - major0);
    } else {
        first = std::max(first, major0 - hi);
        last = std::min(last, major0 - lo);
    }
    // Minor offsets the bounds allow, then the steps where k(i) stays within them.
    std::int64_t kmin = minor_step_ > 0 ? mlo - minor0 : minor0 - mhi;
    std::int64_t kmax = minor_step_ > 0 ? mhi - minor0 : minor0 - mlo;
    if (kmax < 0) return;
    auto first_step_reaching = [&](std::int64_t k) -> std::int64_t {
        if (k <= 0) return 0;
        if (m == 0) return M;  // never
        const std::int64_t num = 2 * M * k - M - bias;
        return (num + 2 * m - 1) / (2 * m);
    };
    first = std::max(first, first_step_reaching(kmin));
    last = std::min(last, first_step_reaching(kmax + 1) - 1);
    if (first > last) return;

    i_ = first;
    last_ = last;
    two_major_ = 2 * M;
    two_minor_ = 2 * m;
    const std::int64_t num = 2 * first * m + M + bias;
    const std::int64_t k = num / two_major_;
    rem_ = num % two_major_;
    major_ = major0 + major_step_ * first;
    minor_ = minor0 + minor_step_ * k;
}

}  // namespace plat::detail
