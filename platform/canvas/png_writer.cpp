// PNG encoding through libpng. libpng reports errors by longjmp, so everything that owns a
// resource is created before the setjmp point and nothing with a destructor is created after it.

#include <png.h>

#include <cstdio>
#include <cstring>
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

}  // namespace

std::optional<Error> write_png(const std::string& path, const Bitmap& bitmap) {
    if (bitmap.width() <= 0 || bitmap.height() <= 0) return Error{path + ": empty bitmap"};
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file) return Error{path + ": cannot open for writing"};
    std::vector<png_byte> row(static_cast<std::size_t>(bitmap.width()) * 3);
    ErrorText errors;
    PngWriteStruct writer(&errors);
    if (!writer.png() || !writer.info()) return Error{path + ": cannot start PNG encoder"};
    png_structp png = writer.png();
    png_infop info = writer.info();
    if (setjmp(png_jmpbuf(png))) return Error{path + ": " + errors.text};

    png_init_io(png, file.get());
    png_set_IHDR(png, info, static_cast<png_uint_32>(bitmap.width()),
                 static_cast<png_uint_32>(bitmap.height()), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < bitmap.height(); ++y) {
        png_byte* p = row.data();
        for (int x = 0; x < bitmap.width(); ++x) {
            const ColorRef c = bitmap.color_of(bitmap.pixel(x, y));
            *p++ = get_r(c);
            *p++ = get_g(c);
            *p++ = get_b(c);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, info);
    if (std::fflush(file.get()) != 0) return Error{path + ": write failed"};
    return std::nullopt;
}

}  // namespace plat
