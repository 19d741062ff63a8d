// The navaid search as the map shows it: thinning to 50 per kind, the tuned station, localizers
// at the long ranges, and the map as the aircraft crosses the date line.

#include <gtest/gtest.h>

#include <cmath>

#include "nd_test_support.h"

namespace fs = std::filesystem;
using namespace ndtest;

namespace {

// PLAN mode, centred (R 119 about 128, 136), everything shown but the route.
void plan_mode_file(const fs::path& root, int range) {
    write_file(root / "Gauges/NDmode.tmp", "0\n2\n30\n" + std::to_string(range) + "\n");
}

constexpr double kPixelsPerDegreeAt10 = 119.0 / 10.0 * 60.0;  // range 10, at the equator

struct Spot {
    int x, y;
};

Spot spot(double lat, double lon, double range = 10) {
    const double s = 119.0 / range;
    const double k = std::cos(0.0) * (3.141592653589793 / 180.0) * 3438.0;
    return {128 + static_cast<int>((lon - 0.0) * s * k), 136 - static_cast<int>(lat * s * 60.0)};
}

// 120 VORs on a 12 x 10 grid 0.025 degrees apart, in index order column by column.
void grid(NavData& d) {
    for (int i = 0; i < 120; ++i) {
        const int col = i / 10, row = i % 10;
        char ident[8];
        std::snprintf(ident, sizeof ident, "G%03d", i);
        d.vor(ident, 'V', (row - 4.5) * 0.025, (col - 5.5) * 0.025 + row * 1e-5);
    }
    // Far east, beyond the window: where the window's east end stops.
    for (int i = 0; i < 15; ++i) d.ndb("FAR", 0.0, 1.0 + i * 0.1);
}

Spot grid_spot(int i) { return spot((i % 10 - 4.5) * 0.025, (i / 10 - 5.5) * 0.025 + (i % 10) * 1e-5); }

// A VOR circle's left edge in cyan.
bool circle_at(PanelRun& run, Spot s) { return count_colour(run, kCyan, s.x - 3, s.y - 1, s.x - 2, s.y + 1) > 0; }

}  // namespace

TEST(NavaidSearch, HundredTwentyCandidatesKeepEveryThird) {
    const fs::path root = make_root();
    plan_mode_file(root, 10);
    NavData d;
    grid(d);
    d.write(root / "NavData");
    PanelRun run = open_run(root, position_at(0, 0, 0));
    run.cycles(100);
    int shown_count = 0;
    for (int i = 0; i < 120; ++i) {
        EXPECT_EQ(circle_at(run, grid_spot(i)), i % 3 == 0) << "VOR " << i;
        shown_count += circle_at(run, grid_spot(i));
    }
    EXPECT_EQ(shown_count, 40);
    EXPECT_EQ(count_colour(run, kOrange, 0, 0, 256, 256), 0) << "nothing beyond the window";
}

TEST(NavaidSearch, TunedStationIsOnlyTheTunedStation) {
    const fs::path root = make_root();
    plan_mode_file(root, 10);
    NavData d;
    d.vor("TUN", 'V', -0.13, -0.16);  // first in the index, left of the grid
    grid(d);
    d.write(root / "NavData");
    const Spot tuned = spot(-0.13, -0.16);
    {
        // 121 candidates: every third from the tuned one on.
        PanelRun run = open_run(root, position_at(0, 0, 0));
        run.cycles(100);
        EXPECT_TRUE(circle_at(run, tuned));
        EXPECT_TRUE(circle_at(run, grid_spot(2)));
        EXPECT_FALSE(circle_at(run, grid_spot(0)));
        EXPECT_LT(count_colour(run, kCyan, tuned.x, 20, tuned.x + 1, 200), 10) << "no course line";
    }
    // Tuned, it leaves the list: 120 candidates, and its dotted course line runs north-south.
    PanelRun run = open_run(root, position_at(0, 0, 0) + "at 0 set-text 47 TUN\nat 0 set 45 0\n");
    run.cycles(100);
    EXPECT_TRUE(circle_at(run, tuned));
    EXPECT_TRUE(circle_at(run, grid_spot(0)));
    EXPECT_FALSE(circle_at(run, grid_spot(2)));
    EXPECT_GT(count_colour(run, kCyan, tuned.x, 20, tuned.x + 1, 200), 50);
    // Hidden VORs leave the tuned station drawn.
    plat::set_key_state(plat::vk::shift, true);
    plat::set_key_state('V', true);
    run.cycles(1);
    plat::set_key_state('V', false);
    plat::set_key_state(plat::vk::shift, false);
    run.cycles(2);
    EXPECT_EQ(run.block_text("NDPassData", 20), "Item=0x1A");
    EXPECT_TRUE(circle_at(run, tuned));
    EXPECT_FALSE(circle_at(run, grid_spot(0)));
}

TEST(NavaidSearch, LocalizersOnlyBelowRangeThirty) {
    const fs::path root = make_root();
    NavData d;
    d.vor("IAAA", 'I', 0.05, 0.05, 90);
    d.vor("IBBB", 'I', -0.05, -0.05, 270);
    d.vor("VVV", 'V', 0.0, 0.08);
    d.write(root / "NavData");
    for (int range : {20, 40}) {
        plan_mode_file(root, range);
        PanelRun run = open_run(root, position_at(0, 0, 0));
        run.cycles(100);
        const int magenta = count_colour(run, kMagenta, 0, 20, 256, 256);
        if (range == 20)
            EXPECT_GT(magenta, 20) << "feathers at range 20";
        else
            EXPECT_EQ(magenta, 0) << "none at range 40";
        const Spot v = spot(0.0, 0.08, range);
        EXPECT_TRUE(circle_at(run, v)) << "the VOR at range " << range;
    }
}

TEST(NavaidSearch, MapFollowsTheAircraftAcrossTheDateLine) {
    const fs::path root = make_root();
    plan_mode_file(root, 10);
    NavData d;
    d.ndb("WEST", 0.0, -179.95);
    for (int i = 0; i < 20; ++i) d.fix("MID", 10.0, -20.0 + i * 2.0);
    d.ndb("EAST", 0.0, 179.95);
    d.write(root / "NavData");
    PanelRun run = open_run(root, position_at(0, 0, 179.9) + position_at(7, 0, -179.9));
    run.cycles(110);
    const int near = static_cast<int>(0.05 * kPixelsPerDegreeAt10), far = static_cast<int>(0.15 * kPixelsPerDegreeAt10);
    // East of the line only the end of the index is in the window.
    EXPECT_GT(count_colour(run, kOrange, 128 + near - 4, 130, 128 + near + 4, 142), 4);
    EXPECT_EQ(count_colour(run, kOrange, 128 + far - 5, 130, 128 + far + 5, 142), 0);
    run.cycles(60);
    // West of it, the start.
    EXPECT_GT(count_colour(run, kOrange, 128 - near - 4, 130, 128 - near + 4, 142), 4);
    EXPECT_EQ(count_colour(run, kOrange, 128 + near - 4, 130, 128 + near + 4, 142), 0);
}
