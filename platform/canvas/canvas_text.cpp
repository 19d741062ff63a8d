// Text: measured with the font, placed by the alignment flags, drawn from the font's cached glyph
// masks as runs of ink (straight into the rows where a glyph lies wholly inside a rectangular clip).

#include <algorithm>
#include <cstring>

#include "platform/canvas/canvas.h"
#include "platform/canvas/pixel_ops.h"
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

// The rows [r0, r1) of a glyph's mask whose pixels all lie inside a rectangular clip, written
// straight into the bitmap in the format's word size: a glyph's runs are too short to be worth a
// span each.
template <typename Word>
void glyph_straight_in(Bitmap& target, const Glyph& g, int gx, int gy, int r0, int r1, std::uint32_t value) {
    const Word word = static_cast<Word>(value);
    for (int r = r0; r < r1; ++r) {
        const std::uint8_t* m = g.mask.data() + static_cast<std::size_t>(r) * g.width;
        std::uint8_t* row = target.scanline(gy + r) + static_cast<std::ptrdiff_t>(gx) * sizeof(Word);
        for (int i = 0; i < g.width; ++i)
            if (m[i]) std::memcpy(row + static_cast<std::ptrdiff_t>(i) * sizeof(Word), &word, sizeof(Word));
    }
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
    const bool straight_in = painter.clip_is_rect() && text_ink_.kind == detail::Paint::Kind::solid;
    const detail::PixelOps& ops = target_.ops();
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
        if (straight_in && gx >= clip_box_.left && gx + g.width <= clip_box_.right) {
            const std::uint32_t value = text_ink_.ink | ops.fixed_bits;
            switch (ops.bytes) {
                case 1: glyph_straight_in<std::uint8_t>(target_, g, gx, gy, r0, r1, value); break;
                case 2: glyph_straight_in<std::uint16_t>(target_, g, gx, gy, r0, r1, value); break;
                default: glyph_straight_in<std::uint32_t>(target_, g, gx, gy, r0, r1, value); break;
            }
            continue;
        }
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
