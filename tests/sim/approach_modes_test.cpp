// What the aircraft publishes of its autopilot's modes for the flight display's annunciations, and
// the running tick the panel's flashing lights count.

#include <gtest/gtest.h>

#include "host/tokens.h"
#include "sim/aircraft.h"
#include "sim_test_util.h"

using namespace simtest;
namespace token = gauge::token;

namespace {

struct ModeCase {
    const char* what;
    sim::ApproachPhase phase;
    bool heading_hold, altitude_hold, glide_slope_received;
    bool wing_leveler, glide_slope_hold, localizer_hold;
};

TEST(PublishedModes, TheApproachsHoldsFollowItsPhase) {
    using P = sim::ApproachPhase;
    const ModeCase cases[] = {
        {"no approach, heading hold", P::off, true, true, true, false, false, false},
        {"no approach, nothing steering", P::off, false, true, false, true, false, false},
        {"armed under the heading hold, a glide slope received", P::armed, true, true, true, false, true, true},
        {"armed, no glide slope received yet", P::armed, true, true, false, false, false, true},
        {"armed, the vertical mode the crew's", P::armed, true, false, true, false, false, true},
        {"armed, wings level", P::armed, false, true, true, true, true, true},
        {"localizer captured, altitude held, glide slope armed", P::localizer, false, true, true, false, true, true},
        {"localizer captured, no glide slope", P::localizer, false, true, false, false, false, true},
        {"glide slope captured", P::glide_slope, false, false, true, false, true, true},
        {"flare", P::flare, false, false, true, false, true, true},
        {"rollout", P::rollout, false, false, true, false, false, true},
        {"stopped", P::stopped, false, false, true, true, false, false},
    };
    for (const ModeCase& c : cases) {
        SCOPED_TRACE(c.what);
        sim::Aircraft a = airborne(3000, 180);
        sim::AircraftState& s = a.state();
        s.autopilot.master = true;
        s.autopilot.heading_hold = c.heading_hold;
        s.autopilot.altitude_hold = c.altitude_hold;
        s.reception.nav[0].glide_slope = c.glide_slope_received;
        s.approach = c.phase;
        MapSink sink;
        a.publish(sink);
        EXPECT_EQ(sink.values[token::ap_wing_leveler], c.wing_leveler ? 1.0 : 0.0);
        EXPECT_EQ(sink.values[token::ap_glide_slope_hold], c.glide_slope_hold ? 1.0 : 0.0);
        EXPECT_EQ(sink.values[token::ap_localizer_hold], c.localizer_hold ? 1.0 : 0.0);
    }
}

TEST(PublishedModes, NoModeWithoutTheMaster) {
    sim::Aircraft a = airborne(3000, 180);
    MapSink sink;
    a.publish(sink);
    for (int t : {token::ap_wing_leveler, token::ap_glide_slope_hold, token::ap_localizer_hold}) EXPECT_EQ(sink.values[t], 0.0) << t;
}

// Eighteen a second, one more every cycle: never stalled or skipped by the sum of the cycle times.
TEST(PublishedModes, TheTickCountsEveryCycleOfAnHour) {
    sim::Aircraft a = airborne(10000, 250);
    MapSink sink;
    int off = 0;
    for (int cycle = 1; cycle <= 18 * 3600; ++cycle) {
        a.step(cycle_s);
        a.publish(sink);
        off += sink.values[token::tick_count] != cycle;
    }
    EXPECT_EQ(off, 0);
}

}  // namespace
