// What the drawing pass puts on the screen: the compass card, the heading box, the range label,
// the PLAN mode's north box and airports with several runways.

#include <gtest/gtest.h>

#include <cmath>

#include "nd_test_support.h"

namespace fs = std::filesystem;
using namespace ndtest;

namespace {

bool tick_at(PanelRun& run, int cy, int R, int off) {
    const double a = off * 3.141592653589793 / 180.0;
    const int x = 128 + static_cast<int>((R - 8) * std::cos(a)), y = cy - static_cast<int>((R - 8) * std::sin(a));
    if (x < 0 || x >= 256 || y < 0 || y >= 256) return false;
    return count_colour(run, kWhite, x - 1, y - 1, x + 2, y + 2) > 0;
}

int ticks(PanelRun& run, int cy, int R) {
    int n = 0;
    for (int off = 0; off < 360; off += 10) {
        n += tick_at(run, cy, R, off);
    }
    return n;
}

PanelRun run_with(const fs::path& root, const std::string& mode_file, const std::string& scenario) {
    write_file(root / "Gauges/NDmode.tmp", mode_file);
    return open_run(root, scenario);
}

constexpr unsigned kLeftTop = plat::text_align::left | plat::text_align::top;

}  // namespace

TEST(NdDrawing, ArcShowsTheUpperCardCentredTheWholeCard) {
    const fs::path root = make_root();
    NavData().write(root / "NavData");
    {
        // MAP mode, so that no course pointer covers the top of the card.
        PanelRun run = run_with(root, "1\n1\n30\n320\n", "");
        run.cycles(100);
        // Of the arc's 18 major ticks those within the screen's width: 60 to 120 degrees.
        EXPECT_EQ(ticks(run, 217, 200), 7);
        for (int off = 190; off < 360; off += 10) EXPECT_FALSE(tick_at(run, 217, 200, off)) << off;
        EXPECT_GT(count_colour(run, kWhite, 0, 56, 6, 70), 0) << "the arc's circle";
    }
    PanelRun run = run_with(root, "0\n1\n30\n320\n", "");
    run.cycles(100);
    EXPECT_EQ(ticks(run, 136, 119), 36);
}

TEST(NdDrawing, HeadingBoxRoundsHalfAwayFromZero) {
    const fs::path root = make_root();
    NavData().write(root / "NavData");
    {
        PanelRun run = run_with(root, "1\n0\n30\n320\n", "at 0 set 81 359.6\n");
        run.cycles(100);
        EXPECT_TRUE(text_shown(run, 128 - 8, 0, kLeftTop, 11, "360", kWhite));
    }
    PanelRun run = run_with(root, "1\n0\n30\n320\n", "at 0 set 81 0.4\n");
    run.cycles(100);
    EXPECT_TRUE(text_shown(run, 128 - 8, 0, kLeftTop, 11, "000", kWhite));
    EXPECT_FALSE(text_shown(run, 128 - 8, 0, kLeftTop, 11, "360", kWhite));
}

TEST(NdDrawing, RangeLabelIsHalfTheRange) {
    const fs::path root = make_root();
    NavData().write(root / "NavData");
    PanelRun run = run_with(root, "1\n1\n30\n320\n", "");
    run.cycles(100);
    const unsigned right_base = plat::text_align::right | plat::text_align::baseline;
    EXPECT_TRUE(text_shown(run, 128 - 5, 217 - 100 + 4, right_base, 9, "160", kGrey));
    EXPECT_GT(count_colour(run, kGrey, 125, 117, 132, 118), 5) << "half-range mark";
}

TEST(NdDrawing, NoRouteAvailable) {
    const fs::path root = make_root();
    NavData().write(root / "NavData");
    PanelRun run = run_with(root, "0\n1\n31\n320\n", "");
    run.cycles(100);
    const unsigned centre_top = plat::text_align::center | plat::text_align::top;
    EXPECT_TRUE(text_shown(run, 128, 128 - 10, centre_top, 11, "NO ROUTE", kRed));
    EXPECT_TRUE(text_shown(run, 128, 128, centre_top, 11, "AVAILABLE", kRed));
}

TEST(NdDrawing, NorthBoxOnlyInPlanMode) {
    const fs::path root = make_root();
    NavData().write(root / "NavData");
    const unsigned centre_bottom = plat::text_align::center | plat::text_align::bottom;
    {
        PanelRun run = run_with(root, "1\n2\n30\n320\n", "at 0 set 86 30\n");
        run.cycles(100);
        EXPECT_TRUE(text_shown(run, 256 - 5, 128 - 55, centre_bottom, 9, "N", kGreen));
        EXPECT_GT(count_colour(run, kGreen, 251, 74, 252, 88), 10) << "the arrow's shaft";
    }
    PanelRun run = run_with(root, "1\n1\n30\n320\n", "at 0 set 86 30\n");
    run.cycles(100);
    EXPECT_FALSE(text_shown(run, 256 - 5, 128 - 55, centre_bottom, 9, "N", kGreen));
}

TEST(NdDrawing, MapTurnsInMapModeOnly) {
    const fs::path root = make_root();
    NavData d;
    d.ndb("NNN", 0.0, 0.1);  // 6 miles east
    d.write(root / "NavData");
    // Range 10, centred: 71 pixels east; turned 90 degrees it stands 71 pixels above.
    {
        PanelRun run = run_with(root, "0\n2\n30\n10\n", position_at(0, 0, 0) + "at 0 set 86 90\n");
        run.cycles(100);
        EXPECT_GT(count_colour(run, kOrange, 195, 130, 205, 142), 4);
    }
    PanelRun run = run_with(root, "0\n1\n30\n10\n", position_at(0, 0, 0) + "at 0 set 86 90\n");
    run.cycles(100);
    EXPECT_EQ(count_colour(run, kOrange, 195, 130, 205, 142), 0);
    EXPECT_GT(count_colour(run, kOrange, 122, 60, 134, 70), 4);
}

TEST(NdDrawing, TwoRunwaysOneLabel) {
    const fs::path root = make_root();
    NavData d;
    d.runway("KAAA", "09", "27", 90, 8000, 0.02, -0.02);
    d.runway("KAAA", "18", "36", 180, 8000, -0.02, 0.02);
    d.write(root / "NavData");
    // Range 20, centred: 5.95 pixels per mile; the runways' middles 7 pixels either side.
    PanelRun run = run_with(root, "0\n2\n30\n20\n", position_at(0, 0, 0));
    run.cycles(100);
    const int ax = 128 - 7, ay = 136 - 7, bx = 128 + 7, by = 136 + 7;
    const unsigned left_base = plat::text_align::left | plat::text_align::baseline;
    EXPECT_TRUE(text_shown(run, ax + 3, ay - 2, left_base, 9, "KAAA", kWhite));
    EXPECT_EQ(count_colour(run, kWhite, bx + 3, by - 12, bx + 30, by - 2), 0) << "no second label";
    EXPECT_GT(count_colour(run, kWhite, bx, by - 6, bx + 1, by + 6), 8) << "the second runway";
    EXPECT_GT(count_colour(run, kWhite, ax - 6, ay, ax + 6, ay + 1), 8) << "the first runway";
}

// Columns of a damaged database that hold "inf" or "nan" where the runway's heading and length and
// the localizer's course stand: the symbols are still drawn, from whatever those read as.
TEST(NdDrawing, RunwayAndLocalizerColumnsThatAreNoNumbers) {
    const fs::path root = make_root();
    NavData d;
    d.runway("KAAA", "09", "27", 90, 8000, 0.02, -0.02);
    d.vor("IAAA", 'I', -0.02, 0.02, 90);
    d.write(root / "NavData");
    std::string apt = read_file(root / "NavData/apt.dat");
    const std::size_t runway = apt.find("KAAA ");
    ASSERT_NE(runway, std::string::npos);
    apt.replace(runway + 42, 3, "inf");
    apt.replace(runway + 87, 5, "  nan");
    write_file(root / "NavData/apt.dat", apt);
    std::string vor = read_file(root / "NavData/vor.dat");
    const std::size_t localizer = vor.find("IAAA ");
    ASSERT_NE(localizer, std::string::npos);
    ASSERT_EQ(vor.substr(localizer + 58, 3), "090");
    vor.replace(localizer + 58, 3, "nan");
    write_file(root / "NavData/vor.dat", vor);
    PanelRun run = run_with(root, "0\n2\n30\n20\n", position_at(0, 0, 0));
    run.cycles(100);
    const unsigned left_base = plat::text_align::left | plat::text_align::baseline;
    EXPECT_TRUE(text_shown(run, 128 - 7 + 3, 136 - 7 - 2, left_base, 9, "KAAA", kWhite)) << "the airport's label";
    EXPECT_GT(count_colour(run, kMagenta, 0, 20, 256, 256), 20) << "the localizer's feather";
}
