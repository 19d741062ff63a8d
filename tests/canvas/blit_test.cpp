// Block transfers: copy and OR, conversions between formats, and cutting to both bitmaps.

#include <gtest/gtest.h>

#include "canvas_test_support.h"

using namespace plat;
using namespace canvas_test;

namespace {

using Rows = std::vector<std::string>;

Bitmap numbered(int w, int h) {
    Bitmap b = small_bitmap(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b.set_pixel(x, y, static_cast<std::uint32_t>((x + y) % 5 + 1));
    return b;
}

TEST(Blit, CopiesABlockAndCutsItToTheSource) {
    const Bitmap src = numbered(4, 3);
    Bitmap dst = small_bitmap(6, 4);
    Canvas c(dst);
    c.blit(1, 1, 4, 3, src, 1, 0);  // the block is only 3 wide inside the source
    EXPECT_EQ(rows(dst), (Rows{"......", ".234..", ".345..", ".451.."}));
    Bitmap dst2 = small_bitmap(4, 3);
    Canvas d(dst2);
    d.blit(0, 0, 4, 3, src, -2, -1);  // the part left of and above the source stays untouched
    EXPECT_EQ(rows(dst2), (Rows{"....", "..12", "..23"}));
}

// SRCPAINT ORs palette indices on indexed bitmaps, whatever colours they stand for, and pixel
// values on 1-5-5-5; ORing the display's mask surface of 0x8000 marks every pixel.
TEST(Blit, OrCombinesIndicesOrPixelValues) {
    Bitmap src = small_bitmap(3, 1), dst = small_bitmap(3, 1);
    const std::uint32_t s_values[] = {1, 2, 4}, d_values[] = {2, 2, 1};
    for (int x = 0; x < 3; ++x) {
        src.set_pixel(x, 0, s_values[x]);
        dst.set_pixel(x, 0, d_values[x]);
    }
    Canvas c(dst);
    c.blit(0, 0, 3, 1, src, 0, 0, Rop::src_paint);
    EXPECT_EQ(rows(dst), (Rows{"325"}));

    std::vector<std::uint8_t> memory(4 * 2 * 2, 0);
    Bitmap picture = Bitmap::wrap(memory, 4, 2, 8, PixelFormat::rgb555);
    picture.set_pixel(1, 1, 0x03E0);
    picture.set_pixel(2, 1, 0x1234);
    Bitmap mask(4, 2, PixelFormat::rgb555);
    mask.fill(mask.bounds(), 0x8000);
    mask.set_pixel(1, 1, 0x001F);
    Canvas p(picture);
    p.blit(0, 0, 4, 2, mask, 0, 0, Rop::src_paint);
    EXPECT_EQ(picture.pixel(0, 0), 0x8000u);
    EXPECT_EQ(picture.pixel(1, 1), 0x83FFu);
    EXPECT_EQ(picture.pixel(2, 1), 0x9234u);
}

TEST(Blit, ConvertsBetweenFormatsThroughColours) {
    Bitmap src = small_bitmap(3, 1);
    src.set_pixel(0, 0, 2);  // red
    src.set_pixel(1, 0, 4);  // blue
    src.set_pixel(2, 0, 1);  // white
    Bitmap wide(3, 1, PixelFormat::rgb555);
    Canvas c(wide);
    c.blit(0, 0, 3, 1, src, 0, 0);
    EXPECT_EQ(wide.pixel(0, 0), 0xFC00u);
    EXPECT_EQ(wide.pixel(1, 0), 0x801Fu);
    EXPECT_EQ(wide.pixel(2, 0), 0xFFFFu);
    Bitmap deep(3, 1, PixelFormat::xrgb32);
    Canvas d(deep);
    d.blit(0, 0, 3, 1, wide, 0, 0);
    EXPECT_EQ(deep.pixel(0, 0), 0xFF0000u);
    EXPECT_EQ(deep.pixel(1, 0), 0x0000FFu);
    // Back to indexed with a palette in another order: each colour finds its own index.
    Bitmap other = small_bitmap(3, 1);
    const ColorRef reordered[] = {black, blue, white, red};
    other.set_palette(reordered);
    Canvas e(other);
    e.blit(0, 0, 3, 1, deep, 0, 0);
    EXPECT_EQ(rows(other), (Rows{"312"}));
    e.blit(0, 0, 3, 1, src, 0, 0);  // indexed to indexed with different palettes
    EXPECT_EQ(rows(other), (Rows{"312"}));
}

TEST(Blit, OverlappingCopyWithinOneBitmapReadsTheOriginalPixels) {
    Bitmap b = numbered(6, 4);
    const Bitmap before = b.clone();
    Canvas c(b);
    c.blit(1, 1, 5, 3, b, 0, 0);
    for (int y = 1; y < 4; ++y)
        for (int x = 1; x < 6; ++x) EXPECT_EQ(b.pixel(x, y), before.pixel(x - 1, y - 1));
    c.blit(0, 0, 5, 3, b, 1, 1);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_EQ(b.pixel(x, y), before.pixel(x, y));
}

}  // namespace
