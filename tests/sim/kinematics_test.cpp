// The aircraft's motion: turns, climbs and descents within their limits, the take-off roll, and
// positions over the 3438 NM sphere in the host's units.

#include <gtest/gtest.h>

#include <cmath>

#include "host/key_events.h"
#include "sim/aero.h"
#include "sim/earth.h"
#include "sim/kinematics.h"
#include "sim_test_util.h"

namespace event = gauge::event;

using namespace simtest;

TEST(Earth, OneDegreeOfLatitudeIsSixtyMilesOnTheSphere) {
    const sim::LatLon p = sim::travel({10, 20}, 0, 60.0);
    EXPECT_NEAR(p.lat, 11.0, 0.01);  // 3438 NM radius: 60.0 NM per degree
    EXPECT_NEAR(p.lon, 20.0, 1e-9);
    EXPECT_NEAR(sim::distance_nm({0, 179.5}, {0, -179.5}), 60.0, 0.01) << "the short way across the date line";
    EXPECT_NEAR(sim::course_deg({0, 179.5}, {0, -179.5}), 90.0, 1e-6);
}

TEST(Earth, PositionTokensConvertAsTheReadersDo) {
    // West longitudes count on past 180: the readers subtract 360 from 180 and more.
    const double raw_lon = sim::longitude_to_units(-122.5);
    EXPECT_NEAR(raw_lon * 1.2789770768341246e-12, 237.5, 1e-9);
    EXPECT_NEAR(sim::longitude_from_units(raw_lon), -122.5, 1e-9);
    EXPECT_NEAR(sim::latitude_to_units(-33.5) * 8.998425275576774e-06, -33.5, 1e-12);
}

TEST(Kinematics, StandardRateTurnAtLowSpeed) {
    sim::Aircraft a = airborne(5000, 180, 90);
    send(a, event::ap_master_on);
    send(a, event::heading_hold_on);
    send(a, event::heading_bug_up, 90);  // bug 90 degrees to the right
    fly(a, 10);
    const double h1 = a.state().true_heading_deg;
    fly(a, 10);
    const double rate = sim::wrap_180(a.state().true_heading_deg - h1) / 10.0;
    EXPECT_NEAR(rate, 3.0, 0.05) << "3 degrees a second";
    EXPECT_GT(a.state().bank_deg, 15.0);
    EXPECT_LE(a.state().bank_deg, sim::max_bank_deg);
    fly(a, 40);
    const double magnetic = a.state().true_heading_deg - a.state().variation_deg;
    EXPECT_NEAR(sim::wrap_180(magnetic - a.state().autopilot.heading_bug_deg), 0.0, 0.5) << "rolled out on the bug";
    EXPECT_NEAR(a.state().bank_deg, 0.0, 0.5);
}

TEST(Kinematics, FastTurnIsBoundedByBankNotRate) {
    sim::Aircraft a = airborne(20000, 300, 0);
    send(a, event::ap_master_on);
    send(a, event::heading_hold_on);
    send(a, event::heading_bug_down, 120);  // left
    fly(a, 15);
    const double tas = sim::tas_from_ias(a.state().ias_kt, a.state().altitude_ft);
    EXPECT_NEAR(a.state().bank_deg, -sim::max_bank_deg, 0.01);
    const double h1 = a.state().true_heading_deg;
    fly(a, 5);
    const double rate = sim::wrap_180(a.state().true_heading_deg - h1) / 5.0;
    EXPECT_NEAR(rate, -sim::turn_rate_dps(30.0, tas), 0.05);
    EXPECT_LT(-rate, 2.0) << "slower than the standard rate at this speed";
}

TEST(Kinematics, ClimbGivesWayToSpeedAndDescentToTheSpeedLimit) {
    // Idle thrust and no speed hold: a 6000 fpm climb cannot be held; the speed stays above the
    // minimum and the climb shrinks to what it allows.
    sim::Aircraft a = airborne(10000, 250);
    a.state().controls.throttle.fill(0);
    send(a, event::ap_master_on);
    send(a, event::altitude_up, 200);  // altitude setting +20000 ft
    send(a, event::vertical_speed_up, 60);   // 6000 fpm
    send(a, event::altitude_hold_on);
    double lowest = 1e9;
    for (int i = 0; i < 120; ++i) fly(a, 1), lowest = std::min(lowest, a.state().ias_kt);
    const double vs_min = sim::min_speed_factor * sim::stall_speed_kt(sim::weight_lb(a.state()), 0);
    EXPECT_GT(lowest, vs_min - 3.0);
    EXPECT_LT(a.state().vertical_speed_fpm, 1000.0) << "idle thrust cannot keep a climb going";
    EXPECT_FALSE(a.state().stall_warning);

    sim::Aircraft d = airborne(30000, 300);
    d.state().controls.throttle.fill(0);
    send(d, event::ap_master_on);
    send(d, event::altitude_down, 250);  // down to 5000 ft
    send(d, event::vertical_speed_down, 60);   // -6000 fpm
    send(d, event::altitude_hold_on);
    double fastest = 0;
    for (int i = 0; i < 240; ++i) fly(d, 1), fastest = std::max(fastest, d.state().ias_kt - sim::max_speed_kt(d.state().altitude_ft));
    EXPECT_LT(fastest, 3.0) << "the descent eases before the speed limit";
    EXPECT_LT(d.state().altitude_ft, 25000.0);
}

TEST(Kinematics, TakeOffRollWhenTheThrottlesAdvance) {
    sim::Aircraft a;
    a.log = nullptr;
    sim::Placement p;
    p.on_ground = true, p.altitude_ft = 13, p.ias_kt = 0, p.heading_deg = 298, p.throttle = 0;
    a.place(p);
    fly(a, 20);
    EXPECT_EQ(a.state().ias_kt, 0.0) << "idle thrust does not move it against the brakes";
    EXPECT_TRUE(a.state().on_ground);
    const sim::LatLon start = a.state().position;
    a.state().controls.throttle.fill(1.0);
    fly(a, 10);
    EXPECT_GT(a.state().ias_kt, 25.0);
    EXPECT_TRUE(a.state().on_ground);
    EXPECT_NEAR(sim::course_deg(start, a.state().position), 298.0, 0.5) << "rolls along its heading";
    double lift_off = -1;
    for (int s = 10; s < 120 && lift_off < 0; ++s) {
        fly(a, 1);
        if (!a.state().on_ground) lift_off = s;
    }
    ASSERT_GT(lift_off, 0) << "never left the ground";
    EXPECT_GE(a.state().ias_kt, sim::rotation_factor * sim::stall_speed_kt(sim::weight_lb(a.state()), 0) - 1);
    fly(a, 20);
    EXPECT_GT(a.state().altitude_ft, 300.0);
    EXPECT_NEAR(a.state().vertical_speed_fpm, sim::initial_climb_fpm, 1.0);
}

TEST(Kinematics, LevelFlightWithoutTheAutopilotStaysLevel) {
    sim::Aircraft a = airborne(8000, 250, 45);
    fly(a, 60);
    EXPECT_NEAR(a.state().altitude_ft, 8000.0, 5.0);
    EXPECT_NEAR(a.state().ias_kt, 250.0, 3.0) << "placed airborne with the thrust of level flight";
    EXPECT_NEAR(a.state().true_heading_deg, 45.0, 1e-9);
}

// A flight longer than the tanks last: the engines stop when the fuel is gone, and a placement
// with fuel brings them back, the load spread over the tanks as a full one is.
TEST(Kinematics, RefuellingAtAPlacementRestartsTheEngines) {
    sim::Aircraft a = airborne(8000, 250, 45);
    a.state().fuel_lb = {0, 0, 0};
    fly(a, 1);
    EXPECT_FALSE(a.state().engines[0].running) << "dry tanks feed nothing";
    sim::Placement p;
    p.fuel_lb = 15000;
    a.place(p);
    EXPECT_DOUBLE_EQ(a.state().fuel_lb[0], 4500.0);
    EXPECT_DOUBLE_EQ(a.state().fuel_lb[1], 6000.0);
    EXPECT_DOUBLE_EQ(a.state().fuel_lb[2], 4500.0);
    fly(a, 1);
    EXPECT_TRUE(a.state().engines[0].running);
    EXPECT_GT(a.state().engines[0].fuel_flow_pph, 0.0);
    p.fuel_lb = 1e9;
    a.place(p);
    EXPECT_DOUBLE_EQ(a.state().fuel_lb[0] + a.state().fuel_lb[1] + a.state().fuel_lb[2], 30000.0) << "no more than full";
}

TEST(Kinematics, AStandingAircraftStaysPutInATailwind) {
    // On its wheels the wind makes its airspeed, not its motion: 30 kt from behind moves nothing,
    // and rolling, it rolls at its own speed over the ground, the wind only adding to its airspeed.
    sim::Aircraft a;
    a.log = nullptr;
    sim::Placement p;
    p.lat = 37.0, p.lon = -122.0, p.altitude_ft = 13, p.ias_kt = 0, p.heading_deg = 298, p.on_ground = true;
    p.throttle = 0, p.wind_from_deg = 118, p.wind_kt = 30;
    a.place(p);
    a.state().controls.brakes = 0;
    const sim::LatLon at = a.state().position;
    for (int i = 0; i < 18 * 60; ++i) a.step(1.0 / 18);
    EXPECT_EQ(a.state().ground_speed_kt, 0.0);
    EXPECT_LT(sim::distance_nm(at, a.state().position) * 6076.12, 0.1);
    EXPECT_TRUE(a.state().on_ground);
    // Into a 30 kt headwind the roll lifts off 30 kt sooner over the ground.
    sim::Placement into_wind = p;
    into_wind.wind_from_deg = 298;
    a.place(into_wind);
    a.state().controls.brakes = 0;
    for (double& t : a.state().controls.throttle) t = 1.0;
    double lift_off_ground_kt = 0;
    for (int i = 0; i < 18 * 120 && lift_off_ground_kt == 0; ++i) {
        a.step(1.0 / 18);
        if (!a.state().on_ground) lift_off_ground_kt = a.state().ground_speed_kt;
    }
    ASSERT_GT(lift_off_ground_kt, 0.0);
    EXPECT_NEAR(a.state().ias_kt - lift_off_ground_kt, 30.0, 3.0);
}
