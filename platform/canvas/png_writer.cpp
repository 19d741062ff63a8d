// PNG encoding through libpng. libpng reports errors by longjmp, so everything that owns a
// resource is created before the setjmp point and nothing with a destructor is created after it.

#include <png.h>
#include <zlib.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
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

// The bytes of row y: width * 3 of them (RGB), or width * 4 with alpha (RGBA).
using RowSource = std::function<void(int y, png_byte* rgb)>;

// Runs the encoder over every row; `attach` points libpng at the output. The error text, if any.
std::optional<std::string> encode(int width, int height, const std::function<void(png_structp)>& attach,
                                  const RowSource& row_of, bool fast, bool alpha = false) {
    std::vector<png_byte> row(static_cast<std::size_t>(width) * (alpha ? 4 : 3));
    ErrorText errors;
    PngWriteStruct writer(&errors);
    if (!writer.png() || !writer.info()) return std::string("cannot start PNG encoder");
    png_structp png = writer.png();
    png_infop info = writer.info();
    if (setjmp(png_jmpbuf(png))) return std::string(errors.text);

    attach(png);
    if (fast) {
        // A live picture is sent once and soon replaced: speed matters more than the last byte.
        png_set_compression_level(png, Z_BEST_SPEED);
        png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
    }
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) {
        row_of(y, row.data());
        png_write_row(png, row.data());
    }
    png_write_end(png, info);
    return std::nullopt;
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
        false);
    if (failed) return Error{path + ": " + *failed};
    if (std::fflush(file.get()) != 0) return Error{path + ": write failed"};
    return std::nullopt;
}

std::optional<Error> write_png_rgba(const std::string& path, int width, int height,
                                    std::span<const std::uint8_t> rgba) {
    if (width <= 0 || height <= 0) return Error{path + ": empty picture"};
    const auto row_bytes = static_cast<std::size_t>(width) * 4;
    if (rgba.size() < row_bytes * static_cast<std::size_t>(height)) return Error{path + ": picture smaller than its size says"};
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file) return Error{path + ": cannot open for writing"};
    const auto failed = encode(
        width, height, [&](png_structp png) { png_init_io(png, file.get()); },
        [&](int y, png_byte* p) { std::memcpy(p, rgba.data() + row_bytes * static_cast<std::size_t>(y), row_bytes); },
        false, true);
    if (failed) return Error{path + ": " + *failed};
    if (std::fflush(file.get()) != 0) return Error{path + ": write failed"};
    return std::nullopt;
}

Result<std::vector<std::uint8_t>> encode_png_xrgb(int width, int height, std::span<const std::uint32_t> pixels,
                                                  std::size_t stride) {
    if (width <= 0 || height <= 0) return Error{"cannot encode an empty picture"};
    if (stride < static_cast<std::size_t>(width) ||
        pixels.size() < stride * static_cast<std::size_t>(height - 1) + static_cast<std::size_t>(width))
        return Error{"picture smaller than its size says"};
    std::vector<std::uint8_t> out;
    const auto failed = encode(
        width, height, [&](png_structp png) { png_set_write_fn(png, &out, append_to_vector, flush_nothing); },
        [&](int y, png_byte* p) {
            const std::uint32_t* in = pixels.data() + stride * static_cast<std::size_t>(y);
            for (int x = 0; x < width; ++x) {
                *p++ = static_cast<png_byte>(in[x] >> 16);
                *p++ = static_cast<png_byte>(in[x] >> 8);
                *p++ = static_cast<png_byte>(in[x]);
            }
        },
        true);
    if (failed) return Error{"PNG encoding: " + *failed};
    return out;
}

}  // namespace plat
