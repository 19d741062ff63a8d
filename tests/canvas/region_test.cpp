// Regions: set operations checked pixel by pixel and by their areas, rounded corners, and the
// canonical form that makes equal sets compare equal.

#include <gtest/gtest.h>

#include "platform/canvas/region.h"

using namespace plat;

namespace {

// Every pixel of a 40 x 40 window, as a membership grid.
std::vector<bool> grid(const Region& r) {
    std::vector<bool> g;
    for (int y = -5; y < 35; ++y)
        for (int x = -5; x < 35; ++x) g.push_back(r.contains(x, y));
    return g;
}

TEST(Region, DifferencePunchesAHole) {
    const Region frame = subtract(Region(Rect{0, 0, 10, 10}), Region(Rect{3, 4, 6, 8}));
    EXPECT_TRUE(Region().empty());
    EXPECT_TRUE(Region(Rect{3, 3, 3, 9}).empty());
    EXPECT_EQ(frame.area(), 100 - 12);
    EXPECT_EQ(frame.bounds(), (Rect{0, 0, 10, 10}));
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            EXPECT_EQ(frame.contains(x, y), !(x >= 3 && x < 6 && y >= 4 && y < 8)) << x << "," << y;
}

TEST(Region, OperationsAgreeWithPixelLogicAndTheirAreasAddUp) {
    const Region a = unite(Region(Rect{0, 0, 20, 12}), Region::round_rect({5, 8, 30, 30}, 12, 9));
    const Region b = unite(Region::ellipse({10, -3, 28, 20}), Region(Rect{-4, 25, 8, 28}));
    const Region u = unite(a, b), i = intersect(a, b), d = subtract(a, b);
    const auto ga = grid(a), gb = grid(b), gu = grid(u), gi = grid(i), gd = grid(d);
    for (std::size_t k = 0; k < ga.size(); ++k) {
        EXPECT_EQ(gu[k], ga[k] || gb[k]);
        EXPECT_EQ(gi[k], ga[k] && gb[k]);
        EXPECT_EQ(gd[k], ga[k] && !gb[k]);
    }
    EXPECT_EQ(a.area(), d.area() + i.area());
    EXPECT_EQ(u.area(), a.area() + b.area() - i.area());
    EXPECT_TRUE(intersect(d, b).empty());
}

TEST(Region, EqualSetsBuiltDifferentlyCompareEqual) {
    const Region halves = unite(Region(Rect{0, 0, 5, 8}), Region(Rect{5, 0, 10, 8}));
    const Region stacked = unite(Region(Rect{0, 0, 10, 3}), Region(Rect{0, 3, 10, 8}));
    EXPECT_EQ(halves, Region(Rect{0, 0, 10, 8}));
    EXPECT_EQ(stacked, Region(Rect{0, 0, 10, 8}));
    EXPECT_EQ(halves.bands().size(), 1u);
    EXPECT_EQ(subtract(halves, halves), Region());
    Region moved = halves;
    moved.offset(10, -3);
    EXPECT_EQ(moved, Region(Rect{10, -3, 20, 5}));
}

// Rounded corners follow quarter ellipses of the given size: each corner of the region is the
// matching quarter of a 12 x 8 ellipse.
TEST(Region, RoundRectCornersAreQuarterEllipses) {
    const Region r = Region::round_rect({0, 0, 20, 10}, 12, 8);
    const Region e = Region::ellipse({0, 0, 12, 8});
    EXPECT_EQ(r.bounds(), (Rect{0, 0, 20, 10}));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x) {
            // Top-left corner as the ellipse's, and the other three mirrored.
            EXPECT_EQ(r.contains(x, y), e.contains(x, y)) << x << "," << y;
            EXPECT_EQ(r.contains(19 - x, y), e.contains(x, y));
            EXPECT_EQ(r.contains(x, 9 - y), e.contains(x, y));
            EXPECT_EQ(r.contains(19 - x, 9 - y), e.contains(x, y));
        }
    // The cut is 3 pixels in the outermost row, 1 in the next, none from the third row on.
    EXPECT_FALSE(r.contains(2, 0));
    EXPECT_TRUE(r.contains(3, 0));
    EXPECT_FALSE(r.contains(0, 1));
    EXPECT_TRUE(r.contains(1, 1));
    EXPECT_TRUE(r.contains(0, 2));
    EXPECT_FALSE(r.contains(17, 9));
    EXPECT_TRUE(r.contains(16, 9));
    // Straight edges between the corners are whole.
    for (int x = 6; x < 14; ++x) EXPECT_TRUE(r.contains(x, 0) && r.contains(x, 9));
}

TEST(Region, RoundRectWithEllipseAsLargeAsTheBoxIsTheEllipse) {
    EXPECT_EQ(Region::round_rect({3, 4, 23, 16}, 20, 12), Region::ellipse({3, 4, 23, 16}));
    EXPECT_EQ(Region::round_rect({3, 4, 23, 16}, 500, 500), Region::ellipse({3, 4, 23, 16}));
    EXPECT_EQ(Region::round_rect({3, 4, 23, 16}, 0, 0), Region(Rect{3, 4, 23, 16}));
}

}  // namespace
