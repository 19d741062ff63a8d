// BMP decoding. The input is untrusted (module resources, files on disk): every header field is
// checked against the bytes actually present before anything is read or allocated from it.

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include "platform/canvas/bmp_file.h"
#include "platform/canvas/pixel_ops.h"

namespace plat {
namespace {

constexpr std::size_t file_header_size = 14;
constexpr std::size_t info_header_size = 40;
constexpr std::int64_t max_dimension = 1 << 15;
constexpr std::uint32_t bi_rgb = 0;
constexpr std::uint32_t bi_bitfields = 3;
// Larger files are not bitmaps a panel would use; refusing them keeps a bad path from filling
// memory.
constexpr std::uintmax_t max_file_size = std::uintmax_t{256} << 20;

std::uint32_t u32(std::span<const std::uint8_t> d, std::size_t at) {
    return std::uint32_t{d[at]} | std::uint32_t{d[at + 1]} << 8 | std::uint32_t{d[at + 2]} << 16 |
           std::uint32_t{d[at + 3]} << 24;
}
std::int32_t i32(std::span<const std::uint8_t> d, std::size_t at) {
    return static_cast<std::int32_t>(u32(d, at));
}
std::uint16_t u16(std::span<const std::uint8_t> d, std::size_t at) {
    return static_cast<std::uint16_t>(d[at] | d[at + 1] << 8);
}

Error fail(std::string_view name, const char* what) {
    return Error{std::string(name) + ": " + what};
}
Error fail(std::string_view name, const char* format, long long value) {
    char text[96];
    std::snprintf(text, sizeof text, format, value);
    return fail(name, text);
}

struct Layout {
    std::int64_t width = 0;
    std::int64_t rows = 0;
    bool bottom_up = true;
    int bits = 0;
    std::size_t palette_at = 0;
    std::size_t colors = 0;
    std::size_t pixels_at = 0;
    std::size_t stride = 0;
};

// Reads and checks the headers; on success every byte the decoder will touch is inside `d`.
Result<Layout> read_layout(std::span<const std::uint8_t> d, std::string_view name) {
    Layout out;
    std::size_t base = 0;
    std::optional<std::size_t> pixel_offset;
    if (d.size() >= 2 && d[0] == 'B' && d[1] == 'M') {
        if (d.size() < file_header_size) return fail(name, "truncated file header");
        pixel_offset = u32(d, 10);
        base = file_header_size;
    }
    if (d.size() - base < 4) return fail(name, "truncated info header");
    const std::uint32_t header = u32(d, base);
    if (header != 40 && header != 52 && header != 56 && header != 108 && header != 124)
        return fail(name, "unsupported info header size %lld", header);
    if (d.size() - base < header) return fail(name, "truncated info header");

    const std::int64_t width = i32(d, base + 4);
    const std::int64_t height = i32(d, base + 8);
    const std::uint16_t planes = u16(d, base + 12);
    const std::uint16_t bits = u16(d, base + 14);
    const std::uint32_t compression = u32(d, base + 16);
    const std::uint32_t colors_used = u32(d, base + 32);
    if (width <= 0 || width > max_dimension) return fail(name, "width %lld out of range", width);
    if (height == 0 || height > max_dimension || height < -max_dimension)
        return fail(name, "height %lld out of range", height);
    if (planes != 1) return fail(name, "%lld planes, expected 1", planes);
    if (bits != 8 && bits != 24 && bits != 32)
        return fail(name, "unsupported bit depth %lld", bits);

    std::size_t masks_after_header = 0;
    if (compression == bi_bitfields && bits == 32) {
        // Masks sit inside a V4/V5 header, or right after a plain one.
        const std::size_t masks_at = base + info_header_size;
        if (header == info_header_size) masks_after_header = 12;
        if (d.size() < masks_at + 12) return fail(name, "truncated colour masks");
        if (u32(d, masks_at) != 0xFF0000 || u32(d, masks_at + 4) != 0xFF00 ||
            u32(d, masks_at + 8) != 0xFF)
            return fail(name, "unsupported colour masks");
    } else if (compression != bi_rgb) {
        return fail(name, "unsupported compression %lld", compression);
    }

    if (colors_used > 256) return fail(name, "colour count %lld exceeds 256", colors_used);
    out.colors = bits == 8 && colors_used == 0 ? 256 : colors_used;
    out.palette_at = base + header + masks_after_header;
    if (out.palette_at > d.size() || (d.size() - out.palette_at) / 4 < out.colors)
        return fail(name, "truncated colour table");
    const std::size_t palette_end = out.palette_at + out.colors * 4;

    if (pixel_offset) {
        if (*pixel_offset < base + header)
            return fail(name, "pixel data offset inside the headers");
        if (*pixel_offset > d.size())
            return fail(name, "pixel data offset beyond the end of the data");
        out.pixels_at = *pixel_offset;
    } else {
        out.pixels_at = palette_end;
    }

    out.width = width;
    out.rows = height < 0 ? -height : height;
    out.bottom_up = height > 0;
    out.bits = bits;
    out.stride = static_cast<std::size_t>((width * bits + 31) / 32 * 4);
    // The last row's padding may be missing; its pixels may not.
    const std::size_t row_bytes = static_cast<std::size_t>((width * bits + 7) / 8);
    const std::size_t needed = out.stride * static_cast<std::size_t>(out.rows - 1) + row_bytes;
    if (d.size() - out.pixels_at < needed) return fail(name, "truncated pixel data");
    return out;
}

}  // namespace

Result<Bitmap> read_bmp(std::span<const std::uint8_t> data, std::string_view name) {
    Result<Layout> parsed = read_layout(data, name);
    if (!parsed) return Error{parsed.error()};
    const Layout& l = *parsed;
    const int width = static_cast<int>(l.width);
    const int rows = static_cast<int>(l.rows);
    Bitmap out(width, rows, l.bits == 8 ? PixelFormat::indexed8 : PixelFormat::xrgb32);
    if (l.bits == 8) {
        std::vector<ColorRef> palette(l.colors);
        for (std::size_t i = 0; i < l.colors; ++i) {
            const std::size_t at = l.palette_at + i * 4;
            palette[i] = rgb(data[at + 2], data[at + 1], data[at]);
        }
        out.set_palette(palette);
    }
    const detail::PixelOps& ops = out.ops();
    const std::size_t bytes = static_cast<std::size_t>(l.bits / 8);
    for (int r = 0; r < rows; ++r) {
        const std::uint8_t* src =
            data.data() + l.pixels_at + l.stride * static_cast<std::size_t>(r);
        std::uint8_t* dst = out.scanline(l.bottom_up ? rows - 1 - r : r);
        if (l.bits == 8) {
            std::memcpy(dst, src, static_cast<std::size_t>(width));
            continue;
        }
        for (int x = 0; x < width; ++x, src += bytes)
            ops.put(dst, x, std::uint32_t{src[2]} << 16 | std::uint32_t{src[1]} << 8 | src[0]);
    }
    return out;
}

Result<Bitmap> read_bmp_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) return Error{path + ": cannot open"};
    const std::streamoff size = in.tellg();
    if (size < 0) return Error{path + ": cannot read"};
    if (static_cast<std::uintmax_t>(size) > max_file_size) return Error{path + ": file too large"};
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    in.seekg(0);
    if (!in.read(reinterpret_cast<char*>(bytes.data()), size)) return Error{path + ": cannot read"};
    return read_bmp(bytes, path);
}

}  // namespace plat
