// Rectangles, ellipses, brushes and flood fills.

#include <gtest/gtest.h>

#include <random>

#include "canvas_test_support.h"

using namespace plat;
using namespace canvas_test;

namespace {

using Rows = std::vector<std::string>;

TEST(Rectangle, PenOutlinesInsideTheBoxBrushFillsWithinNullToolsLeaveTheirPart) {
    Bitmap bmp = small_bitmap(6, 5);
    Canvas c(bmp);
    c.select_pen(Pen::solid(white));
    c.select_brush(Brush::solid(red));
    c.rectangle({1, 0, 6, 4});
    EXPECT_EQ(rows(bmp), (Rows{".11111", ".12221", ".12221", ".11111", "......"}));
    c.select_pen(Pen::none());  // the brush then fills the whole box
    c.select_brush(Brush::solid(green));
    c.rectangle({3, 4, 0, 1});  // corners in either order
    c.select_pen(Pen::solid(blue));
    c.select_brush(Brush::none());
    c.rectangle({4, 1, 6, 5});  // two wide: outline only
    EXPECT_EQ(rows(bmp), (Rows{".11111", "333244", "333244", "333144", "....44"}));
}

// Any gap in the outline would let a 4-connected fill out. The outline lies within the ellipse's
// region, nothing outside it changes, and everything inside it is filled.
TEST(Ellipse, OutlineIsClosedForAFloodFillFromTheCentre) {
    const Rect boxes[] = {{2, 2, 62, 62}, {5, 20, 59, 44}, {20, 1, 44, 63},
                          {10, 10, 13, 40}, {3, 3, 60, 61}, {30, 30, 35, 34}};
    for (const Rect box : boxes) {
        SCOPED_TRACE(::testing::Message() << box.left << "," << box.top << "," << box.right);
        Bitmap outline = small_bitmap(64, 64);
        Canvas c(outline);
        c.select_pen(Pen::solid(white));
        c.select_brush(Brush::none());
        c.ellipse(box);
        Bitmap filled = outline.clone();
        Canvas f(filled);
        f.select_brush(Brush::solid(red));
        EXPECT_TRUE(f.flood_fill((box.left + box.right) / 2, (box.top + box.bottom) / 2, white));
        const Region inside = Region::ellipse(box);
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x) {
                const bool on_outline = outline.pixel(x, y) == 1;
                ASSERT_TRUE(!on_outline || inside.contains(x, y));
                ASSERT_EQ(filled.pixel(x, y), on_outline ? 1u : inside.contains(x, y) ? 2u : 0u)
                    << x << "," << y;
            }
    }
}

TEST(HatchBrush, DrawsBackwardDiagonalsTiedToTheDeviceOriginOverTheBackgroundMode) {
    Bitmap bmp = small_bitmap(10, 9);
    Canvas c(bmp);
    c.set_bk_mode(BkMode::transparent);
    c.fill_rect({1, 1, 10, 9}, Brush::hatch(white));
    // Lines from bottom-left to top-right where (x + y) % 8 == 7; the gaps are left alone.
    EXPECT_EQ(rows(bmp), (Rows{"..........", "......1...", ".....1....", "....1.....",
                               "...1......", "..1.......", ".1.......1", "........1.",
                               ".......1.."}));
    c.set_bk_mode(BkMode::opaque);
    c.set_bk_color(blue);
    c.fill_rect({0, 0, 10, 2}, Brush::hatch(white));
    EXPECT_EQ(rows(bmp, {0, 0, 10, 2}), (Rows{"4444444144", "4444441444"}));
}

TEST(FloodFill, StopsAtTheBorderColourOnlyAndPaintsWithTheBrush) {
    Bitmap bmp = small_bitmap(7, 5);
    Canvas c(bmp);
    c.select_pen(Pen::solid(white));
    c.select_brush(Brush::none());
    c.rectangle({0, 0, 5, 5});
    c.set_pixel(2, 2, green);  // not the border colour: filled over
    c.select_brush(Brush::solid(red));
    EXPECT_TRUE(c.flood_fill(1, 1, white));
    EXPECT_EQ(rows(bmp), (Rows{"11111..", "12221..", "12221..", "12221..", "11111.."}));
    EXPECT_FALSE(c.flood_fill(0, 0, white));  // starts on the border
    EXPECT_FALSE(c.flood_fill(9, 1, white));  // outside the bitmap
    // A brush that leaves the pixels as they are must still end.
    c.select_brush(Brush::hatch(black));
    c.set_bk_mode(BkMode::transparent);
    EXPECT_TRUE(c.flood_fill(6, 0, white));
}

// A serpentine corridor one pixel wide makes the deepest possible search; a recursive fill would
// overflow the stack here.
TEST(FloodFill, FillsALongSerpentineWithoutRecursion) {
    const int n = 1025;
    Bitmap bmp = small_bitmap(n, n);
    Canvas c(bmp);
    c.select_pen(Pen::solid(white));
    for (int y = 1; y < n; y += 2) {
        c.move_to(y % 4 == 1 ? 0 : 1, y);
        c.line_to(y % 4 == 1 ? n - 1 : n, y);
    }
    c.select_brush(Brush::solid(red));
    EXPECT_TRUE(c.flood_fill(0, 0, white));
    EXPECT_EQ(pixels_not(bmp, 2).size(), static_cast<std::size_t>(n / 2) * (n - 1));
}

TEST(FloodFill, ComparesInTheSurfaceFormatAfterMappingTheBorder) {
    // On 1-5-5-5 two colours that differ only in their low bits are the same pixel value.
    Bitmap bmp(6, 1, PixelFormat::rgb555);
    Canvas c(bmp);
    c.set_pixel(3, 0, rgb(250, 250, 250));
    c.select_brush(Brush::solid(red));
    EXPECT_TRUE(c.flood_fill(0, 0, rgb(255, 255, 255)));
    EXPECT_EQ(c.get_pixel(2, 0), red);
    EXPECT_EQ(c.get_pixel(4, 0), black);
}

// The search reads rows directly in each format's word size: the same walls and the same round
// clip fill the same pixels in every format, in wrapped memory whose rows start unaligned.
TEST(FloodFill, FillsTheSameAreaInEveryFormatInUnalignedRows) {
    constexpr int w = 61, h = 47;
    std::vector<std::vector<ColorRef>> results;
    for (const PixelFormat format : {PixelFormat::indexed8, PixelFormat::rgb555, PixelFormat::xrgb32}) {
        SCOPED_TRACE(static_cast<int>(format));
        const int pitch = w * bytes_per_pixel(format) + 3;
        std::vector<std::uint8_t> memory(static_cast<std::size_t>(pitch) * h + 1);
        Bitmap bmp = Bitmap::wrap(std::span(memory).subspan(1), w, h, pitch, format);
        Canvas c(bmp);
        c.select_pen(Pen::solid(white));
        c.select_brush(Brush::none());
        c.ellipse({5, 3, 50, 40});
        c.move_to(0, 20);
        c.line_to(60, 25);
        c.rectangle({20, 10, 30, 18});
        c.set_pixel(27, 30, green);
        c.select_clip(Region::round_rect({10, 2, 58, 44}, 30, 20));
        c.select_brush(Brush::solid(red));
        ASSERT_TRUE(c.flood_fill(25, 30, white));
        c.clear_clip();
        std::vector<ColorRef> colours;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) colours.push_back(c.get_pixel(x, y));
        EXPECT_EQ(c.get_pixel(27, 30), red) << "another colour inside is filled over";
        EXPECT_EQ(c.get_pixel(25, 15), black) << "inside the rectangle's walls stays";
        EXPECT_EQ(c.get_pixel(25, 21), black) << "beyond the line stays";
        EXPECT_EQ(c.get_pixel(7, 24), black) << "outside the clip stays";
        EXPECT_EQ(c.get_pixel(12, 24), red) << "inside the clip, the same area";
        EXPECT_EQ(memory[0], 0) << "nothing before the first row";
        results.push_back(std::move(colours));
    }
    EXPECT_EQ(results[0], results[1]);
    EXPECT_EQ(results[0], results[2]);
}

// The 8-bit search takes eight pixels at a time; the 32-bit one goes pixel by pixel. Random walls
// of every length, clips and seeds, in widths that leave a few pixels over a whole word, fill the
// same pixels in both.
TEST(FloodFill, EightPixelsAtATimeFillExactlyWhatPixelByPixelFills) {
    std::mt19937 random(11);
    int filled = 0;
    const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    for (int round = 0; round < 150; ++round) {
        const int w = 9 + pick(80), h = 3 + pick(40);
        SCOPED_TRACE(::testing::Message() << "round " << round << ", " << w << " x " << h);
        Bitmap narrow = small_bitmap(w, h);
        Bitmap wide(w, h, PixelFormat::xrgb32);
        const int walls = pick(12), seeds = 1 + pick(4);
        std::vector<Point> ends;
        for (int i = 0; i < 2 * walls + seeds; ++i) ends.push_back({pick(w + 4) - 2, pick(h + 4) - 2});
        const Rect clip{pick(w / 2), pick(h / 2), w / 2 + pick(w / 2 + 1), h / 2 + pick(h / 2 + 1)};
        const bool round_clip = pick(2) == 0;
        const Point other{pick(w), pick(h)};  // another colour: filled over
        for (Bitmap* bmp : {&narrow, &wide}) {
            Canvas c(*bmp);
            c.select_pen(Pen::solid(white));
            for (int i = 0; i < walls; ++i) {
                c.move_to(ends[2 * i].x, ends[2 * i].y);
                c.line_to(ends[2 * i + 1].x, ends[2 * i + 1].y);
            }
            c.set_pixel(other.x, other.y, green);
            c.select_clip(round_clip ? Region::round_rect(clip, 9, 7) : Region(clip));
            c.select_brush(Brush::solid(red));
            for (int i = 0; i < seeds; ++i) c.flood_fill(ends[2 * walls + i].x, ends[2 * walls + i].y, white);
        }
        Canvas a(narrow), b(wide);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                ASSERT_EQ(a.get_pixel(x, y), b.get_pixel(x, y)) << x << "," << y;
                filled += a.get_pixel(x, y) == red;
            }
    }
    EXPECT_GT(filled, 5000) << "the fills reach large areas, not only the seeds";
}

}  // namespace
