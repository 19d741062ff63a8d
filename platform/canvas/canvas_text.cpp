// Text: measured with the font, placed by the alignment flags, drawn from the font's cached glyph
// masks as runs of ink.

#include <algorithm>

#include "platform/canvas/canvas.h"
#include "platform/canvas/span_painter.h"

namespace plat {
namespace {

// The top-left corner of the text's cell box for a reference point and alignment flags.
Point cell_origin(int x, int y, unsigned align, int width, const Font& font) {
    Point p{x, y};
    switch (align & text_align::center) {
    case text_align::right: p.x -= width; break;
    case text_align::center: p.x -= width / 2; break;
    default: break;
    }
    switch (align & text_align::baseline) {
    case text_align::baseline: p.y -= font.ascent(); break;
    case text_align::bottom: p.y -= font.cell_height(); break;
    default: break;
    }
    return p;
}

}  // namespace

Size Canvas::text_extent(std::string_view text) const {
    if (!font_) return {};
    return {font_->text_width(text), font_->cell_height()};
}

void Canvas::text_out(int x, int y, std::string_view text) {
    refresh_paints();
    if (!font_ || text.empty()) return;
    Font& font = *font_;
    const int width = font.text_width(text);
    const Point cell = cell_origin(x, y, align_, width, font);
    detail::SpanPainter painter(target_, clip_);
    if (bk_mode_ == BkMode::opaque) {
        const int bottom = std::min(cell.y + font.cell_height(), clip_box_.bottom);
        for (int row = std::max(cell.y, clip_box_.top); row < bottom; ++row)
            painter.fill(row, cell.x, cell.x + width, back_ink_);
    }
    const int baseline = cell.y + font.ascent();
    int pen_x = cell.x;
    for (const char c : text) {
        const Glyph& g = font.glyph(static_cast<unsigned char>(c));
        const int gx = pen_x + g.left;
        const int gy = baseline - g.top;
        pen_x += g.advance;
        if (gx >= clip_box_.right || gx + g.width <= clip_box_.left) continue;
        if (g.width <= 0 || g.height <= 0 ||
            g.mask.size() < static_cast<std::size_t>(g.width) * static_cast<std::size_t>(g.height))
            continue;
        const int r0 = std::max(0, clip_box_.top - gy);
        const int r1 = std::min(g.height, clip_box_.bottom - gy);
        for (int r = r0; r < r1; ++r) {
            const std::uint8_t* m = g.mask.data() + static_cast<std::size_t>(r) * g.width;
            for (int i = 0; i < g.width;) {
                if (!m[i]) {
                    ++i;
                    continue;
                }
                const int start = i;
                while (i < g.width && m[i]) ++i;
                painter.fill(gy + r, gx + start, gx + i, text_ink_);
            }
        }
    }
}

}  // namespace plat
