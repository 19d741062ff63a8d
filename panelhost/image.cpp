#include "panelhost/image.h"

#include <algorithm>

#include "platform/canvas/bmp_file.h"
#include "platform/canvas/png_file.h"

namespace panelhost {

plat::Result<Image> decode_bitmap(std::span<const std::uint8_t> bytes, const std::string& what) {
    auto bmp = plat::read_bmp(bytes, what);
    if (!bmp) return plat::Error{bmp.error()};
    const plat::Bitmap& b = bmp.value();
    Image img(b.width(), b.height());
    for (int y = 0; y < b.height(); ++y) {
        std::uint32_t* row = img.row(y);
        for (int x = 0; x < b.width(); ++x) {
            const plat::ColorRef c = b.color_of(b.pixel(x, y));
            row[x] = kOpaque | (std::uint32_t{plat::get_r(c)} << 16) | (std::uint32_t{plat::get_g(c)} << 8) |
                     plat::get_b(c);
        }
    }
    return img;
}

plat::Result<Image> load_bitmap_resource(plat::ModuleHandle module, int id) {
    const std::string what = "bitmap " + std::to_string(id);
    auto bytes = plat::find_resource(module, plat::kBitmapResource, static_cast<std::uint32_t>(id));
    if (!bytes) return plat::Error{what + " is not among the module's resources"};
    return decode_bitmap(*bytes, what);
}

namespace {

// Copies the pixels of [in, in + n) that `drawn` accepts to out, whole runs at a time: pictures are
// mostly long runs of drawn pixels, which copy faster than one pixel at a time.
template <typename Drawn>
void copy_drawn(std::uint32_t* out, const std::uint32_t* in, int n, Drawn drawn) {
    for (int i = 0; i < n;) {
        while (i < n && !drawn(in[i])) ++i;
        const int start = i;
        while (i < n && drawn(in[i])) ++i;
        std::copy(in + start, in + i, out + start);
    }
}

}  // namespace

void draw_image(Image& dst, const Image& src, int x, int y, bool transparent) {
    const int x0 = std::max(0, x), y0 = std::max(0, y);
    const int x1 = std::min(dst.width, x + src.width), y1 = std::min(dst.height, y + src.height);
    for (int py = y0; py < y1; ++py) {
        const std::uint32_t* in = src.row(py - y) + (x0 - x);
        std::uint32_t* out = dst.row(py) + x0;
        if (transparent)
            copy_drawn(out, in, x1 - x0, [](std::uint32_t p) { return (p >> 24) != 0 && !is_black(p); });
        else
            copy_drawn(out, in, x1 - x0, [](std::uint32_t p) { return (p >> 24) != 0; });
    }
}

void draw_scaled(Image& dst, const Image& src, int x, int y, int w, int h) {
    draw_scaled(dst, src, x, y, w, h, Rect{0, 0, dst.width, dst.height});
}

void draw_scaled(Image& dst, const Image& src, int x, int y, int w, int h, const Rect& clip) {
    if (src.empty() || w <= 0 || h <= 0) return;
    const Rect area = Rect{x, y, w, h}.intersect(clip).intersect({0, 0, dst.width, dst.height});
    if (area.empty()) return;
    const bool same_size = w == src.width && h == src.height;
    for (int py = area.y; py < area.y + area.h; ++py) {
        const int sy = same_size ? py - y : static_cast<int>(static_cast<long long>(py - y) * src.height / h);
        const std::uint32_t* in = src.row(sy);
        std::uint32_t* out = dst.row(py);
        if (same_size) {
            copy_drawn(out + area.x, in + (area.x - x), area.w, [](std::uint32_t p) { return (p >> 24) != 0; });
            continue;
        }
        for (int px = area.x; px < area.x + area.w; ++px) {
            const std::uint32_t p =
                in[same_size ? px - x : static_cast<int>(static_cast<long long>(px - x) * src.width / w)];
            if ((p >> 24) != 0) out[px] = p;
        }
    }
}

void copy_area(Image& dst, const Image& src, const Rect& area) {
    const Rect a = area.intersect({0, 0, std::min(dst.width, src.width), std::min(dst.height, src.height)});
    for (int y = a.y; y < a.y + a.h; ++y) std::copy(src.row(y) + a.x, src.row(y) + a.x + a.w, dst.row(y) + a.x);
}

void fill_rect(Image& dst, int x, int y, int w, int h, std::uint32_t colour) {
    const int x0 = std::max(0, x), y0 = std::max(0, y);
    const int x1 = std::min(dst.width, x + w), y1 = std::min(dst.height, y + h);
    for (int py = y0; py < y1; ++py) std::fill(dst.row(py) + x0, dst.row(py) + std::max(x0, x1), colour);
}

plat::Result<bool> write_png(const Image& image, const std::string& path) {
    plat::Bitmap b(std::max(image.width, 1), std::max(image.height, 1), plat::PixelFormat::xrgb32);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) b.set_pixel(x, y, image.row(y)[x] & 0x00FFFFFFu);
    if (auto err = plat::write_png(path, b)) return plat::Error{err->message};
    return true;
}

}  // namespace panelhost
