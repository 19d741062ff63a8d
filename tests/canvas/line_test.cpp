// Lines: GDI's end-exclusive Bresenham lines, dotted pens, and clipping that keeps the pixels of
// the unclipped line.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "canvas_test_support.h"

using namespace plat;
using namespace canvas_test;

namespace {

using Rows = std::vector<std::string>;

Bitmap draw_line(int w, int h, Point a, Point b, Pen pen = Pen::solid(white)) {
    Bitmap bmp = small_bitmap(w, h);
    Canvas c(bmp);
    c.select_pen(pen);
    c.set_bk_mode(BkMode::transparent);
    c.move_to(a.x, a.y);
    c.line_to(b.x, b.y);
    return bmp;
}

// Whether the ideal line from a to b passes nearest p at p's major step; exactly between two
// pixels, the one with the smaller coordinate wins.
bool on_ideal_line(Point a, Point b, Point p) {
    const std::int64_t dx = std::int64_t{b.x} - a.x, dy = std::int64_t{b.y} - a.y;
    const std::int64_t px = std::int64_t{p.x} - a.x, py = std::int64_t{p.y} - a.y;
    const bool x_major = std::abs(dx) >= std::abs(dy);
    const std::int64_t M = std::abs(x_major ? dx : dy), minor = x_major ? dy : dx;
    const std::int64_t i = x_major ? (dx < 0 ? -px : px) : (dy < 0 ? -py : py);
    if (i < 0 || i >= M) return false;
    // ceil(i * minor / M - 1/2) = -floor((M - 2 i minor) / 2M)
    const std::int64_t n = M - 2 * i * minor, d = 2 * M;
    const std::int64_t offset = -(n / d - (n % d != 0 && n < 0));
    return (x_major ? py : px) == offset;
}

TEST(Line, AxisAndDiagonalLinesLeaveOutTheirEnd) {
    EXPECT_EQ(rows(draw_line(6, 3, {1, 1}, {5, 1})), (Rows{"......", ".1111.", "......"}));
    EXPECT_EQ(rows(draw_line(3, 4, {1, 3}, {1, 0})), (Rows{"...", ".1.", ".1.", ".1."}));
    EXPECT_EQ(rows(draw_line(4, 4, {0, 0}, {4, 4})), (Rows{"1...", ".1..", "..1.", "...1"}));
    EXPECT_EQ(rows(draw_line(5, 3, {0, 0}, {5, 2})), (Rows{"11...", "..11.", "....1"}));
    EXPECT_TRUE(pixels_not(draw_line(4, 4, {2, 2}, {2, 2}), 0).empty());
    EXPECT_TRUE(pixels_not(draw_line(5, 5, {0, 0}, {4, 3}, Pen::none()), 0).empty());
}

// One line into each octant and onto each axis: max(|dx|, |dy|) pixels, and the reverse line
// covers the same pixels except that it swaps which end is left out.
TEST(Line, EveryOctantMatchesItsReverse) {
    const Point from{10, 10};
    // Even extents give lines that pass exactly between two pixels somewhere.
    const Point ends[] = {{19, 3}, {18, 5}, {17, 1}, {3, 1},   {2, 16},  {1, 4},  {4, 2},
                          {1, 16}, {4, 19}, {16, 18}, {16, 19}, {19, 14}, {19, 10}, {10, 1},
                          {1, 10}, {10, 19}, {17, 17}, {3, 3}};
    for (const Point to : ends) {
        SCOPED_TRACE(::testing::Message() << "to " << to.x << "," << to.y);
        const Bitmap forward = draw_line(21, 21, from, to);
        Bitmap backward = draw_line(21, 21, to, from);
        EXPECT_EQ(
            pixels_not(forward, 0).size(),
            static_cast<std::size_t>(std::max(std::abs(to.x - from.x), std::abs(to.y - from.y))));
        EXPECT_EQ(forward.pixel(to.x, to.y), 0u);
        EXPECT_EQ(backward.pixel(from.x, from.y), 0u);
        backward.set_pixel(from.x, from.y, 1);
        backward.set_pixel(to.x, to.y, 0);
        EXPECT_TRUE(differences(forward, backward).empty());
    }
}

TEST(Line, PolylineJoinsSegmentsAndLeavesOutOnlyTheLastPoint) {
    Bitmap bmp = small_bitmap(5, 5);
    Canvas c(bmp);
    c.select_pen(Pen::solid(red));
    c.move_to(4, 4);
    const Point square[] = {{0, 0}, {3, 0}, {3, 3}, {0, 3}, {0, 1}};
    c.polyline(square);
    EXPECT_EQ(rows(bmp), (Rows{"2222.", "...2.", "2..2.", "2222.", "....."}));
    EXPECT_EQ(c.position(), (Point{4, 4}));  // polyline neither uses nor moves the position
}

TEST(Line, DottedPenAlternatesAcrossJoinsAndFillsGapsWhenOpaque) {
    Bitmap bmp = small_bitmap(7, 3);
    Canvas c(bmp);
    c.select_pen(Pen::dotted(white));
    c.set_bk_mode(BkMode::transparent);
    c.move_to(0, 0);
    c.line_to(3, 0);  // on, off, on
    c.line_to(3, 3);  // continues off, on, off
    EXPECT_EQ(rows(bmp), (Rows{"1.1....", "...1...", "......."}));
    c.set_bk_color(red);
    c.set_bk_mode(BkMode::opaque);
    c.move_to(0, 2);
    c.line_to(7, 2);
    EXPECT_EQ(rows(bmp, {0, 2, 7, 3}), (Rows{"1212121"}));
}

// A clipped line draws exactly the ideal line's pixels inside the clip, however far outside the
// bitmap it starts or ends within GDI's 27-bit coordinate range.
TEST(Line, ClippedLineIsAPieceOfTheUnclippedOne) {
    const Point lines[][2] = {{{-7, 2}, {30, 17}},         {{25, -3}, {2, 19}},
                              {{-100000, 5}, {100000, 9}}, {{3, 40}, {11, -40}},
                              {{11, -40}, {3, 40}},        {{0, 0}, {19, 19}},
                              {{-134217728, 3}, {134217728, 12}}};
    const Rect window{4, 5, 13, 14};
    for (const auto& l : lines) {
        SCOPED_TRACE(::testing::Message() << l[0].x << "," << l[0].y << " to " << l[1].x);
        Bitmap clipped = small_bitmap(20, 20);
        Canvas c(clipped);
        c.select_pen(Pen::solid(white));
        c.select_clip(Region(window));
        c.move_to(l[0].x, l[0].y);
        c.line_to(l[1].x, l[1].y);
        int drawn = 0;
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 20; ++x) {
                const bool expected = window.contains(x, y) && on_ideal_line(l[0], l[1], {x, y});
                EXPECT_EQ(clipped.pixel(x, y), expected ? 1u : 0u) << x << "," << y;
                drawn += expected;
            }
        EXPECT_GT(drawn, 0);
    }
    EXPECT_TRUE(pixels_not(draw_line(20, 20, {-2000000000, 3}, {2000000000, 12}), 0).empty());
}

// A solid line in a rectangular clip is written straight into the rows in each format's word size;
// under any other clip it goes through the span painter. Both give the ideal line's pixels, with
// 1-5-5-5's fixed bit set, in every format and in rows that start unaligned.
TEST(Line, SolidLinesWriteTheSamePixelsInEveryFormatAndClip) {
    constexpr int w = 23, h = 19;
    const Point lines[][2] = {{{-3, 2}, {30, 9}}, {{20, -4}, {1, 25}}, {{0, 0}, {22, 18}},
                              {{22, 3}, {0, 5}},  {{5, 18}, {6, 0}},   {{11, 9}, {11, 9}}};
    const Region round = Region::round_rect({0, 0, w, h}, 8, 8);
    for (const PixelFormat format : {PixelFormat::indexed8, PixelFormat::rgb555, PixelFormat::xrgb32})
        for (const bool rect_clip : {true, false}) {
            SCOPED_TRACE(::testing::Message() << "format " << static_cast<int>(format) << (rect_clip ? " rect" : " round"));
            const int pitch = w * bytes_per_pixel(format) + 1;
            std::vector<std::uint8_t> memory(static_cast<std::size_t>(pitch) * h + 1);
            Bitmap bmp = Bitmap::wrap(std::span(memory).subspan(1), w, h, pitch, format);
            Canvas c(bmp);
            if (!rect_clip) c.select_clip(round);
            c.select_pen(Pen::solid(red));
            for (const auto& l : lines) {
                c.move_to(l[0].x, l[0].y);
                c.line_to(l[1].x, l[1].y);
            }
            c.clear_clip();
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    const bool on = std::any_of(std::begin(lines), std::end(lines),
                                                [&](const auto& l) { return on_ideal_line(l[0], l[1], {x, y}); });
                    const bool visible = rect_clip || round.contains(x, y);
                    ASSERT_EQ(c.get_pixel(x, y), on && visible ? red : black) << x << "," << y;
                    if (format == PixelFormat::rgb555 && on && visible) {
                        ASSERT_TRUE(bmp.pixel(x, y) & 0x8000u);
                    }
                }
            EXPECT_EQ(memory[0], 0);
        }
}

}  // namespace
