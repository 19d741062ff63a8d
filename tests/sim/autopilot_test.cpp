// The autopilot holds: altitude capture at the vertical speed setting, speed hold through the
// autothrottle, and the stall warning.

#include <gtest/gtest.h>

#include <cmath>

#include "sim/aero.h"
#include "sim_test_util.h"

using namespace simtest;

TEST(Autopilot, AltitudeHoldClimbsAtTheSettingAndCaptures) {
    sim::Aircraft a = airborne(10000, 250);
    send(a, 65792);
    send(a, 65860);
    send(a, 66112);
    send(a, 65892, 20);  // 12000 ft
    send(a, 65894, 15);  // 1500 fpm
    send(a, 65808);
    fly(a, 30);
    EXPECT_NEAR(a.state().vertical_speed_fpm, 1500.0, 1.0);
    simtest::MapSink sink;
    a.publish(sink);
    EXPECT_EQ(sink.values[119], 1.0) << "flying the vertical speed";
    fly(a, 150);
    EXPECT_NEAR(a.state().altitude_ft, 12000.0, 10.0);
    EXPECT_NEAR(a.state().vertical_speed_fpm, 0.0, 20.0);
    EXPECT_NEAR(a.state().ias_kt, 250.0, 4.0) << "speed hold kept the speed through the climb";
    sink.values.clear();
    a.publish(sink);
    EXPECT_EQ(sink.values[119], 0.0) << "captured";
    EXPECT_EQ(sink.values[108], 1.0);
}

TEST(Autopilot, SpeedHoldFollowsANewSettingOnlyWhenArmed) {
    sim::Aircraft a = airborne(15000, 250);
    send(a, 66037, 1, 290);
    send(a, 66112);
    fly(a, 60);
    EXPECT_NEAR(a.state().ias_kt, 250.0, 3.0) << "the autothrottle is not armed";
    send(a, 65860);
    fly(a, 150);
    EXPECT_NEAR(a.state().ias_kt, 290.0, 3.0);
    send(a, 66113);
    const double throttle = a.state().controls.throttle[0];
    fly(a, 10);
    EXPECT_EQ(a.state().controls.throttle[0], throttle) << "speed hold off leaves the levers where they are";
}

TEST(Autopilot, HeadingHoldNeedsTheMaster) {
    sim::Aircraft a = airborne(5000, 200, 90);
    send(a, 65807);
    send(a, 65879, 30);
    fly(a, 20);
    EXPECT_NEAR(a.state().true_heading_deg, 90.0, 1e-9);
    send(a, 65792);
    fly(a, 30);
    EXPECT_NEAR(sim::wrap_180(a.state().true_heading_deg - a.state().variation_deg - a.state().autopilot.heading_bug_deg), 0, 0.5);
}

TEST(Autopilot, StallWarningBelowTheFlapStallSpeed) {
    sim::Aircraft a = airborne(10000, 150);
    const double clean = sim::stall_speed_kt(sim::weight_lb(a.state()), 0);
    const double full = sim::stall_speed_kt(sim::weight_lb(a.state()), 1);
    ASSERT_LT(full, 150.0);
    ASSERT_GT(clean, 150.0);
    fly(a, 0.2);
    EXPECT_TRUE(a.state().stall_warning) << "150 kt is below the clean stall speed";
    sim::Placement flaps;
    flaps.flaps = 1.0;
    a.place(flaps);
    fly(a, 0.2);
    EXPECT_FALSE(a.state().stall_warning) << "and above it with full flaps";
}
