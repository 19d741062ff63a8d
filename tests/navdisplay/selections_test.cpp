// The crew selections: the NDPassData block, the mode file and the keys.

#include <gtest/gtest.h>

#include <cmath>

#include "nd_test_support.h"
#include "platform/keyboard.h"

namespace fs = std::filesystem;
using namespace ndtest;

namespace {

void press(PanelRun& run, int key, bool shift, bool ctrl) {
    if (shift) plat::set_key_state(plat::vk::shift, true);
    if (ctrl) plat::set_key_state(plat::vk::control, true);
    plat::set_key_state(key, true);
    run.cycles(1);
    plat::set_key_state(key, false);
    plat::set_key_state(plat::vk::control, false);
    plat::set_key_state(plat::vk::shift, false);
    run.cycles(1);
}

// The major compass tick at 10-degree step `off` of a centred or arc card (heading 0).
bool tick_at(PanelRun& run, int cy, int R, int off) {
    const double a = off * 3.141592653589793 / 180.0;
    const int x = 128 + static_cast<int>((R - 8) * std::cos(a)), y = cy - static_cast<int>((R - 8) * std::sin(a));
    return count_colour(run, kWhite, x - 1, y - 1, x + 2, y + 2) > 0;
}

}  // namespace

TEST(NdSelections, FillsTheBlockAtInstall) {
    const fs::path root = make_root();
    NavData().write(root / "NavData");
    PanelRun run = open_run(root, "");
    EXPECT_EQ(run.block_text("NDPassData", 0), "NDMode=1");  // before the first cycle
    run.cycles(80);
    EXPECT_EQ(run.block_text("NDPassData", 0), "NDMode=1");
    EXPECT_EQ(run.block_text("NDPassData", 10), "MapMode=0");
    EXPECT_EQ(run.block_text("NDPassData", 20), "Item=0x1E");
    EXPECT_EQ(run.block_text("NDPassData", 30), "Range=320");
    run.session().finish();
    EXPECT_EQ(read_file(root / "Gauges/NDmode.tmp"), "1\n0\n30\n320\n");
}

TEST(NdSelections, ModeFileComesBackAndIsKeptByAnEarlyRemoval) {
    const fs::path root = make_root();
    NavData().write(root / "NavData");
    write_file(root / "Gauges/NDmode.tmp", "0\n2\n31\n80\n");
    {
        // Removed within the start-up delay: the saved selections stay as they were.
        PanelRun run = open_run(root, "");
        run.cycles(30);
    }
    EXPECT_EQ(read_file(root / "Gauges/NDmode.tmp"), "0\n2\n31\n80\n");
    PanelRun run = open_run(root, "");
    run.cycles(80);
    EXPECT_EQ(run.block_text("NDPassData", 0), "NDMode=0");
    EXPECT_EQ(run.block_text("NDPassData", 10), "MapMode=2");
    EXPECT_EQ(run.block_text("NDPassData", 20), "Item=0x1F");
    EXPECT_EQ(run.block_text("NDPassData", 30), "Range=080");
    // Centred: ticks all round the card (R 119 about 136), none of the arc's circle.
    EXPECT_TRUE(tick_at(run, 136, 119, 270));
    EXPECT_TRUE(text_shown(run, 256 - 5, 128 - 55, plat::text_align::center | plat::text_align::bottom, 9, "N", kGreen));
    press(run, 'G', true, false);
    EXPECT_EQ(run.block_text("NDPassData", 30), "Range=160");
    run.session().finish();
    EXPECT_EQ(read_file(root / "Gauges/NDmode.tmp"), "0\n2\n31\n160\n");
    EXPECT_FALSE(fs::exists(root / "Gauges/NDmode.tmp.new"));
}

TEST(NdSelections, RangeKeysStopAtTheirLimits) {
    const fs::path root = make_root();
    NavData().write(root / "NavData");
    write_file(root / "Gauges/NDmode.tmp", "1\n1\n30\n640\n");
    PanelRun run = open_run(root, "");
    run.cycles(80);
    press(run, 'G', true, false);
    EXPECT_EQ(run.block_text("NDPassData", 30), "Range=640");
    for (int i = 0; i < 7; ++i) press(run, 'G', true, true);
    EXPECT_EQ(run.block_text("NDPassData", 30), "Range=010");
    press(run, 'M', true, true);
    press(run, 'P', true, true);
    EXPECT_EQ(run.block_text("NDPassData", 10), "MapMode=2");
    press(run, 'V', true, true);
    EXPECT_EQ(run.block_text("NDPassData", 10), "MapMode=0");
    press(run, 'X', true, false);
    press(run, 'A', true, false);
    EXPECT_EQ(run.block_text("NDPassData", 20), "Item=0x0F");
}

TEST(NdSelections, HotKeyFromTheSimulatorsConfiguration) {
    const fs::path root = make_root();
    NavData().write(root / "NavData");
    {
        PanelRun run = open_run(root, "");
        run.cycles(80);
        press(run, plat::vk::tab, false, false);
        EXPECT_EQ(run.block_text("NDPassData", 0), "NDMode=0");
    }
    write_file(root / "FS2002.cfg", "[PANELS]\nPANEL_8=49,9\nPANEL_9=48,9\n");
    write_file(root / "Gauges/NDmode.tmp", "1\n0\n30\n320\n");
    PanelRun run = open_run(root, "");
    run.cycles(80);
    EXPECT_TRUE(tick_at(run, 217, 200, 70)) << "arc";
    EXPECT_FALSE(tick_at(run, 136, 119, 270));
    press(run, plat::vk::tab, false, false);
    press(run, '0', false, false);
    EXPECT_EQ(run.block_text("NDPassData", 0), "NDMode=1");
    press(run, '0', true, false);
    EXPECT_EQ(run.block_text("NDPassData", 0), "NDMode=0");
    run.cycles(2);
    EXPECT_TRUE(tick_at(run, 136, 119, 270)) << "centred";
}

TEST(NdSelections, PositionAloneNeverRedrawsTheVorMode) {
    const fs::path root = make_root();
    NavData().write(root / "NavData");
    PanelRun run = open_run(root, position_at(0, 10, 10) + position_at(6, 11, 11) + "at 7 set 81 90\n");
    run.cycles(100);
    const double before = picture_index(run);
    run.cycles(15);  // past the move
    EXPECT_EQ(picture_index(run), before);
    run.cycles(20);  // past the heading change
    EXPECT_NE(picture_index(run), before);
}
