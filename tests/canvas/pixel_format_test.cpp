// Pixel formats: how colours become pixel values in each format, and bitmaps over host memory.

#include <gtest/gtest.h>

#include <stdexcept>

#include "canvas_test_support.h"

using namespace plat;
using namespace canvas_test;

namespace {

TEST(Indexed8, MapsToTheNearestPaletteEntryFirstOfEqualsWinning) {
    Bitmap bmp(2, 1, PixelFormat::indexed8);
    const ColorRef palette[] = {rgb(0, 0, 0), rgb(100, 0, 0), rgb(0, 100, 0), rgb(100, 0, 0),
                                rgb(200, 200, 200)};
    bmp.set_palette(palette);
    EXPECT_EQ(bmp.map_color(rgb(90, 10, 0)), 1u);
    EXPECT_EQ(bmp.map_color(rgb(100, 0, 0)), 1u);  // entries 1 and 3 are equal
    EXPECT_EQ(bmp.map_color(rgb(60, 60, 0)), 1u);  // as near 1 as 2
    EXPECT_EQ(bmp.map_color(rgb(50, 50, 0)), 0u);  // as near 0 as 1
    EXPECT_EQ(bmp.map_color(rgb(10, 60, 0)), 2u);
    EXPECT_EQ(bmp.map_color(rgb(255, 255, 255)), 4u);
    // A selected pen maps again after the palette changes.
    Canvas c(bmp);
    c.select_pen(Pen::solid(rgb(250, 250, 250)));
    c.move_to(0, 0);
    c.line_to(1, 0);
    EXPECT_EQ(bmp.pixel(0, 0), 4u);
    const ColorRef white_first[] = {white, black};
    bmp.set_palette(white_first);
    c.line_to(2, 0);
    EXPECT_EQ(bmp.pixel(1, 0), 0u);
    EXPECT_EQ(c.get_pixel(1, 0), white);
}

TEST(Rgb555, PacksFiveBitsPerChannelAndEveryWriteSetsBit15) {
    Bitmap bmp(4, 1, PixelFormat::rgb555);
    Canvas c(bmp);
    c.set_pixel(0, 0, rgb(0, 0, 0));
    c.set_pixel(1, 0, rgb(255, 255, 255));
    c.set_pixel(2, 0, rgb(255, 0, 0));
    c.set_pixel(3, 0, rgb(8, 128, 7));
    EXPECT_EQ(bmp.pixel(0, 0), 0x8000u);
    EXPECT_EQ(bmp.pixel(1, 0), 0xFFFFu);
    EXPECT_EQ(bmp.pixel(2, 0), 0xFC00u);
    EXPECT_EQ(bmp.pixel(3, 0), 0x8000u | 1u << 10 | 16u << 5);
    // Reading widens the channels again and ignores bit 15.
    EXPECT_EQ(c.get_pixel(3, 0), rgb(8, 132, 0));
    bmp.set_pixel(0, 0, 0x7FFF);
    EXPECT_EQ(c.get_pixel(0, 0), white);

    Bitmap shapes(16, 8, PixelFormat::rgb555);
    Canvas s(shapes);
    s.fill_rect({0, 0, 16, 8}, black);
    s.set_bk_color(black);
    s.select_pen(Pen::solid(black));
    s.select_brush(Brush::hatch(black));
    s.rectangle({0, 0, 8, 8});
    s.ellipse({8, 0, 16, 8});
    s.blit(0, 4, 16, 4, Bitmap(16, 8, PixelFormat::rgb555), 0, 0);  // source pixels lack bit 15
    EXPECT_TRUE(pixels_not(shapes, 0x8000).empty());
}

TEST(Xrgb32, StoresRedInBits23To16) {
    Bitmap bmp(1, 1, PixelFormat::xrgb32);
    Canvas c(bmp);
    c.set_pixel(0, 0, rgb(0x12, 0x34, 0x56));
    EXPECT_EQ(bmp.pixel(0, 0), 0x123456u);
    EXPECT_EQ(c.get_pixel(0, 0), rgb(0x12, 0x34, 0x56));
}

// The host hands over images whose pitch exceeds the row; drawing must stay inside the rows.
TEST(WrappedBitmap, DrawsIntoHostMemoryWithItsPitchAndLeavesThePaddingAlone) {
    for (const PixelFormat format :
         {PixelFormat::indexed8, PixelFormat::rgb555, PixelFormat::xrgb32}) {
        const int w = 5, h = 3, bpp = bytes_per_pixel(format), pitch = w * bpp + 7;
        std::vector<std::uint8_t> memory(static_cast<std::size_t>(pitch * h), 0xAB);
        Bitmap bmp = Bitmap::wrap(memory, w, h, pitch, format);
        EXPECT_FALSE(bmp.owns_pixels());
        Canvas c(bmp);
        c.fill_rect({-10, -10, 100, 100}, white);
        c.select_pen(Pen::solid(red));
        c.move_to(-3, 1);
        c.line_to(40, 1);
        for (int y = 0; y < h; ++y) {
            for (int i = w * bpp; i < pitch; ++i)
                EXPECT_EQ(memory[static_cast<std::size_t>(y * pitch + i)], 0xAB) << y << "," << i;
            for (int x = 0; x < w; ++x) EXPECT_EQ(c.get_pixel(x, y), y == 1 ? red : white);
        }
    }
    std::vector<std::uint8_t> small(40);
    EXPECT_THROW(Bitmap::wrap(small, 10, 2, 8, PixelFormat::indexed8), std::invalid_argument);
    EXPECT_THROW(Bitmap::wrap(small, 10, 3, 16, PixelFormat::rgb555), std::invalid_argument);
    EXPECT_NO_THROW(Bitmap::wrap(small, 10, 2, 20, PixelFormat::rgb555));
}

}  // namespace
