#pragma once
// Internal to the canvas: the one place where drawing meets the clip region. Every primitive
// reduces its shape to horizontal spans and hands them here; the painter cuts them to the clip and
// paints the visible pieces through the bitmap's pixel table.

#include <cstddef>

#include "platform/canvas/bitmap.h"
#include "platform/canvas/paint.h"
#include "platform/canvas/region.h"

namespace plat::detail {

class SpanPainter {
public:
    // The clip must lie inside the bitmap; the painter keeps references to both.
    SpanPainter(Bitmap& target, const Region& clip);

    // True when the clip is one rectangle, so anything inside its bounds is visible; callers that
    // have already limited themselves to those bounds may then write pixels directly.
    bool clip_is_rect() const { return clip_is_rect_; }

    // Paints pixels [x0, x1) of row y where the clip allows.
    void fill(int y, int x0, int x1, const Paint& paint);
    void pixel(int x, int y, const Paint& paint) { fill(y, x, x + 1, paint); }

    // Calls f(a, b) for each visible piece [a, b) of the span, left to right.
    template <typename F>
    void for_each_visible(int y, int x0, int x1, F&& f) {
        if (x1 <= x0) return;
        if (clip_is_rect_) {
            if (y < box_.top || y >= box_.bottom) return;
            if (x0 < box_.left) x0 = box_.left;
            if (x1 > box_.right) x1 = box_.right;
            if (x0 < x1) f(x0, x1);
            return;
        }
        hint_ = clip_.find_band(y, hint_);
        const auto bands = clip_.bands();
        if (hint_ == bands.size() || bands[hint_].top > y) return;
        for (const Span& s : clip_.spans(bands[hint_])) {
            if (s.x1 <= x0) continue;
            if (s.x0 >= x1) break;
            f(s.x0 > x0 ? s.x0 : x0, s.x1 < x1 ? s.x1 : x1);
        }
    }

private:
    Bitmap& target_;
    const Region& clip_;
    bool clip_is_rect_ = false;
    Rect box_;
    std::size_t hint_ = 0;
};

}  // namespace plat::detail
