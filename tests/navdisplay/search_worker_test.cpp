// The navaid search worker under a crew that never lets the map rest: the range knob of the mode
// selector turned every cycle while the host's aircraft flies over the shipped world data, so a
// new search starts on every cycle and publishes its lists while the panel thread draws. Once the
// knob rests, the display must show what a crew that set the same range calmly sees.

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "nd_test_support.h"

using namespace ndtest;

namespace {

// The display and its mode selector; the root is the host's default one with the built database.
const char* kPanelWithSelector =
    "[Window00]\nsize=420,260\nposition=0,0\nvisible=1\nident=0\n"
    "gauge00=navdisplay!navdisplay, 0, 0\n"
    "gauge01=ndmodeselect!ndmodeselect, 270, 0\n";

constexpr int kRate = 18;
constexpr int kSettleCycles = 5 * kRate;  // past the display's start-up delay
constexpr int kChurnCycles = 24 * kRate;

// Over the Bay Area's navaids at 450 knots. For the last eight seconds of the knob work the
// display's position is held, so that only the range makes the last searches due, and both runs end
// at the same place.
std::string scenario() {
    const double frozen_at = (kSettleCycles + kChurnCycles) / static_cast<double>(kRate) - 8.0;
    return "at 0 aircraft lat=37.35 lon=-122.55 alt-ft=15000 ias=450 hdg=45 on-ground=0\n" +
           position_at(frozen_at, 37.62, -122.38);
}

// The range buttons of the mode selector, in its own pixels.
void range_down(PanelRun& run) { run.panel().click_gauge("ndmodeselect", 65, 40); }
void range_up(PanelRun& run) { run.panel().click_gauge("ndmodeselect", 95, 40); }

// MAP mode, then range 40 from the start of 320.
void select_map_at_40(PanelRun& run) {
    run.panel().click_gauge("ndmodeselect", 30, 25);
    run.cycles(1);
    for (int i = 0; i < 3; ++i) {
        range_down(run);
        run.cycles(1);
    }
}

std::vector<std::uint32_t> display_picture(PanelRun& run) {
    std::vector<std::uint32_t> out;
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) out.push_back(run.pixel(0, x, y));
    return out;
}

// The picture once the knob has rested at 40 for four seconds, the knob turned every cycle before
// or not at all. One panel at a time: the modules and the clock are the process's own.
struct Outcome {
    std::vector<std::uint32_t> picture;
    int cyan = 0;
};

Outcome fly(bool churn) {
    Outcome out;
    PanelRun run(kPanelWithSelector, scenario());
    run.cycles(kSettleCycles);
    select_map_at_40(run);
    if (churn) {
        // 10 to 640 and back, one step a cycle; each step makes a new search due.
        bool up = true;
        unsigned range = 40;
        for (int i = 0; i < kChurnCycles - 4; ++i) {
            if (range == 640) up = false;
            if (range == 10) up = true;
            up ? range_up(run) : range_down(run);
            range = up ? range * 2 : range / 2;
            run.cycles(1);
        }
        while (range != 40) {
            range > 40 ? range_down(run) : range_up(run);
            range = range > 40 ? range / 2 : range * 2;
            run.cycles(1);
        }
    }
    const int until = kSettleCycles + kChurnCycles + 4 * kRate;
    run.cycles(until - static_cast<int>(run.session().cycles()));
    EXPECT_EQ(run.block_text("NDPassData", 30), "Range=040");
    out.picture = display_picture(run);
    out.cyan = count_colour(run, kCyan, 0, 20, 256, 256);
    return out;
}

}  // namespace

TEST(NavaidSearchWorker, RangeTurnedEveryCycleInFlightEndsOnTheLatestSearch) {
    const Outcome churned = fly(true);
    const Outcome calm = fly(false);
    EXPECT_GT(calm.cyan, 100) << "the calm run shows VORs around San Francisco";
    int differing = 0;
    for (std::size_t i = 0; i < calm.picture.size(); ++i) differing += calm.picture[i] != churned.picture[i];
    EXPECT_EQ(differing, 0) << "pixels that differ from the calm run";
}
