// BitBlt. The block is cut to the source bitmap first (moving the destination with it), then to
// the clip row by row. Same-format sources with the same meaning of pixel values are moved raw;
// anything else converts each pixel through its colour.

#include <algorithm>
#include <array>
#include <functional>
#include <vector>

#include "platform/canvas/canvas.h"
#include "platform/canvas/pixel_ops.h"
#include "platform/canvas/span_painter.h"

namespace plat {
namespace {

bool same_pixel_meaning(const Bitmap& a, const Bitmap& b) {
    if (a.format() != b.format()) return false;
    return a.format() != PixelFormat::indexed8 || a.palette() == b.palette();
}

// Source pixel value to destination pixel value, for sources that need converting.
class Converter {
public:
    Converter(const Bitmap& src, const Bitmap& dst) : src_(src), dst_(dst) {
        if (src.format() == PixelFormat::indexed8) {
            for (std::size_t i = 0; i < table_.size(); ++i)
                table_[i] = dst.map_color(src.palette()[i]);
        }
    }
    std::uint32_t operator()(std::uint32_t v) const {
        if (src_.format() == PixelFormat::indexed8) return table_[v & 0xFF];
        return dst_.map_color(src_.color_of(v));
    }

private:
    const Bitmap& src_;
    const Bitmap& dst_;
    std::array<std::uint32_t, 256> table_{};
};

bool overlaps(const Bitmap& a, const Bitmap& b) {
    if (a.height() == 0 || b.height() == 0) return false;
    const std::uint8_t* a0 = a.scanline(0);
    const std::uint8_t* a1 = a.scanline(a.height() - 1) + a.pitch();
    const std::uint8_t* b0 = b.scanline(0);
    const std::uint8_t* b1 = b.scanline(b.height() - 1) + b.pitch();
    return std::less<const std::uint8_t*>{}(a0, b1) && std::less<const std::uint8_t*>{}(b0, a1);
}

}  // namespace

void Canvas::blit(int x, int y, int w, int h, const Bitmap& src, int sx, int sy, Rop rop) {
    refresh_paints();
    // In 64 bits, so that no far-off block can overflow on its way to being cut away.
    std::int64_t x0 = x, y0 = y, w0 = w, h0 = h, sx0 = sx, sy0 = sy;
    if (sx0 < 0) { x0 -= sx0; w0 += sx0; sx0 = 0; }
    if (sy0 < 0) { y0 -= sy0; h0 += sy0; sy0 = 0; }
    w0 = std::min(w0, src.width() - sx0);
    h0 = std::min(h0, src.height() - sy0);
    const std::int64_t left = std::max<std::int64_t>(x0, clip_box_.left);
    const std::int64_t top = std::max<std::int64_t>(y0, clip_box_.top);
    const std::int64_t right = std::min<std::int64_t>(x0 + w0, clip_box_.right);
    const std::int64_t bottom = std::min<std::int64_t>(y0 + h0, clip_box_.bottom);
    if (w0 <= 0 || h0 <= 0 || left >= right || top >= bottom) return;
    // From here every coordinate lies within the bitmaps.
    const Rect dst{static_cast<int>(left), static_cast<int>(top), static_cast<int>(right),
                   static_cast<int>(bottom)};
    x = static_cast<int>(x0);
    y = static_cast<int>(y0);
    sx = static_cast<int>(sx0);
    sy = static_cast<int>(sy0);

    // A source sharing memory with the destination is read from a copy, so no pixel is read
    // after this blit has written it.
    if (overlaps(src, target_)) {
        Bitmap copy(dst.width(), dst.height(), src.format());
        copy.set_palette(src.palette());
        const int bytes = src.ops().bytes;
        for (int r = 0; r < dst.height(); ++r)
            std::copy_n(src.scanline(sy + dst.top - y + r) + (sx + dst.left - x) * bytes,
                        dst.width() * bytes, copy.scanline(r));
        blit(dst.left, dst.top, dst.width(), dst.height(), copy, 0, 0, rop);
        return;
    }

    const detail::PixelOps& dops = target_.ops();
    const detail::PixelOps& sops = src.ops();
    const bool raw = same_pixel_meaning(src, target_);
    const Converter convert(src, target_);
    detail::SpanPainter painter(target_, clip_);
    for (int dy = dst.top; dy < dst.bottom; ++dy) {
        std::uint8_t* drow = target_.scanline(dy);
        const std::uint8_t* srow = src.scanline(sy + dy - y);
        painter.for_each_visible(dy, dst.left, dst.right, [&](int a, int b) {
            const int s0 = sx + a - x;
            if (raw) {
                std::uint8_t* d = drow + a * dops.bytes;
                const std::uint8_t* s = srow + s0 * sops.bytes;
                if (rop == Rop::src_copy) dops.copy(d, s, b - a);
                else dops.bit_or(d, s, b - a);
                return;
            }
            for (int i = 0; i < b - a; ++i) {
                std::uint32_t v = convert(sops.get(srow, s0 + i));
                if (rop == Rop::src_paint) v |= dops.get(drow, a + i);
                dops.put(drow, a + i, v);
            }
        });
    }
}

}  // namespace plat
