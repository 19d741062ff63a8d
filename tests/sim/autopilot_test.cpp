// The autopilot holds: altitude capture at the vertical speed setting, speed hold through the
// autothrottle, and the stall warning.

#include <gtest/gtest.h>

#include <cmath>

#include "host/key_events.h"
#include "host/tokens.h"
#include "sim/aero.h"
#include "sim/autopilot.h"
#include "sim_test_util.h"

namespace event = gauge::event;
namespace token = gauge::token;

using namespace simtest;

TEST(Autopilot, AltitudeHoldClimbsAtTheSettingAndCaptures) {
    sim::Aircraft a = airborne(10000, 250);
    send(a, event::ap_master_on);
    send(a, event::autothrottle_arm);
    send(a, event::speed_hold_on);
    send(a, event::altitude_up, 20);  // 12000 ft
    send(a, event::vertical_speed_up, 15);  // 1500 fpm
    send(a, event::altitude_hold_on);
    fly(a, 30);
    EXPECT_NEAR(a.state().vertical_speed_fpm, 1500.0, 1.0);
    simtest::MapSink sink;
    a.publish(sink);
    EXPECT_EQ(sink.values[token::ap_vertical_speed_hold], 1.0) << "flying the vertical speed";
    fly(a, 150);
    EXPECT_NEAR(a.state().altitude_ft, 12000.0, 10.0);
    EXPECT_NEAR(a.state().vertical_speed_fpm, 0.0, 20.0);
    EXPECT_NEAR(a.state().ias_kt, 250.0, 4.0) << "speed hold kept the speed through the climb";
    sink.values.clear();
    a.publish(sink);
    EXPECT_EQ(sink.values[token::ap_vertical_speed_hold], 0.0) << "captured";
    EXPECT_EQ(sink.values[token::ap_altitude_hold], 1.0);
}

TEST(Autopilot, SpeedHoldFollowsANewSettingOnlyWhenArmed) {
    sim::Aircraft a = airborne(15000, 250);
    send(a, event::speed_set, 1, 290);
    send(a, event::speed_hold_on);
    fly(a, 60);
    EXPECT_NEAR(a.state().ias_kt, 250.0, 3.0) << "the autothrottle is not armed";
    send(a, event::autothrottle_arm);
    fly(a, 150);
    EXPECT_NEAR(a.state().ias_kt, 290.0, 3.0);
    send(a, event::speed_hold_off);
    const double throttle = a.state().controls.throttle[0];
    fly(a, 10);
    EXPECT_EQ(a.state().controls.throttle[0], throttle) << "speed hold off leaves the levers where they are";
}

TEST(Autopilot, HeadingHoldNeedsTheMaster) {
    sim::Aircraft a = airborne(5000, 200, 90);
    send(a, event::heading_hold_on);
    send(a, event::heading_bug_up, 30);
    fly(a, 20);
    EXPECT_NEAR(a.state().true_heading_deg, 90.0, 1e-9);
    send(a, event::ap_master_on);
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

namespace {

// Master, autothrottle and speed hold at the placed speed; the altitude setting and the vertical
// speed setting moved by their keys (100 ft and 100 ft/min a step), then the altitude hold.
void descend_with_speed_hold(sim::Aircraft& a, int altitude_steps_down, int vertical_speed_steps_down) {
    send(a, event::ap_master_on);
    send(a, event::autothrottle_arm);
    send(a, event::speed_hold_on);
    send(a, event::altitude_down, altitude_steps_down);
    send(a, event::vertical_speed_down, vertical_speed_steps_down);
    send(a, event::altitude_hold_on);
}

}  // namespace

TEST(Autopilot, SpeedHoldKeepsItsSpeedInADescentSteeperThanIdleAllows) {
    // At 250 kt idle alone descends at about 1,500 ft/min here; 2,500 needs the speed brakes.
    sim::Aircraft a = airborne(12000, 250);
    descend_with_speed_hold(a, 90, 25);  // to 3,000 ft at 2,500 ft/min
    double fastest = 0, most_brake = 0, steepest = 0;
    for (int s = 0; s < 300; ++s) {
        fly(a, 1);
        fastest = std::max(fastest, a.state().ias_kt);
        most_brake = std::max(most_brake, a.state().held_speed_brake);
        steepest = std::min(steepest, a.state().vertical_speed_fpm);
    }
    EXPECT_LE(fastest, 250.5) << "250 kt below 10,000 ft is kept";
    EXPECT_NEAR(steepest, -2500.0, 30.0) << "and the descent flown as set";
    EXPECT_GT(most_brake, 0.2) << "with the speed brakes out";
    EXPECT_EQ(a.state().controls.speed_brake, 0.0) << "the lever is the crew's and stays where it was";
    EXPECT_NEAR(a.state().altitude_ft, 3000.0, 20.0);
    EXPECT_EQ(a.state().held_speed_brake, 0.0) << "level again, thrust holds the speed and the brakes are in";
    EXPECT_NEAR(a.state().ias_kt, 250.0, 1.0);
}

TEST(Autopilot, ADescentTooSteepEvenWithTheBrakesGivesWayToTheSpeed) {
    sim::Aircraft a = airborne(20000, 250);
    descend_with_speed_hold(a, 150, 60);  // to 5,000 ft at 6,000 ft/min
    double fastest = 0, steepest = 0;
    for (int s = 0; s < 120; ++s) {
        fly(a, 1);
        fastest = std::max(fastest, a.state().ias_kt);
        steepest = std::min(steepest, a.state().vertical_speed_fpm);
    }
    EXPECT_LE(fastest, 250.0 + sim::held_speed_margin_kt + 0.5);
    EXPECT_GT(steepest, -4500.0) << "the aircraft cannot hold the speed at 6,000 ft/min";
    EXPECT_LT(steepest, -2500.0);
    EXPECT_EQ(a.state().held_speed_brake, 1.0);

    // Over a lower speed setting the descent eases until the speed comes down, and never climbs.
    send(a, event::speed_set, 1, 210);
    double highest = -1e9;
    for (int s = 0; s < 60; ++s) {
        fly(a, 1);
        highest = std::max(highest, a.state().vertical_speed_fpm);
    }
    EXPECT_LE(highest, 0.0);
    EXPECT_NEAR(a.state().ias_kt, 213.0, 5.0);
}

TEST(Autopilot, ALevelOffDoesNotPushTheHeldSpeedUp) {
    sim::Aircraft a = airborne(5000, 250);
    send(a, event::ap_master_on);
    send(a, event::autothrottle_arm);
    send(a, event::speed_hold_on);
    send(a, event::altitude_up, 30);  // 8,000 ft
    send(a, event::vertical_speed_up, 25);  // 2,500 ft/min
    send(a, event::altitude_hold_on);
    double fastest = 0;
    for (int s = 0; s < 240; ++s) {
        fly(a, 1);
        fastest = std::max(fastest, a.state().ias_kt);
    }
    EXPECT_NEAR(a.state().altitude_ft, 8000.0, 10.0);
    EXPECT_LE(fastest, 250.3);
}
