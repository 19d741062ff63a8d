// Filled and outlined shapes: rectangles, ellipses, regions.

#include <algorithm>
#include <vector>

#include "platform/canvas/canvas.h"
#include "platform/canvas/ellipse_rows.h"
#include "platform/canvas/span_painter.h"

namespace plat {

void Canvas::rectangle(const Rect& box_in) {
    refresh_paints();
    const Rect box = normalized(box_in);
    if (box.empty()) return;
    detail::SpanPainter painter(target_, clip_);
    const int top = std::max(box.top, clip_box_.top);
    const int bottom = std::min(box.bottom, clip_box_.bottom);
    if (pen_.style == Pen::Style::null) {
        for (int y = top; y < bottom; ++y) painter.fill(y, box.left, box.right, brush_ink_);
        return;
    }
    painter.fill(box.top, box.left, box.right, pen_ink_);
    for (int y = std::max(top, box.top + 1); y < std::min(bottom, box.bottom - 1); ++y) {
        painter.pixel(box.left, y, pen_ink_);
        painter.fill(y, box.left + 1, box.right - 1, brush_ink_);
        if (box.width() > 1) painter.pixel(box.right - 1, y, pen_ink_);
    }
    if (box.height() > 1) painter.fill(box.bottom - 1, box.left, box.right, pen_ink_);
}

// The outline is each row's pixels that touch the outside through a side, top or bottom
// neighbour; that boundary is 8-connected with no gaps, so a 4-connected flood fill from inside
// cannot leak through it. Only rows the clip can show are computed.
void Canvas::ellipse(const Rect& box_in) {
    refresh_paints();
    const Rect box = normalized(box_in);
    const int top = std::max(box.top, clip_box_.top);
    const int bottom = std::min(box.bottom, clip_box_.bottom);
    if (box.empty() || top >= bottom) return;
    detail::SpanPainter painter(target_, clip_);
    const bool has_pen = pen_.style != Pen::Style::null;
    // A window of three rows slides down the box, so each row is worked out once, and the lower
    // half mirrors the upper's rows (ellipse_row answers the same for both).
    const int h = box.height();
    std::vector<Span> upper(static_cast<std::size_t>(h + 1) / 2);
    std::vector<bool> known(upper.size(), false);
    auto row = [&](int r) {
        if (r < 0 || r >= h) return Span{};
        const auto i = static_cast<std::size_t>(std::min(r, h - 1 - r));
        if (!known[i]) {
            upper[i] = detail::ellipse_row(box, r);
            known[i] = true;
        }
        return upper[i];
    };
    Span above = row(top - box.top - 1);
    Span s = row(top - box.top);
    for (int y = top; y < bottom; ++y) {
        const Span below = row(y - box.top + 1);
        const int inner0 = std::max({s.x0 + 1, above.x0, below.x0});
        const int inner1 = std::min({s.x1 - 1, above.x1, below.x1});
        if (!has_pen) {
            painter.fill(y, s.x0, s.x1, brush_ink_);
        } else if (above.x1 <= above.x0 || below.x1 <= below.x0 || inner0 >= inner1) {
            painter.fill(y, s.x0, s.x1, pen_ink_);
        } else {
            painter.fill(y, s.x0, inner0, pen_ink_);
            painter.fill(y, inner0, inner1, brush_ink_);
            painter.fill(y, inner1, s.x1, pen_ink_);
        }
        above = s;
        s = below;
    }
}

void Canvas::fill_rect(const Rect& r, const Brush& brush) {
    refresh_paints();
    const detail::Paint paint = brush_paint(brush);
    const Rect c = intersect(r, clip_box_);
    detail::SpanPainter painter(target_, clip_);
    for (int y = c.top; y < c.bottom; ++y) painter.fill(y, c.left, c.right, paint);
}

void Canvas::fill_region(const Region& region, const Brush& brush) {
    refresh_paints();
    const detail::Paint paint = brush_paint(brush);
    detail::SpanPainter painter(target_, clip_);
    for (const Region::Band& band : region.bands()) {
        const int top = std::max(band.top, clip_box_.top);
        const int bottom = std::min(band.bottom, clip_box_.bottom);
        for (int y = top; y < bottom; ++y)
            for (const Span& s : region.spans(band)) painter.fill(y, s.x0, s.x1, paint);
    }
}

}  // namespace plat
