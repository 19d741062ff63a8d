// The flight display's core: its files, the FD shortcut and PassData, the start-up delay and the
// change detector's thresholds.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "pfd_fixture.h"
#include "platform/keyboard.h"

namespace fs = std::filesystem;
using namespace pfdtest;

namespace {

const char* kDefaultLimitFile =
    "// Config file for flightdisplay\n"
    "// WARNING : Modify only numbers !\n"
    "\n"
    "StallSpeedFlap40=135\nStallSpeedFlap30=140\nStallSpeedFlap25=145\nStallSpeedFlap15=150\n"
    "StallSpeedFlap10=160\nStallSpeedFlap05=165\nStallSpeedFlap02=175\nStallSpeedFlap01=190\n"
    "StallSpeedFlap00=200\n"
    "\n"
    "Maxi_SpeedFlap40=160\nMaxi_SpeedFlap30=180\nMaxi_SpeedFlap25=205\nMaxi_SpeedFlap15=220\n"
    "Maxi_SpeedFlap10=240\nMaxi_SpeedFlap05=260\nMaxi_SpeedFlap02=275\nMaxi_SpeedFlap01=280\n"
    "\n"
    "Decision_Height =480\n"
    "\n";

std::string read_file(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// A simulator root of the test's own, with the modules copied in and the given files.
panelhost::SessionOptions own_root(const std::string& host_config, const std::string& limit_file = "") {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const fs::path root = fs::temp_directory_path() / "pfd_roots" / info->name();
    fs::remove_all(root);
    fs::create_directories(root / "Gauges");
    for (const char* m : {"flightdisplay.gau", "fdswitch.gau"})
        fs::copy_file(fs::path(panelhost::default_module_dir()) / m, root / "Gauges" / m);
    if (!host_config.empty()) std::ofstream(root / "Fltsim98.cfg") << host_config;
    if (!limit_file.empty()) std::ofstream(root / "Gauges" / "flightdisplay.cfg") << limit_file;
    panelhost::SessionOptions o = quiet();
    o.root = root.string();
    return o;
}

void press(PanelRun& run, int key, bool shift, bool ctrl) {
    plat::set_key_state(plat::vk::shift, shift);
    plat::set_key_state(plat::vk::control, ctrl);
    plat::set_key_state(key, true);
    run.cycles(1);
    plat::set_key_state(key, false);
    plat::set_key_state(plat::vk::shift, false);
    plat::set_key_state(plat::vk::control, false);
    run.cycles(1);
}

TEST(FlightDisplayFiles, MissingSpeedLimitFileIsCreatedAndReadBackUnchanged) {
    const panelhost::SessionOptions options = own_root("");
    const fs::path file = fs::path(options.root) / "Gauges" / "flightdisplay.cfg";
    {
        PanelRun run(kPanelAlone, "", options);
        run.cycles(2);
    }
    EXPECT_EQ(read_file(file), kDefaultLimitFile);
    {
        PanelRun run(kPanelAlone, "", options);
        run.cycles(2);
    }
    EXPECT_EQ(read_file(file), kDefaultLimitFile);
}

// The minimum speed at flap 40 shows as the first limit mark below the speed pointer: at 135 kt
// with the default minimum the mark is at the pointer, with 120 it is 25 pixels lower.
TEST(FlightDisplayFiles, OneLineSetsOnlyThatLimit) {
    for (const bool edited : {false, true}) {
        PanelRun run(kPanelAlone, "", own_root("", edited ? "StallSpeedFlap40=120\n" : "// empty\n"));
        set(run, 328, 16383);
        set(run, 61, 135);
        run.cycles(kPastStartup);
        // Marks are 3 x 3 squares right of the tape (x 36..38) ending one row above y.
        const int pointer_mark = count(run, 36, 125, 39, 128, kRed);
        const int lower_mark = count(run, 36, 150, 39, 153, kRed);
        EXPECT_EQ(pointer_mark, edited ? 0 : 9) << "edited " << edited;
        EXPECT_EQ(lower_mark, edited ? 9 : 0) << "edited " << edited;
        // The maximum at flap 40 keeps its default 160: 25 knots above, the mark ending at y = 86.
        EXPECT_EQ(count(run, 36, 83, 39, 86, kRed), 9);
    }
}

TEST(FlightDisplayShortcut, Panel8LineWithShiftAndCtrl) {
    PanelRun run(kPanelWithSwitch, "", own_root("[Keys]\nPANEL_8=9,3\n"));
    run.cycles(kPastStartup);
    EXPECT_EQ(run.block_text("PassData", 0), "FDMode=0");
    press(run, 9, true, false);
    EXPECT_EQ(run.block_text("PassData", 0), "FDMode=0") << "Shift alone is not the shortcut";
    press(run, 9, true, true);
    EXPECT_EQ(run.block_text("PassData", 0), "FDMode=1");
    press(run, 9, true, true);
    EXPECT_EQ(run.block_text("PassData", 0), "FDMode=2");
}

TEST(FlightDisplayShortcut, HeadingHoldTogglesBetweenOffAndOne) {
    PanelRun run(kPanelWithSwitch, "", quiet());
    run.cycles(kPastStartup);
    run.panel().click_gauge("Lumiscope-Brightline-FDSW", 80, 35);
    run.cycles(2);
    EXPECT_EQ(run.block_text("PassData", 0), "FDMode=2");
    set(run, 103, 1);
    set(run, 106, 1);
    run.cycles(2);
    press(run, 9, true, false);
    EXPECT_EQ(run.block_text("PassData", 0), "FDMode=0");
    press(run, 9, true, false);
    EXPECT_EQ(run.block_text("PassData", 0), "FDMode=1");
    // Without the autopilot the key walks the whole cycle.
    set(run, 103, 0);
    run.cycles(1);
    press(run, 9, true, false);
    EXPECT_EQ(run.block_text("PassData", 0), "FDMode=2");
    press(run, 9, true, false);
    EXPECT_EQ(run.block_text("PassData", 0), "FDMode=0");
}

// A switch block that appears later is attached on a later generate, and its mode is shown.
TEST(FlightDisplayShortcut, LateSwitchBlockIsAttached) {
    PanelRun run(kPanelAlone, "at 6 poke PassData 0 FDMode=2\n", quiet());
    run.cycles(kPastStartup);
    EXPECT_EQ(count(run, 90, 44, 126, 64, kOrange), 0);
    run.cycles(40);
    EXPECT_GT(count(run, 90, 44, 126, 64, kOrange), 10) << "FD above the attitude window";
}

TEST(FlightDisplayChanges, NothingIsDrawnDuringStartup) {
    PanelRun run(kPanelAlone, "", quiet());
    run.cycles(2);
    const std::uint32_t glass = run.pixel(0, 60, 95);
    const std::uint32_t tape = run.pixel(0, 5, 40);
    // Three and a half seconds of changing pitch and speed: the display keeps its own picture.
    for (int i = 0; i < 62; ++i) {
        set(run, 78, i * 0.5);
        set(run, 61, 100 + i);
        run.cycles(1);
        ASSERT_EQ(run.pixel(0, 60, 95), glass) << "cycle " << i;
        ASSERT_EQ(run.pixel(0, 5, 40), tape) << "cycle " << i;
    }
    run.cycles(16);
    EXPECT_EQ(run.pixel(0, 5, 40), kGrey) << "the speed tape is drawn once started";
    EXPECT_NE(run.pixel(0, 60, 95), glass);
}

TEST(FlightDisplayChanges, HeadingRedrawsOnlyPastATenth) {
    PanelRun run(kPanelAlone, "", quiet());
    set(run, 81, 90.04);
    run.cycles(kPastStartup);
    const double shown = display_value(run);
    set(run, 81, 90.06);
    run.cycles(3);
    EXPECT_EQ(display_value(run), shown) << "both are 900 tenths";
    set(run, 81, 90.11);
    run.cycles(1);
    run.cycles(1);
    EXPECT_NE(display_value(run), shown);
}

}  // namespace
