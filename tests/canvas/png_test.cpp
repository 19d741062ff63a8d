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

// The 0x00RRGGBB pixels of a PNG in memory.
std::vector<std::uint32_t> decode_xrgb(const std::vector<std::uint8_t>& png, int& width, int& height) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, png.data(), png.size())) return {};
    image.format = PNG_FORMAT_BGRA;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(image.width) * image.height);
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) return {};
    width = static_cast<int>(image.width);
    height = static_cast<int>(image.height);
    for (auto& p : pixels) p &= 0xFFFFFFu;
    return pixels;
}

// A picture of exactly `colours` colours (and garbage in the ignored top byte), rows `stride` apart.
std::vector<std::uint32_t> picture_of(int colours, int width, int height, std::size_t stride) {
    std::vector<std::uint32_t> pixels(stride * static_cast<std::size_t>(height), 0xDEADBEEFu);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const auto k = static_cast<std::uint32_t>((x / 3 + y * 7) % colours);
            pixels[static_cast<std::size_t>(y) * stride + x] = 0xAB000000u | (k * 0x010305u + 0x102030u * (k & 1));
        }
    return pixels;
}

TEST(Png, LivePicturesOfFewColoursGoAsTheSmallestPaletteAndDecodeToTheSamePixels) {
    constexpr int kPalette = 3, kRgb = 2;
    struct Case {
        int colours, width, height, depth, colour_type;
    };
    const Case cases[] = {{1, 9, 4, 1, kPalette},     {2, 17, 5, 1, kPalette},  {3, 5, 3, 2, kPalette},
                          {4, 13, 7, 2, kPalette},    {5, 11, 6, 4, kPalette},  {16, 33, 9, 4, kPalette},
                          {17, 40, 20, 8, kPalette},  {256, 300, 40, 8, kPalette}, {257, 300, 40, 8, kRgb},
                          {1000, 64, 64, 8, kRgb}};
    const PngCompression settings[] = {{}, {1, PngFilter::sub}, {6, PngFilter::adaptive}, {9, PngFilter::paeth},
                                       {3, PngFilter::up}};
    for (const Case& c : cases)
        for (const PngCompression& how : settings) {
            SCOPED_TRACE(::testing::Message() << c.colours << " colours, " << c.width << " wide, level " << how.level);
            const std::size_t stride = static_cast<std::size_t>(c.width) + 3;
            const auto pixels = picture_of(c.colours, c.width, c.height, stride);
            auto png = encode_png_xrgb(c.width, c.height, pixels, stride, how);
            ASSERT_TRUE(png) << png.error();
            ASSERT_GT(png->size(), 26u);
            EXPECT_EQ((*png)[24], c.depth) << "bits a pixel";
            EXPECT_EQ((*png)[25], c.colour_type);
            int w = 0, h = 0;
            const auto back = decode_xrgb(*png, w, h);
            ASSERT_EQ(w, c.width);
            ASSERT_EQ(h, c.height);
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    ASSERT_EQ(back[static_cast<std::size_t>(y) * w + x],
                              pixels[static_cast<std::size_t>(y) * stride + x] & 0xFFFFFFu)
                        << x << "," << y;
        }
    const std::vector<std::uint32_t> two(2);
    EXPECT_FALSE(encode_png_xrgb(2, 2, two, 2)) << "fewer pixels than the size says";
    EXPECT_FALSE(encode_png_xrgb(0, 2, two, 2));
}

}  // namespace
