// BMP encoding: always a complete file with BITMAPFILEHEADER and BITMAPINFOHEADER, rows bottom-up
// as most readers expect.

#include <cstdio>
#include <fstream>

#include "platform/canvas/bmp_file.h"

namespace plat {
namespace {

void put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

}  // namespace

Result<std::vector<std::uint8_t>> encode_bmp(const Bitmap& bitmap, BmpDepth depth) {
    const bool indexed = bitmap.format() == PixelFormat::indexed8;
    if (depth == BmpDepth::automatic) depth = indexed ? BmpDepth::bits8 : BmpDepth::bits24;
    if (depth == BmpDepth::bits8 && !indexed)
        return Error{"an 8-bit BMP needs an indexed bitmap"};
    if (bitmap.width() <= 0 || bitmap.height() <= 0)
        return Error{"an empty bitmap has no BMP form"};

    const std::uint32_t bits = static_cast<std::uint32_t>(depth);
    const std::uint32_t stride = (static_cast<std::uint32_t>(bitmap.width()) * bits + 31) / 32 * 4;
    const std::uint32_t palette_bytes = depth == BmpDepth::bits8 ? 256 * 4 : 0;
    const std::uint32_t pixels_at = 14 + 40 + palette_bytes;
    const std::uint32_t image_bytes = stride * static_cast<std::uint32_t>(bitmap.height());

    std::vector<std::uint8_t> out;
    out.reserve(pixels_at + image_bytes);
    out.push_back('B');
    out.push_back('M');
    put32(out, pixels_at + image_bytes);
    put32(out, 0);
    put32(out, pixels_at);
    put32(out, 40);
    put32(out, static_cast<std::uint32_t>(bitmap.width()));
    put32(out, static_cast<std::uint32_t>(bitmap.height()));
    put16(out, 1);
    put16(out, bits);
    put32(out, 0);  // BI_RGB
    put32(out, image_bytes);
    put32(out, 3780);  // 96 dpi in pixels per metre
    put32(out, 3780);
    put32(out, depth == BmpDepth::bits8 ? 256 : 0);
    put32(out, 0);
    if (depth == BmpDepth::bits8) {
        for (const ColorRef c : bitmap.palette()) {
            out.push_back(get_b(c));
            out.push_back(get_g(c));
            out.push_back(get_r(c));
            out.push_back(0);
        }
    }
    for (int y = bitmap.height() - 1; y >= 0; --y) {
        const std::size_t row_start = out.size();
        for (int x = 0; x < bitmap.width(); ++x) {
            const std::uint32_t v = bitmap.pixel(x, y);
            if (depth == BmpDepth::bits8) {
                out.push_back(static_cast<std::uint8_t>(v));
                continue;
            }
            const ColorRef c = bitmap.color_of(v);
            out.push_back(get_b(c));
            out.push_back(get_g(c));
            out.push_back(get_r(c));
            if (depth == BmpDepth::bits32) out.push_back(0);
        }
        out.resize(row_start + stride, 0);
    }
    return out;
}

std::optional<Error> write_bmp(const std::string& path, const Bitmap& bitmap, BmpDepth depth) {
    Result<std::vector<std::uint8_t>> bytes = encode_bmp(bitmap, depth);
    if (!bytes) return Error{path + ": " + bytes.error()};
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return Error{path + ": cannot open for writing"};
    out.write(reinterpret_cast<const char*>(bytes->data()),
              static_cast<std::streamsize>(bytes->size()));
    out.close();
    if (!out) return Error{path + ": write failed"};
    return std::nullopt;
}

}  // namespace plat
