// PNG output, read back with libpng.

#include <gtest/gtest.h>
#include <png.h>

#include "canvas_test_support.h"
#include "platform/canvas/png_file.h"

using namespace plat;
using namespace canvas_test;

namespace {

struct Decoded {
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgb;
};

Decoded read_png(const std::string& path) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    Decoded out;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return out;
    image.format = PNG_FORMAT_RGB;
    out.rgb.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, out.rgb.data(), 0, nullptr)) {
        png_image_free(&image);
        return out;
    }
    out.width = static_cast<int>(image.width);
    out.height = static_cast<int>(image.height);
    return out;
}

TEST(Png, WritesEveryFormatAsRgbThatLibpngReadsBackAndNamesAnUnwritablePath) {
    for (const PixelFormat format :
         {PixelFormat::indexed8, PixelFormat::rgb555, PixelFormat::xrgb32}) {
        SCOPED_TRACE(static_cast<int>(format));
        Bitmap b = format == PixelFormat::indexed8 ? small_bitmap(7, 3) : Bitmap(7, 3, format);
        Canvas c(b);
        c.fill_rect({0, 0, 7, 3}, blue);
        c.set_pixel(6, 2, red);
        c.set_pixel(0, 0, white);
        const std::string path = ::testing::TempDir() + "canvas_test.png";
        ASSERT_FALSE(write_png(path, b));
        const Decoded d = read_png(path);
        ASSERT_EQ(d.width, 7);
        ASSERT_EQ(d.height, 3);
        auto at = [&](int x, int y) {
            const std::size_t i = static_cast<std::size_t>((y * 7 + x) * 3);
            return rgb(d.rgb[i], d.rgb[i + 1], d.rgb[i + 2]);
        };
        EXPECT_EQ(at(0, 0), white);
        EXPECT_EQ(at(3, 1), blue);
        EXPECT_EQ(at(6, 2), red);
    }
    const std::string bad = ::testing::TempDir() + "no/such/dir/x.png";
    const auto error = write_png(bad, small_bitmap(2, 2));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->message, bad + ": cannot open for writing");
}

}  // namespace
