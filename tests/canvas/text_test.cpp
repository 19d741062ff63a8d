// Text placement by alignment flags, opaque cells, and the same rules with a real font.

#include <gtest/gtest.h>

#include <algorithm>

#include "canvas_test_support.h"

using namespace plat;
using namespace canvas_test;

namespace {

struct Placement {
    unsigned align;
    Rect ink;  // where "ab" drawn at (20, 20) inks, from BoxFont's metrics
};

// BoxFont: cell 10 (ascent 8), advance 6, ink 4 x 6 one pixel right of the pen, on the baseline.
// "ab" is 12 wide; its ink spans the pen + 1 to the pen + 11.
TEST(Text, EveryAlignmentCodeTheModulesUsePlacesTheTextLikeGdi) {
    const Placement cases[] = {
        {0, {21, 22, 31, 28}},   // left, top: cell top at y
        {2, {9, 22, 19, 28}},    // right: text ends at x
        {6, {15, 22, 25, 28}},   // centre: starts at x - width / 2
        {8, {21, 12, 31, 18}},   // bottom: cell bottom at y
        {10, {9, 12, 19, 18}},   // right, bottom
        {24, {21, 14, 31, 20}},  // baseline at y
        {26, {9, 14, 19, 20}},   // right, baseline
        {30, {15, 14, 25, 20}},  // centre, baseline
    };
    for (const Placement& p : cases) {
        SCOPED_TRACE(::testing::Message() << "align " << p.align);
        Bitmap bmp = small_bitmap(40, 40);
        Canvas c(bmp);
        c.select_font(std::make_shared<BoxFont>());
        c.set_text_color(white);
        c.set_bk_mode(BkMode::transparent);
        c.set_text_align(p.align);
        c.text_out(20, 20, "ab");
        EXPECT_EQ(ink_box(bmp), p.ink);
        EXPECT_EQ(pixels_not(bmp, 0).size(), 48u);
        // A descender reaches below the baseline, into the cell's descent.
        c.text_out(20, 20, "g");
        EXPECT_EQ(ink_box(bmp).bottom, p.ink.bottom + 2);
    }
}

TEST(Text, OpaqueModeFillsTheCellBoxFirst) {
    Bitmap bmp = small_bitmap(16, 14);
    Canvas c(bmp);
    c.select_font(std::make_shared<BoxFont>());
    c.set_text_color(white);
    c.set_bk_color(blue);
    c.set_bk_mode(BkMode::opaque);
    c.set_text_align(text_align::right | text_align::bottom);
    c.text_out(14, 12, "a");
    const std::vector<std::string> expected = {
        "................", "................", "........444444..", "........444444..",
        "........411114..", "........411114..", "........411114..", "........411114..",
        "........411114..", "........411114..", "........444444..", "........444444..",
        "................", "................"};
    EXPECT_EQ(rows(bmp), expected);
    EXPECT_EQ(c.text_extent("abc"), (Size{18, 10}));
    c.select_font(nullptr);  // no font: nothing drawn or measured
    c.text_out(0, 0, "abc");
    EXPECT_EQ(rows(bmp), expected);
    EXPECT_EQ(c.text_extent("abc"), (Size{0, 0}));
}

std::shared_ptr<Font> arial(int height) {
    std::string error;
    auto font = Font::open({"Arial", height, 0}, &error);
    EXPECT_TRUE(font) << error;
    return font;
}

// With the real Arial the same rules hold: right-baseline text inks up to x and rests on the row
// above y; centre-top text is centred on x and starts at or below y.
TEST(Text, RealFontRightBaselineAndCentreTop) {
    const auto font = arial(-14);
    ASSERT_TRUE(font);
    Bitmap bmp(120, 60, PixelFormat::xrgb32);
    Canvas c(bmp);
    c.select_font(font);
    c.set_text_color(white);
    c.set_bk_mode(BkMode::transparent);
    c.set_text_align(text_align::right | text_align::baseline);
    c.text_out(100, 30, "HEH");
    const Rect right = ink_box(bmp);
    EXPECT_LE(right.right, 100);
    EXPECT_GE(right.right, 100 - 3);
    EXPECT_EQ(right.bottom, 30);
    EXPECT_GT(right.height(), 7);

    Bitmap centred(120, 60, PixelFormat::xrgb32);
    Canvas d(centred);
    d.select_font(font);
    d.set_text_color(white);
    d.set_bk_mode(BkMode::transparent);
    d.set_text_align(text_align::center | text_align::top);
    d.text_out(60, 10, "HEH");
    const Rect top = ink_box(centred);
    const int width = c.text_extent("HEH").width;
    EXPECT_GE(top.top, 10);
    EXPECT_EQ(top.bottom, 10 + font->ascent());
    EXPECT_NEAR((top.left + top.right) / 2.0, 60.0, 2.0);
    EXPECT_GE(top.left, 60 - width / 2);
    EXPECT_LE(top.right, 60 - width / 2 + width);
}

// Glyphs wholly inside a rectangular clip are written straight into the rows, the rest through the
// span painter: text cut by the clip's edges and text under a clip of another shape show the same
// pixels as the unclipped text where the clip allows, in every format and in unaligned rows.
TEST(Text, GlyphsShowTheSamePixelsStraightInAndThroughTheClip) {
    const auto font = arial(-14);
    ASSERT_TRUE(font);
    constexpr int w = 90, h = 30;
    const Region clips[] = {Region(Rect{0, 0, w, h}), Region(Rect{13, 9, 71, 24}),
                            Region::round_rect({0, 0, w, h}, 30, 30)};
    for (const PixelFormat format : {PixelFormat::indexed8, PixelFormat::rgb555, PixelFormat::xrgb32}) {
        std::vector<ColorRef> whole;
        for (const Region& clip : clips) {
            SCOPED_TRACE(::testing::Message() << "format " << static_cast<int>(format) << ", clip " << clip.bounds().left);
            const int pitch = w * bytes_per_pixel(format) + 3;
            std::vector<std::uint8_t> memory(static_cast<std::size_t>(pitch) * h + 1);
            Bitmap bmp = Bitmap::wrap(std::span(memory).subspan(1), w, h, pitch, format);
            Canvas c(bmp);
            c.select_clip(clip);
            c.select_font(font);
            c.set_text_color(green);
            c.set_bk_mode(BkMode::transparent);
            c.set_text_align(text_align::left | text_align::baseline);
            c.text_out(2, 20, "W@g8 jQ#%");
            c.clear_clip();
            std::vector<ColorRef> shown;
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) shown.push_back(c.get_pixel(x, y));
            if (whole.empty()) {
                whole = shown;
                EXPECT_GT(std::count(whole.begin(), whole.end(), green), 100);
                continue;
            }
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    const std::size_t i = static_cast<std::size_t>(y) * w + x;
                    ASSERT_EQ(shown[i], clip.contains(x, y) ? whole[i] : black) << x << "," << y;
                }
            EXPECT_EQ(memory[0], 0);
        }
    }
}

}  // namespace
