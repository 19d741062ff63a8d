#include <gtest/gtest.h>

#include "panel_fixture.h"

namespace {

const char* kPanel = "[Window00]\nsize=100,40\ngauge00=grossweight!grossweight, 10, 10\n";
// The host's aircraft has fuel and power; the scenarios take the tanks and buses over.
const std::string kEmpty = "at 0 set 303 0\nat 0 set 304 0\nat 0 set 305 0\n";
const std::string kUnpowered = "at 0 set 364 0\nat 0 set 761 0\nat 0 set 763 0\n";

std::string weight(PanelRun& run) {
    return run.panel().find_gauge("grossweight")->elements.at(1)->shown_text;
}

int lit_pixels(PanelRun& run) {
    int n = 0;
    for (int y = 10; y < 30; ++y)
        for (int x = 10; x < 90; ++x) n += run.pixel(0, x, y) == 0xA5DA00u;
    return n;
}

TEST(GrossWeight, EmptyTanksShowTheZeroFuelWeight) {
    PanelRun run(kPanel, kEmpty + kUnpowered + "at 0 set 763 1\n");
    run.cycles(2);
    EXPECT_EQ(weight(run), "117446");
    EXPECT_GT(lit_pixels(run), 40);
}

TEST(GrossWeight, EachTankIsCutToWholePoundsOnItsOwn) {
    PanelRun run(kPanel, kUnpowered + "at 0 set 364 1\nat 0 set 303 0.1\nat 0 set 304 0.1\nat 0 set 305 0.1\n"
                         "at 0.5 set 303 1000\nat 0.5 set 304 1.5\nat 0.5 set 305 2\n");
    run.cycles(2);
    EXPECT_EQ(weight(run), "117446") << "three tanks of 0.66 lb add nothing";
    run.session().run_for(0.5);
    // 6601.6 -> 6601, 9.9024 -> 9, 13.2032 -> 13
    EXPECT_EQ(weight(run), "124069");
}

TEST(GrossWeight, BlankWithoutPower) {
    PanelRun run(kPanel, kEmpty + kUnpowered + "at 0 set 303 100\nat 1 set 761 1\n");
    run.cycles(2);
    EXPECT_EQ(weight(run), "");
    EXPECT_EQ(lit_pixels(run), 0);
    run.session().run_for(1);
    EXPECT_EQ(weight(run), "118106");
}

TEST(GrossWeight, AMillionPoundsIsCutToTheSixCharacterWindow) {
    PanelRun run(kPanel, kEmpty + "at 0 set 364 1\nat 0 set 303 200000\nat 0.5 set 304 1e300\n");
    run.cycles(2);
    EXPECT_EQ(weight(run), "143776") << "1437766 lb, first six digits";
    run.session().run_for(0.5);
    EXPECT_EQ(weight(run), "214748") << "held to the largest whole number";
}

}  // namespace
