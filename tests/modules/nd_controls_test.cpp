#include <gtest/gtest.h>

#include "panel_fixture.h"
#include "panelhost/image.h"
#include "platform/shared_block.h"

namespace {

const char* kControls =
    "[Window00]\nsize=420,140\n"
    "gauge00=ndmodeselect!ndmodeselect, 10, 10\n"
    "gauge01=fdswitch!Lumiscope-Brightline-FDSW, 160, 10\n"
    "gauge02=ndswitch!Lumiscope-Brightline-NDSW, 280, 10\n";

bool shows(PanelRun& run, const std::string& gauge, int id, int x, int y) { return run.shows(gauge, id, x, y); }

TEST(NdModeSelect, RangeDoublesToItsLimitAndStops) {
    PanelRun run(kControls);
    run.cycles(1);
    EXPECT_EQ(run.block_text("NDPassData", 30), "Range=320");
    EXPECT_TRUE(shows(run, "ndmodeselect", 8463, 69, 36));
    run.panel().click_gauge("ndmodeselect", 95, 40);
    EXPECT_EQ(run.block_text("NDPassData", 30), "Range=640");
    run.cycles(2);
    EXPECT_TRUE(shows(run, "ndmodeselect", 8466, 69, 36));
    run.panel().click_gauge("ndmodeselect", 95, 40);
    run.cycles(2);
    EXPECT_EQ(run.block_text("NDPassData", 30), "Range=640");
    EXPECT_TRUE(shows(run, "ndmodeselect", 8466, 69, 36));
}

TEST(NdModeSelect, RangeHalvesToTenZeroPadded) {
    PanelRun run(kControls);
    run.cycles(1);
    for (int i = 0; i < 4; ++i) run.panel().click_gauge("ndmodeselect", 65, 40);  // 320 -> 20
    EXPECT_EQ(run.block_text("NDPassData", 30), "Range=020");
    run.panel().click_gauge("ndmodeselect", 65, 40);
    EXPECT_EQ(run.block_text("NDPassData", 30), "Range=010");
    run.panel().click_gauge("ndmodeselect", 65, 40);
    run.cycles(2);
    EXPECT_EQ(run.block_text("NDPassData", 30), "Range=010");
    EXPECT_TRUE(shows(run, "ndmodeselect", 8448, 69, 36));
}

TEST(NdModeSelect, RouteButtonLightsItsLamp) {
    PanelRun run(kControls);
    run.cycles(2);
    EXPECT_EQ(run.block_text("NDPassData", 20), "Item=0x1E");
    EXPECT_TRUE(shows(run, "ndmodeselect", 8211, 0, 61)) << "route lamp dark at first";
    EXPECT_TRUE(shows(run, "ndmodeselect", 8208, 26, 61)) << "intersections lamp lit";
    run.panel().click_gauge("ndmodeselect", 10, 80);
    EXPECT_EQ(run.block_text("NDPassData", 20), "Item=0x1F");
    run.cycles(2);
    EXPECT_TRUE(shows(run, "ndmodeselect", 8208, 0, 61)) << "route lamp lit";
    run.panel().click_gauge("ndmodeselect", 30, 80);
    EXPECT_EQ(run.block_text("NDPassData", 20), "Item=0x1D");
    run.cycles(2);
    EXPECT_TRUE(shows(run, "ndmodeselect", 8211, 26, 61));
}

TEST(NdModeSelect, FollowsTheBlockWhenTheDisplayChangesIt) {
    PanelRun run(kControls, "at 0.2 poke NDPassData 10 MapMode=2\nat 0.2 poke NDPassData 20 Item=0x01\n");
    run.cycles(2);
    EXPECT_TRUE(shows(run, "ndmodeselect", 8704, 16, 36));
    run.session().run_for(0.5);
    EXPECT_TRUE(shows(run, "ndmodeselect", 8710, 16, 36)) << "knob turned right for PLAN";
    EXPECT_TRUE(shows(run, "ndmodeselect", 8208, 0, 61));
    EXPECT_TRUE(shows(run, "ndmodeselect", 8211, 104, 61));
    // Clicking above the knob selects MAP and writes only that field.
    run.panel().click_gauge("ndmodeselect", 30, 25);
    EXPECT_EQ(run.block_text("NDPassData", 10), "MapMode=1");
    EXPECT_EQ(run.block_text("NDPassData", 20), "Item=0x01");
}

TEST(Switches, FdSwitchWritesItsPositionIntoPassData) {
    PanelRun run(kControls);
    run.cycles(1);
    EXPECT_EQ(run.block_text("PassData", 0), "FDMode=0");
    run.panel().click_gauge("fdswitch", 80, 35);
    EXPECT_EQ(run.block_text("PassData", 0), "FDMode=2");
    run.cycles(2);
    EXPECT_TRUE(shows(run, "fdswitch", 2006, 24, 34));
    run.panel().click_gauge("fdswitch", 50, 20);
    EXPECT_EQ(run.block_text("PassData", 0), "FDMode=1");
    run.panel().click_gauge("fdswitch", 20, 35);
    run.panel().click_gauge("fdswitch", 20, 35);
    EXPECT_EQ(run.block_text("PassData", 0), "FDMode=0");
    run.cycles(2);
    EXPECT_TRUE(shows(run, "fdswitch", 2000, 24, 34));
}

TEST(Switches, NdSwitchFollowsTheDisplaysHotKey) {
    PanelRun run(kControls, "at 0.2 poke NDPassData 0 NDMode=0\n");
    run.cycles(2);
    EXPECT_TRUE(shows(run, "ndswitch", 2000, 24, 34)) << "arc: lever left";
    run.session().run_for(0.5);
    EXPECT_TRUE(shows(run, "ndswitch", 2003, 24, 34)) << "centred after the display set NDMode=0";
    run.panel().click_gauge("ndswitch", 20, 35);
    EXPECT_EQ(run.block_text("NDPassData", 0), "NDMode=1");
}

TEST(Switches, NdSwitchFirstWithItsSmallRequestLeavesAllSixtyBytes) {
    PanelRun run(
        "[Window00]\nsize=300,120\n"
        "gauge00=ndswitch!Lumiscope-Brightline-NDSW, 0, 0\n"
        "gauge01=ndmodeselect!ndmodeselect, 110, 0\n");
    run.cycles(1);
    auto block = plat::SharedBlock::open_existing("NDPassData");
    ASSERT_TRUE(block);
    EXPECT_GE(block->size(), 60u);
    EXPECT_EQ(run.block_text("NDPassData", 0), "NDMode=1");
    EXPECT_EQ(run.block_text("NDPassData", 10), "MapMode=0");
    EXPECT_EQ(run.block_text("NDPassData", 20), "Item=0x1E");
    EXPECT_EQ(run.block_text("NDPassData", 30), "Range=320");
    run.panel().click_gauge("ndmodeselect", 95, 40);
    EXPECT_EQ(run.block_text("NDPassData", 30), "Range=640");
    block->close();
    run.session().finish();
    EXPECT_FALSE(plat::SharedBlock::open_existing("NDPassData")) << "gone once both modules closed it";
}

}  // namespace
