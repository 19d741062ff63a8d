#include "platform/canvas/font.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

namespace plat {
namespace {

std::shared_ptr<Font> open_font(const std::string& face, int height, int weight = 0) {
    std::string error;
    auto font = Font::open(FontSpec{face, height, weight}, &error);
    EXPECT_TRUE(font) << "face " << face << ": " << error;
    return font;
}

std::string file_name(const std::string& face, int weight = 0) {
    return std::filesystem::path(open_font(face, -20, weight)->file_path()).filename().string();
}

int ink(const Glyph& glyph) { return static_cast<int>(std::count(glyph.mask.begin(), glyph.mask.end(), 1)); }

int ink_in_row(const Glyph& glyph, int row) {
    const auto begin = glyph.mask.begin() + static_cast<std::ptrdiff_t>(row) * glyph.width;
    return static_cast<int>(std::count(begin, begin + glyph.width, 1));
}

// Height of the lowest inked row above the baseline: positive means the glyph floats above it.
int bottom(const Glyph& glyph) { return glyph.top - glyph.height; }

TEST(FontResolution, WindowsFacesMapToMetricCompatibleFonts) {
    EXPECT_EQ(file_name("Arial"), "LiberationSans-Regular.ttf");
    EXPECT_EQ(file_name("ARIAL"), "LiberationSans-Regular.ttf");
    EXPECT_EQ(file_name("Courier New"), "LiberationMono-Regular.ttf");
    EXPECT_EQ(file_name("Times New Roman"), "LiberationSerif-Regular.ttf");
    EXPECT_EQ(file_name("Quartz").rfind("DSEG7Classic", 0), 0u);
}

TEST(FontResolution, WeightFromSixHundredSelectsTheBoldFile) {
    EXPECT_EQ(file_name("Arial", 700), "LiberationSans-Bold.ttf");
    EXPECT_EQ(file_name("Arial", 600), "LiberationSans-Bold.ttf");
    EXPECT_EQ(file_name("Arial", 400), "LiberationSans-Regular.ttf");
}

TEST(FontResolution, UnknownFaceFallsBackToAnInstalledFont) {
    auto font = open_font("No Such Face Anywhere", -16);
    ASSERT_TRUE(font);
    EXPECT_TRUE(std::filesystem::exists(font->file_path()));
    EXPECT_GT(ink(font->glyph('A')), 0);
}

TEST(FontCache, SameRequestReturnsTheSameObject) {
    auto font = open_font("Arial", -18);
    EXPECT_EQ(font.get(), open_font("Arial", -18).get());
    EXPECT_EQ(font.get(), open_font("arial", -18).get());
    EXPECT_NE(font.get(), open_font("Arial", -19).get());
    EXPECT_NE(font.get(), open_font("Arial", 18).get());
    EXPECT_NE(font.get(), open_font("Arial", -18, 700).get());
    EXPECT_EQ(open_font("Arial", 0).get(), open_font("Arial", -12).get());
}

TEST(FontMetrics, NegativeHeightSetsTheEm) {
    // Liberation Sans: winAscent 1854, winDescent 434 per 2048 units; at a 20 pixel em, 18 + 4.
    auto font = open_font("Arial", -20);
    EXPECT_NEAR(font->ascent(), 18, 1);
    EXPECT_NEAR(font->descent(), 4, 1);
    EXPECT_NEAR(font->cell_height(), 22, 1);
    // A capital stands on the baseline and fits under the ascent.
    const Glyph& a = open_font("Arial", -40)->glyph('A');
    EXPECT_EQ(bottom(a), 0);
    EXPECT_LE(a.top, open_font("Arial", -40)->ascent());
    EXPECT_GE(a.top, 26);
}

TEST(FontMetrics, PositiveHeightSetsTheCell) {
    for (int height : {10, 16, 22, 31}) {
        auto font = open_font("Arial", height);
        EXPECT_EQ(font->cell_height(), height) << height;
        EXPECT_GT(font->ascent(), font->descent()) << height;
    }
    EXPECT_EQ(open_font("Courier New", 17)->cell_height(), 17);
}

TEST(Glyphs, LetterHasInkAndSpaceHasOnlyAdvance) {
    auto font = open_font("Arial", -20);
    const Glyph& a = font->glyph('A');
    EXPECT_GT(ink(a), 20);
    const Glyph& space = font->glyph(' ');
    EXPECT_EQ(ink(space), 0);
    EXPECT_GT(space.advance, 0);
    EXPECT_LT(space.advance, a.advance);
}

TEST(Glyphs, CapitalAIsNarrowAtTheApexAndWideAtTheFoot) {
    const Glyph& a = open_font("Arial", -40)->glyph('A');
    ASSERT_GT(a.height, 10);
    EXPECT_GT(ink_in_row(a, 0), 0);
    EXPECT_GT(ink_in_row(a, a.height - 1), 0);
    auto span = [&](int row) {
        const auto begin = a.mask.begin() + static_cast<std::ptrdiff_t>(row) * a.width, end = begin + a.width;
        return std::find(std::make_reverse_iterator(end), std::make_reverse_iterator(begin), 1).base() -
               std::find(begin, end, 1);
    };
    EXPECT_LT(span(0) * 3, span(a.height - 1));
}

TEST(Glyphs, MasksHoldOnlyZeroOrOne) {
    for (const char* face : {"Arial", "Courier New", "Quartz"}) {
        auto font = open_font(face, -15);
        for (int ch = 0; ch < 256; ++ch) {
            const Glyph& glyph = font->glyph(static_cast<unsigned char>(ch));
            ASSERT_EQ(glyph.mask.size(), static_cast<std::size_t>(glyph.width) * glyph.height);
            for (std::uint8_t value : glyph.mask) ASSERT_LE(value, 1) << face << " char " << ch;
        }
    }
}

TEST(Glyphs, CourierNewIsMonospacedAndArialIsNot) {
    auto mono = open_font("Courier New", -16);
    const int advance = mono->glyph('M').advance;
    EXPECT_GT(advance, 0);
    for (unsigned char ch = 0x20; ch < 0x7F; ++ch) EXPECT_EQ(mono->glyph(ch).advance, advance) << ch;
    EXPECT_LT(open_font("Arial", -16)->text_width("iiii"), open_font("Arial", -16)->text_width("WWWW"));
}

TEST(Glyphs, BoldIsWiderAndHeavier) {
    auto regular = open_font("Arial", -24);
    auto bold = open_font("Arial", -24, 700);
    EXPECT_GT(ink(bold->glyph('H')), ink(regular->glyph('H')));
    EXPECT_GT(bold->text_width("HEADING 270"), regular->text_width("HEADING 270"));
}

TEST(Glyphs, SevenSegmentEightLightsEverySegment) {
    auto font = open_font("Quartz", -30);
    const Glyph& eight = font->glyph('8');
    ASSERT_GT(eight.height, 10);
    // The top, middle and bottom bars are rows inked across most of the digit.
    int bars[3] = {0, 0, 0};
    for (int row = 0; row < eight.height; ++row) {
        if (ink_in_row(eight, row) * 2 >= eight.width) ++bars[row < eight.height / 4 ? 0 : row > eight.height * 3 / 4 ? 2 : 1];
    }
    EXPECT_GT(bars[0], 0);
    EXPECT_GT(bars[1], 0);
    EXPECT_GT(bars[2], 0);
    EXPECT_LT(ink(font->glyph('1')), ink(eight));
}

TEST(Glyphs, TextWidthSumsAdvances) {
    auto font = open_font("Arial", -20);
    EXPECT_EQ(font->text_width(""), 0);
    EXPECT_EQ(font->text_width("AB"), font->glyph('A').advance + font->glyph('B').advance);
    EXPECT_EQ(font->text_width("FL350"), font->text_width("FL") + font->text_width("350"));
}

TEST(Windows1252, DegreeSignRendersAboveTheBaseline) {
    auto font = open_font("Arial", -20);
    EXPECT_GT(ink(font->glyph(0xB0)), 0);
    EXPECT_GT(bottom(font->glyph(0xB0)), font->ascent() / 3);
}

TEST(Windows1252, HighBlockMapsToTypographicCharacters) {
    auto font = open_font("Arial", -20);
    // Read as C1 controls, the curly quotes would be missing-glyph boxes standing on the baseline.
    for (unsigned char quote : {0x91, 0x92, 0x93, 0x94}) {
        EXPECT_GT(ink(font->glyph(quote)), 0) << int{quote};
        EXPECT_GT(bottom(font->glyph(quote)), 0) << int{quote};
    }
    EXPECT_GT(font->glyph(0x97).advance, font->glyph(0x96).advance);  // em dash, en dash
    EXPECT_GT(ink(font->glyph(0x80)), 0);                             // euro
    EXPECT_NE(font->glyph(0x80).mask, font->glyph(0x81).mask);        // unassigned
    // Latin-1 passes through: e-acute is an e with an accent above it.
    EXPECT_GT(font->glyph(0xE9).top, font->glyph('e').top);
    EXPECT_EQ(font->glyph(0xE9).advance, font->glyph('e').advance);
}

}  // namespace
}  // namespace plat
