#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "panel_fixture.h"
#include "panelhost/image.h"

namespace {

namespace fs = std::filesystem;

const char* kPanel = "[Window00]\nsize=200,200\ngauge00=airspeed!airspeed, 0, 0\n";

// Elements in the gauge's list order.
enum Element {
    mach_hundredths = 1, mach_tenths, units, tens, hundreds, mach_cover,
    max_speed_needle, airspeed_needle, autopilot_marker, bug1,
};

double value_of(PanelRun& run, int element) {
    return run.panel().find_gauge("airspeed")->elements.at(static_cast<std::size_t>(element))->value;
}

std::vector<double> bugs(PanelRun& run) {
    std::vector<double> v;
    for (int i = 0; i < 5; ++i) v.push_back(value_of(run, bug1 + i));
    return v;
}

panelhost::Image bitmap(PanelRun& run, int id) {
    auto b = panelhost::load_bitmap_resource(run.panel().find_gauge("airspeed")->module->handle(), id);
    if (!b) throw std::runtime_error(b.error());
    return std::move(b).value();
}

// Whether the window shows bitmap rows [offset, offset + h) of `id` at (x, y), every column.
bool shows_rows(PanelRun& run, int id, int x, int y, int offset, int h) {
    const panelhost::Image strip = bitmap(run, id);
    for (int by = 0; by < h; ++by)
        for (int bx = 0; bx < strip.width; ++bx) {
            const std::uint32_t p = strip.row(offset + by)[bx] & 0x00FFFFFFu;
            if (run.pixel(0, x + bx, y + by) != p) return false;
        }
    return true;
}

bool shows_cover(PanelRun& run) { return shows_rows(run, 1010, 73, 50, 0, 29); }

// Needles turned down and away from the Mach window, so nothing lies over it.
const std::string kNeedlesDown = "at 0 set 61 200\nat 0 set 63 32000\n";

// A simulator root holding a bugs file, for a run that starts from it.
panelhost::SessionOptions root_with(const std::string& bugs_line) {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const fs::path root = fs::temp_directory_path() / "airspeed_roots" / info->name();
    fs::remove_all(root);
    fs::create_directories(root);
    if (!bugs_line.empty()) std::ofstream(root / "737aspdbugs.txt") << bugs_line;
    panelhost::SessionOptions o;
    o.root = root.string();
    return o;
}

std::string bugs_file(const panelhost::SessionOptions& o) {
    std::ifstream f(fs::path(o.root) / "737aspdbugs.txt", std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

TEST(AirspeedDrums, SteadySpeedRollsTheTensDrumInItsLastTenth) {
    PanelRun run(kPanel, "at 0 set 61 249.5\n");
    run.cycles(5);
    EXPECT_NEAR(value_of(run, hundreds), 8.0, 1e-9);
    EXPECT_NEAR(value_of(run, tens), 5.5, 1e-9);
    EXPECT_NEAR(value_of(run, units), 0.5, 1e-9);
    // Position 8 of 10 moves the hundreds strip 112 of its 140 pixels: the cell of the digit 2.
    EXPECT_TRUE(shows_rows(run, 3000, 70, 111, 112, 14));
    // The tens strip stands half-way between 4 and 5.
    EXPECT_TRUE(shows_rows(run, 3000, 86, 111, 77, 14));
}

TEST(AirspeedDrums, HundredsDrumTurnsWithTheTensAt299_95) {
    PanelRun run(kPanel, "at 0 set 61 299.95\n");
    run.cycles(3);
    EXPECT_NEAR(value_of(run, hundreds), 10.0 - 2.95, 1e-6);
    EXPECT_NEAR(value_of(run, tens), 10.0 - 9.95, 1e-6);
    EXPECT_NEAR(value_of(run, units), 10.0 - 9.95, 1e-6);
}

TEST(AirspeedDrums, ReadoutLagsTowardANewSpeedAndStopsAt999) {
    PanelRun run(kPanel, "at 0 set 61 100\nat 0.2 set 61 200\nat 1 set 61 1500\n");
    run.cycles(4);
    EXPECT_NEAR(value_of(run, hundreds), 9.0, 1e-9);
    run.cycles(1);  // the first cycle at 200 kt closes a tenth of the gap: 110 kt
    EXPECT_NEAR(value_of(run, tens), 9.0, 1e-9);
    run.session().run_for(20);
    EXPECT_NEAR(value_of(run, hundreds), 1.0, 1e-6);
    EXPECT_NEAR(value_of(run, airspeed_needle), 600.0, 1e-9) << "needle held at the scale's end";
}

TEST(AirspeedNeedles, FollowTheirTokensOnTheNonLinearScale) {
    PanelRun run(kPanel, "at 0 set 61 160\nat 0 set 63 44800\n");
    run.cycles(2);
    EXPECT_EQ(value_of(run, airspeed_needle), 160.0);
    EXPECT_EQ(value_of(run, max_speed_needle), 350.0);
    // 160 kt points from the pivot (92, 88) toward the scale point (130, 156).
    const double d = std::hypot(38.0, 68.0);
    const int x = static_cast<int>(92 + 45 * 38 / d), y = static_cast<int>(88 + 45 * 68 / d);
    const std::uint32_t p = run.pixel(0, x, y);
    EXPECT_GT((p >> 16) & 0xFF, 200u) << std::hex << p;
    EXPECT_GT(p & 0xFF, 200u) << std::hex << p;
}

TEST(MachWindow, CoveredBelowMachPoint4AndOpenFromIt) {
    {
        PanelRun run(kPanel, kNeedlesDown + "at 0 set 64 7987.2\n");  // Mach 0.39
        run.cycles(5);
        EXPECT_TRUE(shows_cover(run));
    }
    {
        PanelRun run(kPanel, kNeedlesDown + "at 0 set 64 8192\n");  // Mach 0.40
        run.cycles(2);
        EXPECT_FALSE(shows_cover(run));
        EXPECT_NEAR(value_of(run, mach_tenths), 6.0, 1e-9);
        EXPECT_NEAR(value_of(run, mach_hundredths), 10.0, 1e-9);
        EXPECT_TRUE(shows_rows(run, 3000, 78, 58, 84, 14)) << "tenths drum shows 4";
        EXPECT_TRUE(shows_rows(run, 3010, 96, 51, 140, 28)) << "hundredths drum shows 0";
    }
}

TEST(MachWindow, ClosesAgainWhenTheAircraftSlows) {
    PanelRun run(kPanel, kNeedlesDown + "at 0 set 64 9216\nat 1 set 64 4096\n");  // Mach 0.45, then 0.20
    run.cycles(3);
    EXPECT_FALSE(shows_cover(run));
    const double tenths = value_of(run, mach_tenths);
    run.session().run_for(3);
    EXPECT_TRUE(shows_cover(run));
    EXPECT_EQ(value_of(run, mach_tenths), tenths) << "covered drums keep what they showed";
}

TEST(SpeedBugs, RaisingOnePushesTheHigherOnesCloserThanTwoKnots) {
    auto options = root_with("153 158 164 165 166\r\n");
    PanelRun run(kPanel, "", options);
    run.cycles(1);
    EXPECT_EQ(bugs(run), (std::vector<double>{153, 158, 164, 165, 166}));
    run.panel().click_gauge("airspeed", 180, 90);  // bug 3 up
    run.cycles(1);
    EXPECT_EQ(bugs(run), (std::vector<double>{153, 158, 165, 166, 167}));
    run.panel().click_gauge("airspeed", 165, 90);  // bug 3 down: nothing below is that close
    run.cycles(1);
    EXPECT_EQ(bugs(run), (std::vector<double>{153, 158, 164, 166, 167}));
}

TEST(SpeedBugs, StopAtTheirLimitsWhileHeld) {
    auto options = root_with("60 158 164 200 449\n");
    PanelRun run(kPanel, "", options);
    run.cycles(1);
    run.panel().click_gauge("airspeed", 165, 10);  // bug 1 down at 60
    run.cycles(1);
    EXPECT_EQ(bugs(run)[0], 60.0);
    ASSERT_TRUE(run.panel().press_gauge("airspeed", 180, 170));  // bug 5 up, held
    run.cycles(5);
    run.panel().release();
    run.cycles(1);
    EXPECT_EQ(bugs(run)[4], 450.0);
    // Bug 4 held down for 41 steps: it pushes bug 3 from 165 kt on, and bug 3 pushes bug 2.
    ASSERT_TRUE(run.panel().press_gauge("airspeed", 165, 130));
    run.cycles(40);
    run.panel().release();
    run.cycles(1);
    EXPECT_EQ(bugs(run), (std::vector<double>{60, 155, 157, 159, 450}));
}

TEST(BugsFile, KeepsDefaultsForValuesOutsideTheScale) {
    auto options = root_with("0 500 170 180 190\r\n");
    PanelRun run(kPanel, "", options);
    run.cycles(1);
    EXPECT_EQ(bugs(run), (std::vector<double>{153, 158, 170, 180, 190}));
}

TEST(BugsFile, ShortOrGarbledFilesKeepTheRestAtDefaults) {
    {
        auto options = root_with("170 99999999999999999999 x 1 2");
        PanelRun run(kPanel, "", options);
        run.cycles(1);
        EXPECT_EQ(bugs(run), (std::vector<double>{170, 158, 164, 200, 240}));
    }
    {
        PanelRun run(kPanel);
        run.cycles(1);
        EXPECT_EQ(bugs(run), (std::vector<double>{153, 158, 164, 200, 240})) << "no file";
    }
}

TEST(BugsFile, WrittenAtKillWithThePanelTimers) {
    auto options = root_with("");
    PanelRun run(kPanel,
                 "at 0 named 737_ET 12.5\nat 0 named 737_CT 3.25\nat 0 named 737_ER 7.9\n"
                 "at 0 named 737_CR 2\nat 0 named 737_DH 200\n",
                 options);
    run.cycles(2);
    run.panel().click_gauge("airspeed", 180, 10);  // bug 1 up
    run.session().finish();
    EXPECT_EQ(bugs_file(options), "154 158 164 200 240 12.500000 3.250000 7 2 200\r\n");
    EXPECT_FALSE(fs::exists(fs::path(options.root) / "737aspdbugs.txt.new"));
}

TEST(BugsFile, ComesBackAtTheNextStart) {
    PanelRun run(kPanel, "at 0.2 reload\n");
    run.cycles(2);
    run.panel().click_gauge("airspeed", 180, 130);  // bug 4 up
    run.panel().click_gauge("airspeed", 180, 130);
    run.cycles(5);  // reloaded: killed, written, installed, read
    EXPECT_EQ(bugs(run), (std::vector<double>{153, 158, 164, 202, 240}));
}

TEST(BugsFile, AFailedWriteLeavesThePreviousFileWhole) {
    auto options = root_with("150 160 170 180 190 0.000000 0.000000 0 0 0\r\n");
    fs::create_directory(fs::path(options.root) / "737aspdbugs.txt.new");  // the new file cannot be made
    {
        PanelRun run(kPanel, "", options);
        run.cycles(1);
        run.panel().click_gauge("airspeed", 180, 10);
        run.session().finish();
    }
    EXPECT_EQ(bugs_file(options), "150 160 170 180 190 0.000000 0.000000 0 0 0\r\n");
}

TEST(AutopilotSpeed, ArrowsStepFromTheMarkerAndSendTheEvent) {
    PanelRun run(kPanel, "at 0 set 116 250\n");
    run.cycles(2);
    EXPECT_EQ(value_of(run, autopilot_marker), 250.0);
    run.panel().click_gauge("airspeed", 20, 150);  // up
    run.panel().click_gauge("airspeed", 20, 150);
    run.panel().click_gauge("airspeed", 5, 150);   // down
    const auto& events = run.panel().key_events();
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].id, 66037u);
    EXPECT_EQ(events[0].value, 251u);
    EXPECT_EQ(events[1].value, 252u);
    EXPECT_EQ(events[2].value, 251u);
}

TEST(AutopilotSpeed, LimitsAre100And450) {
    PanelRun run(kPanel, "at 0 set 116 100\nat 0.5 set 116 450\n");
    run.cycles(2);
    run.panel().click_gauge("airspeed", 5, 150);
    run.session().run_for(1);
    run.panel().click_gauge("airspeed", 20, 150);
    const auto& events = run.panel().key_events();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].value, 100u);
    EXPECT_EQ(events[1].value, 450u);
}

}  // namespace
