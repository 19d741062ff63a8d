// PNG encoding through libpng. libpng reports errors by longjmp, so everything that owns a
// resource is created before the setjmp point and nothing with a destructor is created after it.

#include <png.h>
#include <zlib.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/canvas/png_file.h"

namespace plat {
namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

struct ErrorText {
    char text[160] = "";
};

void on_error(png_structp png, png_const_charp message) {
    auto* e = static_cast<ErrorText*>(png_get_error_ptr(png));
    std::snprintf(e->text, sizeof e->text, "%s", message ? message : "libpng error");
    png_longjmp(png, 1);
}
void on_warning(png_structp, png_const_charp) {}

class PngWriteStruct {
public:
    explicit PngWriteStruct(ErrorText* errors)
        : png_(png_create_write_struct(PNG_LIBPNG_VER_STRING, errors, on_error, on_warning)),
          info_(png_ ? png_create_info_struct(png_) : nullptr) {}
    ~PngWriteStruct() { png_destroy_write_struct(&png_, &info_); }
    PngWriteStruct(const PngWriteStruct&) = delete;
    PngWriteStruct& operator=(const PngWriteStruct&) = delete;
    png_structp png() const { return png_; }
    png_infop info() const { return info_; }

private:
    png_structp png_;
    png_infop info_;
};

void append_to_vector(png_structp png, png_bytep data, png_size_t size) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + size);
}
void flush_nothing(png_structp) {}

// How the rows are laid out and compressed: RGB, RGBA or palette (indices of `bit_depth` bits).
struct Layout {
    int color_type = PNG_COLOR_TYPE_RGB;
    int bit_depth = 8;
    std::vector<png_color> palette;
    std::optional<PngCompression> live;  // none: libpng's defaults, for files kept
};

std::size_t row_bytes(int width, const Layout& layout) {
    const int channels =
        layout.color_type == PNG_COLOR_TYPE_RGB ? 3 : layout.color_type == PNG_COLOR_TYPE_RGB_ALPHA ? 4 : 1;
    return (static_cast<std::size_t>(width) * channels * layout.bit_depth + 7) / 8;
}

int filter_bits(PngFilter f) {
    switch (f) {
        case PngFilter::none: return PNG_FILTER_NONE;
        case PngFilter::sub: return PNG_FILTER_SUB;
        case PngFilter::up: return PNG_FILTER_UP;
        case PngFilter::paeth: return PNG_FILTER_PAETH;
        case PngFilter::adaptive: return PNG_ALL_FILTERS;
    }
    return PNG_FILTER_NONE;
}

// The bytes of row y, as the layout has them.
using RowSource = std::function<void(int y, png_byte* row)>;

// Runs the encoder over every row; `attach` points libpng at the output. The error text, if any.
std::optional<std::string> encode(int width, int height, const std::function<void(png_structp)>& attach,
                                  const RowSource& row_of, const Layout& layout) {
    std::vector<png_byte> row(row_bytes(width, layout));
    ErrorText errors;
    PngWriteStruct writer(&errors);
    if (!writer.png() || !writer.info()) return std::string("cannot start PNG encoder");
    png_structp png = writer.png();
    png_infop info = writer.info();
    if (setjmp(png_jmpbuf(png))) return std::string(errors.text);

    attach(png);
    if (layout.live) {
        png_set_compression_level(png, layout.live->level);
        png_set_filter(png, PNG_FILTER_TYPE_BASE, filter_bits(layout.live->filter));
    }
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), layout.bit_depth,
                 layout.color_type, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!layout.palette.empty())
        png_set_PLTE(png, info, layout.palette.data(), static_cast<int>(layout.palette.size()));
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) {
        row_of(y, row.data());
        png_write_row(png, row.data());
    }
    png_write_end(png, info);
    return std::nullopt;
}

// The picture's colours as a palette and every pixel's index in it, when it has at most 256
// colours. An open-addressed table of twice that many places keeps the look-up to a probe or two.
struct Indexed {
    std::vector<png_color> palette;
    std::vector<std::uint8_t> indices;  // width * height
};

std::optional<Indexed> index_colours(int width, int height, std::span<const std::uint32_t> pixels,
                                     std::size_t stride) {
    constexpr std::size_t kPlaces = 512;
    constexpr std::uint32_t kEmpty = 0xFFFFFFFFu;  // no 24-bit colour is this
    std::array<std::uint32_t, kPlaces> colour;
    std::array<std::uint8_t, kPlaces> index{};
    colour.fill(kEmpty);
    Indexed out;
    out.indices.resize(static_cast<std::size_t>(width) * height);
    std::uint8_t* to = out.indices.data();
    std::uint32_t last = kEmpty;
    std::uint8_t last_index = 0;
    for (int y = 0; y < height; ++y) {
        const std::uint32_t* in = pixels.data() + stride * static_cast<std::size_t>(y);
        for (int x = 0; x < width; ++x) {
            const std::uint32_t c = in[x] & 0xFFFFFFu;
            if (c != last) {
                std::size_t at = ((c * 0x9E3779B1u) >> 16) & (kPlaces - 1);
                while (colour[at] != c && colour[at] != kEmpty) at = (at + 1) & (kPlaces - 1);
                if (colour[at] == kEmpty) {
                    if (out.palette.size() == 256) return std::nullopt;
                    colour[at] = c;
                    index[at] = static_cast<std::uint8_t>(out.palette.size());
                    out.palette.push_back({static_cast<png_byte>(c >> 16), static_cast<png_byte>(c >> 8),
                                           static_cast<png_byte>(c)});
                }
                last = c;
                last_index = index[at];
            }
            *to++ = last_index;
        }
    }
    return out;
}

int depth_for(std::size_t colours) {
    if (colours <= 2) return 1;
    if (colours <= 4) return 2;
    if (colours <= 16) return 4;
    return 8;
}

// Packs indices of `depth` bits into a row, the first pixel in the highest bits.
void pack_row(const std::uint8_t* indices, int width, int depth, png_byte* out) {
    if (depth == 8) {
        std::memcpy(out, indices, static_cast<std::size_t>(width));
        return;
    }
    const int per_byte = 8 / depth;
    for (int x = 0; x < width; x += per_byte) {
        png_byte b = 0;
        for (int i = 0; i < per_byte; ++i)
            b = static_cast<png_byte>(b << depth | (x + i < width ? indices[x + i] : 0));
        *out++ = b;
    }
}

}  // namespace

std::optional<Error> write_png(const std::string& path, const Bitmap& bitmap) {
    if (bitmap.width() <= 0 || bitmap.height() <= 0) return Error{path + ": empty bitmap"};
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file) return Error{path + ": cannot open for writing"};
    const auto failed = encode(
        bitmap.width(), bitmap.height(), [&](png_structp png) { png_init_io(png, file.get()); },
        [&](int y, png_byte* p) {
            for (int x = 0; x < bitmap.width(); ++x) {
                const ColorRef c = bitmap.color_of(bitmap.pixel(x, y));
                *p++ = get_r(c);
                *p++ = get_g(c);
                *p++ = get_b(c);
            }
        },
        Layout{});
    if (failed) return Error{path + ": " + *failed};
    if (std::fflush(file.get()) != 0) return Error{path + ": write failed"};
    return std::nullopt;
}

std::optional<Error> write_png_rgba(const std::string& path, int width, int height,
                                    std::span<const std::uint8_t> rgba) {
    if (width <= 0 || height <= 0) return Error{path + ": empty picture"};
    const auto stride_bytes = static_cast<std::size_t>(width) * 4;
    if (rgba.size() < stride_bytes * static_cast<std::size_t>(height))
        return Error{path + ": picture smaller than its size says"};
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file) return Error{path + ": cannot open for writing"};
    const auto failed = encode(
        width, height, [&](png_structp png) { png_init_io(png, file.get()); },
        [&](int y, png_byte* p) {
            std::memcpy(p, rgba.data() + stride_bytes * static_cast<std::size_t>(y), stride_bytes);
        },
        Layout{PNG_COLOR_TYPE_RGB_ALPHA, 8, {}, std::nullopt});
    if (failed) return Error{path + ": " + *failed};
    if (std::fflush(file.get()) != 0) return Error{path + ": write failed"};
    return std::nullopt;
}

Result<std::vector<std::uint8_t>> encode_png_xrgb(int width, int height, std::span<const std::uint32_t> pixels,
                                                  std::size_t stride, PngCompression compression) {
    if (width <= 0 || height <= 0) return Error{"cannot encode an empty picture"};
    if (stride < static_cast<std::size_t>(width) ||
        pixels.size() < stride * static_cast<std::size_t>(height - 1) + static_cast<std::size_t>(width))
        return Error{"picture smaller than its size says"};
    std::vector<std::uint8_t> out;
    const auto attach = [&](png_structp png) { png_set_write_fn(png, &out, append_to_vector, flush_nothing); };
    Layout layout;
    layout.live = compression;
    std::optional<std::string> failed;
    if (auto indexed = index_colours(width, height, pixels, stride)) {
        layout.color_type = PNG_COLOR_TYPE_PALETTE;
        layout.bit_depth = depth_for(indexed->palette.size());
        layout.palette = std::move(indexed->palette);
        failed = encode(width, height, attach, [&](int y, png_byte* p) {
            pack_row(indexed->indices.data() + static_cast<std::size_t>(y) * width, width, layout.bit_depth, p);
        }, layout);
    } else {
        failed = encode(width, height, attach, [&](int y, png_byte* p) {
            const std::uint32_t* in = pixels.data() + stride * static_cast<std::size_t>(y);
            for (int x = 0; x < width; ++x) {
                *p++ = static_cast<png_byte>(in[x] >> 16);
                *p++ = static_cast<png_byte>(in[x] >> 8);
                *p++ = static_cast<png_byte>(in[x]);
            }
        }, layout);
    }
    if (failed) return Error{"PNG encoding: " + *failed};
    return out;
}

}  // namespace plat
