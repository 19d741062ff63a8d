// Canvas state: selection of tools and colours, and the clip region.

#include "platform/canvas/canvas.h"

#include <utility>

namespace plat {

Canvas::Canvas(Bitmap& target) : target_(target) {
    apply_clip();
    remap();
}

detail::Paint Canvas::solid_paint(ColorRef c) const {
    return {detail::Paint::Kind::solid, target_.map_color(c), 0, false};
}

detail::Paint Canvas::brush_paint(const Brush& brush) const {
    switch (brush.style) {
    case Brush::Style::solid: return solid_paint(brush.color);
    case Brush::Style::hatch_bdiagonal:
        return {detail::Paint::Kind::hatch_bdiagonal, target_.map_color(brush.color),
                target_.map_color(bk_color_), bk_mode_ == BkMode::opaque};
    case Brush::Style::null: break;
    }
    return {};
}

// The partial mappings leave palette_serial_ alone: if the palette changed meanwhile, the next
// primitive still sees the change and maps everything.
void Canvas::map_pen() {
    pen_ink_ = pen_.style != Pen::Style::null ? solid_paint(pen_.color) : detail::Paint{};
    pen_gap_ = pen_.style == Pen::Style::dotted && bk_mode_ == BkMode::opaque
                   ? solid_paint(bk_color_)
                   : detail::Paint{};
}

void Canvas::remap() {
    palette_serial_ = target_.palette_serial();
    map_pen();
    brush_ink_ = brush_paint(brush_);
    text_ink_ = solid_paint(text_color_);
    back_ink_ = solid_paint(bk_color_);
}

// Displays select the same pen, brush and colour again for every symbol; the inks already hold
// them, and a palette changed meanwhile is caught before the next primitive all the same.
void Canvas::select_pen(const Pen& pen) {
    if (pen.style == pen_.style && pen.color == pen_.color) return;
    pen_ = pen;
    map_pen();
}

void Canvas::select_brush(const Brush& brush) {
    if (brush.style == brush_.style && brush.color == brush_.color) return;
    brush_ = brush;
    brush_ink_ = brush_paint(brush_);
}

void Canvas::select_font(const std::shared_ptr<Font>& font) {
    if (font_ != font) font_ = font;
}

void Canvas::set_text_color(ColorRef c) {
    if (c == text_color_) return;
    text_color_ = c;
    text_ink_ = solid_paint(text_color_);
}

void Canvas::set_bk_color(ColorRef c) {
    bk_color_ = c;
    remap();
}

void Canvas::set_bk_mode(BkMode mode) {
    bk_mode_ = mode;
    remap();
}

void Canvas::apply_clip() {
    clip_ = clipped_ ? intersect(user_clip_, Region(target_.bounds())) : Region(target_.bounds());
    clip_box_ = clip_.bounds();
}

void Canvas::select_clip(const Region& region) {
    user_clip_ = region;
    clipped_ = true;
    apply_clip();
}

void Canvas::clear_clip() {
    user_clip_ = Region();
    clipped_ = false;
    apply_clip();
}

}  // namespace plat
