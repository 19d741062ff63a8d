#pragma once
// The device context: GDI's drawing state and primitives over one Bitmap. Coordinates are device
// pixels; every primitive is limited to the clip region, which never reaches outside the bitmap.

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

#include "platform/canvas/bitmap.h"
#include "platform/canvas/brush.h"
#include "platform/canvas/color.h"
#include "platform/canvas/font.h"
#include "platform/canvas/geometry.h"
#include "platform/canvas/paint.h"
#include "platform/canvas/pen.h"
#include "platform/canvas/region.h"

namespace plat {

// SetBkMode: whether text cells, hatch gaps and dotted-pen gaps get the background colour.
enum class BkMode { transparent = 1, opaque = 2 };

// Raster operations of a block transfer.
enum class Rop {
    src_copy,   // SRCCOPY: destination = source
    src_paint,  // SRCPAINT: destination |= source; palette indices on indexed bitmaps
};

// SetTextAlign flags, with GDI's values; one horizontal and one vertical flag are ORed.
namespace text_align {
inline constexpr unsigned left = 0;
inline constexpr unsigned right = 2;
inline constexpr unsigned center = 6;
inline constexpr unsigned top = 0;
inline constexpr unsigned bottom = 8;
inline constexpr unsigned baseline = 24;
}  // namespace text_align

// Draws into a bitmap that must outlive it. Starts like a fresh GDI context: black solid pen,
// white solid brush, no font, black text on a white opaque background, left-top alignment,
// position (0, 0), no clip. Colours are mapped to pixel values when selected, and again if the
// bitmap's palette changes. Not thread-safe; one canvas per drawing thread.
class Canvas {
public:
    explicit Canvas(Bitmap& target);

    Bitmap& bitmap() { return target_; }
    const Bitmap& bitmap() const { return target_; }
    int width() const { return target_.width(); }
    int height() const { return target_.height(); }
    // GetDeviceCaps(LOGPIXELSY): modules size fonts with -MulDiv(points, 96, 72).
    int logical_dpi_y() const { return 96; }

    void select_pen(const Pen& pen);
    void select_brush(const Brush& brush);
    // Null selects no font: text then draws nothing and measures 0 x 0.
    void select_font(const std::shared_ptr<Font>& font);
    void set_text_color(ColorRef c);
    void set_bk_color(ColorRef c);
    void set_bk_mode(BkMode mode);
    void set_text_align(unsigned flags) { align_ = flags; }
    const Pen& pen() const { return pen_; }
    const Brush& brush() const { return brush_; }
    const std::shared_ptr<Font>& font() const { return font_; }
    ColorRef text_color() const { return text_color_; }
    ColorRef bk_color() const { return bk_color_; }
    BkMode bk_mode() const { return bk_mode_; }
    unsigned text_align() const { return align_; }

    // SelectClipRgn: device coordinates; the clip is the region cut to the bitmap.
    void select_clip(const Region& region);
    void clear_clip();
    const Region& clip() const { return clip_; }

    // SetPixel / GetPixel; get_pixel answers clr_invalid outside the clip.
    void set_pixel(int x, int y, ColorRef c);
    ColorRef get_pixel(int x, int y) const;

    // MoveToEx / LineTo: the line ends one pixel short of (x, y), which becomes the position.
    void move_to(int x, int y);
    void line_to(int x, int y);
    Point position() const { return position_; }
    // Polyline: the points joined in order, the last one left out; the position is not used.
    void polyline(std::span<const Point> points);

    // Rectangle / Ellipse over a box (right and bottom exclusive): the pen outlines just inside
    // the box and the brush fills what is within; with a null pen the brush fills the whole box.
    void rectangle(const Rect& box);
    void ellipse(const Rect& box);
    // FillRect: the rectangle with a brush, or a solid colour; no pen.
    void fill_rect(const Rect& r, const Brush& brush);
    void fill_rect(const Rect& r, ColorRef c) { fill_rect(r, Brush::solid(c)); }
    // FillRgn: the region's pixels with a brush.
    void fill_region(const Region& region, const Brush& brush);
    // FloodFill(FLOODFILLBORDER): fills with the current brush every pixel 4-connected to (x, y)
    // whose colour is not `border`, compared as pixel values after mapping `border` to the
    // bitmap's format. False, and nothing filled, when the start is outside the clip or is
    // border-coloured.
    bool flood_fill(int x, int y, ColorRef border);

    // TextOut of Windows-1252 text placed by the alignment flags: horizontally the point is the
    // left end, right end or centre of the text's advance width; vertically the top of the cell,
    // the baseline, or the bottom of the cell. In opaque mode the cell box is first filled with
    // the background colour. Glyph ink is drawn in the text colour.
    void text_out(int x, int y, std::string_view text);
    // GetTextExtentPoint32: advance width and cell height of the text.
    Size text_extent(std::string_view text) const;

    // BitBlt of a w x h block from `src` at (sx, sy) to (x, y), cut to both bitmaps and the clip.
    // Pixels convert through their colours when the formats or palettes differ; the source may be
    // this canvas's own bitmap, overlapping or not.
    void blit(int x, int y, int w, int h, const Bitmap& src, int sx, int sy,
              Rop rop = Rop::src_copy);
    void blit(int x, int y, int w, int h, const Canvas& src, int sx, int sy,
              Rop rop = Rop::src_copy) {
        blit(x, y, w, h, src.bitmap(), sx, sy, rop);
    }

private:
    // Colours become pixel values once, here, when selected or after the palette changed (a
    // bitmap moved into the target counts as a change, and the clip is cut to it again).
    void remap();
    void map_pen();
    void apply_clip();
    void refresh_paints() {
        if (target_.palette_serial() != palette_serial_) {
            apply_clip();
            remap();
        }
    }
    detail::Paint solid_paint(ColorRef c) const;
    detail::Paint brush_paint(const Brush& brush) const;
    void draw_line(Point a, Point b);

    Bitmap& target_;
    Pen pen_ = Pen::solid(rgb(0, 0, 0));
    Brush brush_ = Brush::solid(rgb(255, 255, 255));
    std::shared_ptr<Font> font_;
    ColorRef text_color_ = rgb(0, 0, 0);
    ColorRef bk_color_ = rgb(255, 255, 255);
    BkMode bk_mode_ = BkMode::opaque;
    unsigned align_ = 0;
    Point position_;
    std::int64_t dot_phase_ = 0;  // where the dotted pen's pattern stands along a polyline
    Region user_clip_;
    bool clipped_ = false;
    Region clip_;  // the user's clip cut to the bitmap
    Rect clip_box_;

    std::uint32_t palette_serial_ = 0;
    detail::Paint pen_ink_, pen_gap_, brush_ink_, text_ink_, back_ink_;
};

}  // namespace plat
