#include "platform/canvas/span_painter.h"

#include "platform/canvas/pixel_ops.h"

namespace plat::detail {

SpanPainter::SpanPainter(Bitmap& target, const Region& clip)
    : target_(target), clip_(clip),
      clip_is_rect_(clip.bands().size() == 1 && clip.bands()[0].count == 1), box_(clip.bounds()) {}

void SpanPainter::fill(int y, int x0, int x1, const Paint& paint) {
    if (paint.kind == Paint::Kind::none) return;
    std::uint8_t* row = target_.scanline(y);
    const PixelOps& ops = target_.ops();
    for_each_visible(y, x0, x1, [&](int a, int b) {
        if (paint.kind == Paint::Kind::solid) {
            ops.fill(row, a, b, paint.ink);
            return;
        }
        // The hatch is tied to device coordinates (brush origin 0, 0), so neighbouring fills join
        // into one continuous pattern.
        if (paint.opaque) ops.fill(row, a, b, paint.back);
        int x = a + ((7 - y - a) % 8 + 8) % 8;
        for (; x < b; x += 8) ops.put(row, x, paint.ink);
    });
}

}  // namespace plat::detail
