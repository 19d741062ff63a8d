// The speed tape, the altitude tape's vertical speed needle and the heading arc.

#include <gtest/gtest.h>

#include <cmath>

#include "pfd_fixture.h"

using namespace pfdtest;

namespace {

TEST(FlightDisplaySpeedTape, MaximumSpeedMarksAt250Knots) {
    PanelRun run(kPanelAlone, "", quiet());
    set(run, 61, 250);
    set(run, 63, 40960);  // 320 kt
    run.cycles(kPastStartup);
    // The first mark is at y = 9, above the tape's clip (which starts at 17); the next would be
    // at -8: no mark shows on the tape's upper half.
    EXPECT_EQ(count(run, 0, 0, 40, 120, kRed), 0);
}

// The maximum operating speed is not among the watched variables: it shows with the next redraw
// of the speed tape, here the first picture.
TEST(FlightDisplaySpeedTape, MaximumSpeedMarksStepTenKnotsUp) {
    PanelRun run(kPanelAlone, "", quiet());
    set(run, 61, 250);
    set(run, 63, 290 * 128);
    run.cycles(kPastStartup);
    // The marks stand 10 knots (17 pixels) apart from y = 60 upwards, within the clip.
    EXPECT_EQ(count(run, 36, 57, 39, 60, kRed), 9);
    EXPECT_EQ(count(run, 36, 40, 39, 43, kRed), 9);
    EXPECT_EQ(count(run, 36, 23, 39, 26, kRed), 9);
    EXPECT_EQ(count(run, 36, 0, 39, 23, kRed), 0) << "the mark at 9 is clipped";
    EXPECT_EQ(count(run, 36, 60, 39, 120, kRed), 0);
}

TEST(FlightDisplaySpeedTape, VSpeedsOnTheGroundAtFullFlap) {
    PanelRun run(kPanelAlone, "", quiet());
    set(run, 61, 135);
    set(run, 328, 16383);
    set(run, 60, 1);
    run.cycles(kPastStartup);
    // Minimum 135 at the pointer: "V1" 20 kt below (baseline 162), "VR" 10 below, "V2" 10 above.
    EXPECT_GT(count(run, 20, 153, 40, 163, kRed), 8) << "V1";
    EXPECT_GT(count(run, 20, 136, 40, 146, kRed), 8) << "VR";
    EXPECT_GT(count(run, 20, 102, 40, 112, kRed), 8) << "V2";
    EXPECT_EQ(count(run, 36, 125, 39, 128, kRed), 0) << "no minimum marks on the ground";
    // Maximum 160 at flap 40: a mark ending 42 pixels up (y = 86).
    EXPECT_EQ(count(run, 36, 83, 39, 86, kRed), 9);
}

// Rows of a column band of the speed readout, window 0.
std::vector<std::uint32_t> band(PanelRun& run, int x0, int x1, int y0, int y1) {
    std::vector<std::uint32_t> out;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) out.push_back(run.pixel(0, x, y));
    return out;
}

TEST(FlightDisplaySpeedTape, RollingDigitsAt249Point6) {
    PanelRun still(kPanelAlone, "", quiet());
    set(still, 61, 249.0);
    still.cycles(kPastStartup);
    PanelRun rolled(kPanelAlone, "", quiet());
    set(rolled, 61, 249.6);
    rolled.cycles(kPastStartup);
    // Units (x 25..31; the box edge is at 32) and tens (x 17..24) roll 12 pixels down; the hundreds do not.
    for (const auto& [x0, x1] : {std::pair{25, 32}, std::pair{17, 25}}) {
        // Rows 130..138 of the rolled readout (its clip ends at 139) are rows 118..126 unrolled.
        const auto moved = band(rolled, x0, x1, 130, 139);
        EXPECT_EQ(moved, band(still, x0, x1, 118, 127)) << "column " << x0;
        EXPECT_NE(moved, band(still, x0, x1, 130, 139)) << "column " << x0;
        int lit = 0;
        for (std::uint32_t p : moved) lit += p == kWhite;
        EXPECT_GT(lit, 0) << "column " << x0;
    }
    EXPECT_EQ(band(rolled, 9, 16, 118, 140), band(still, 9, 16, 118, 140)) << "hundreds";
}

// The needle's direction from its pivot (268, 128), off the right edge, read at x = 240.
double needle_degrees(PanelRun& run) {
    for (int y = 60; y < 200; ++y)
        if (run.pixel(0, 240, y) == kWhite) return std::atan2(128.0 - y, 268.0 - 240.0) * 180.0 / M_PI;
    return 999;
}

TEST(FlightDisplayVerticalSpeed, NeedleAt30DegreesFor2010AndStopsAt90) {
    PanelRun run(kPanelAlone, "", quiet());
    set(run, 65, 2010 / 0.780288);
    run.cycles(kPastStartup);
    EXPECT_NEAR(needle_degrees(run), 30.0, 2.5);
    set(run, 65, -2010 / 0.780288);
    run.cycles(3);
    EXPECT_NEAR(needle_degrees(run), -30.0, 2.5);
    // At 90 degrees and beyond the needle stands upright at the pivot, outside the picture.
    set(run, 65, 6030 / 0.780288);
    run.cycles(3);
    EXPECT_EQ(needle_degrees(run), 999);
}

TEST(FlightDisplayHeading, Labels33And0SurroundTheTopAt359Point5) {
    PanelRun run(kPanelAlone, "", quiet());
    set(run, 81, 359.5);
    run.cycles(kPastStartup);
    // "33" stands 30 degrees left of the top, "3" 30 degrees right, "0" at the top.
    const int left = count(run, 62, 238, 88, 254, kWhite);
    const int right = count(run, 132, 238, 156, 254, kWhite);
    const int top = count(run, 103, 232, 114, 242, kWhite);
    EXPECT_GT(left, right + 5) << "two digits on the left";
    EXPECT_GT(right, 5);
    EXPECT_GT(top, 5);
}

}  // namespace
