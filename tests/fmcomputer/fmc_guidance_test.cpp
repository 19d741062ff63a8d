// Guidance through the real host: progress, the paced heading and speed steps, disengagement.
#include <gtest/gtest.h>

#include <cmath>

#include "fmc_test_support.h"
#include "host/key_events.h"
#include "host/tokens.h"
#include "platform/window_registry.h"

namespace event = gauge::event;
namespace token = gauge::token;

using namespace fmctest;

namespace {

const std::string kDashes = "------------------------------";

std::vector<panelhost::KeyEvent> events_of(FmcRun& fmc, std::uint32_t id) {
    std::vector<panelhost::KeyEvent> out;
    for (const auto& e : fmc.run().panel().key_events())
        if (e.id == id) out.push_back(e);
    return out;
}

// The turn plan's first leg lies 350 degrees true from 0, 0; the autopilot master is on and the
// altitude setting above the first waypoint, so the start sequence ends at once.
void set_up_turn(FmcRun& fmc, double heading_setting) {
    fmc.set(token::latitude, 0);
    fmc.set(token::longitude, 0);
    fmc.set(token::ap_master, 1);
    fmc.set(token::autothrottle_armed, 1);
    fmc.set(token::ap_heading, heading_setting);
    fmc.set(token::ap_altitude, 10000);
    fmc.press(kMenu);
    fmc.press(left_key(1));
    fmc.press(left_key(1));
    ASSERT_EQ(fmc.line(0), "            ROUTE          1/1");
}

TEST(FmcGuidance, ProgressShowsDistancesAndEtas) {
    FmcRun fmc({"thirteen.pln"});
    fmc.set(token::latitude, raw_latitude(-33.9461));
    fmc.set(token::longitude, raw_longitude(151.1772));
    fmc.set(token::clock_hours, 23);
    fmc.set(token::clock_minutes, 50);
    fmc.load_from_menu(1);
    fmc.press(kProgress);
    EXPECT_EQ(fmc.line(0), "           PROGRESS        1/1");
    EXPECT_EQ(fmc.line(5), "TO           DIST      ETA    ");
    EXPECT_EQ(fmc.line(4), "YSSY             2350z  ") << "LAST follows the clock before take-off";
    EXPECT_EQ(fmc.line(6), "SY        5.7    0011z  ^") << "23:50 and 20 planned minutes";
    EXPECT_EQ(fmc.line(8).substr(0, 5), "TOC  ") << "a starred ident shows its type";
    EXPECT_EQ(fmc.line(8).substr(17, 5), "0026z");
    EXPECT_EQ(fmc.line(8)[24], 'v');
    EXPECT_EQ(fmc.line(10).substr(0, 5), "YMML ");

    fmc.set(token::clock_hours, 12);
    fmc.set(token::clock_minutes, 30);
    for (int i = 0; i < 5; ++i) fmc.press(right_key(4));
    EXPECT_EQ(fmc.line(4).substr(0, 5), "CB   ");
    EXPECT_EQ(fmc.line(6).substr(0, 5), "MIGAG");
    EXPECT_EQ(fmc.line(6).substr(17, 5), "1246z") << "01:50 to 02:05 from 12:30";
    fmc.press(right_key(3));
    EXPECT_EQ(fmc.line(6).substr(0, 5), "CB   ");

    fmc.press(left_key(6));
    EXPECT_EQ(fmc.line(0), "           PROGRESS        1/1") << "L6 has no record behind it";
    fmc.press(left_key(3));
    EXPECT_EQ(fmc.line(2), "VOR  CB   ");
    fmc.press(left_key(3));
    EXPECT_EQ(fmc.line(3), "LAST                   ATA    ") << "closing puts back the labels";
}

TEST(FmcGuidance, R3AndR4StepTheActiveWaypointBeneathTheDetails) {
    FmcRun fmc({"thirteen.pln"});
    fmc.load_from_menu(1);
    fmc.press(kProgress);
    EXPECT_EQ(fmc.line(6).substr(0, 5), "SY   ");
    fmc.press(left_key(3));
    ASSERT_EQ(fmc.line(0), "       WAYPOINT DETAILS       ");
    fmc.press(right_key(4));
    fmc.press(right_key(4));
    fmc.press(right_key(4));
    fmc.press(right_key(3));
    EXPECT_EQ(fmc.line(0), "       WAYPOINT DETAILS       ") << "the details stay shown";
    fmc.press(left_key(3));
    EXPECT_EQ(fmc.line(0), "           PROGRESS        1/1");
    EXPECT_EQ(fmc.line(4).substr(0, 5), "TOC  ") << "LAST: three steps on, one back";
    EXPECT_EQ(fmc.line(6).substr(0, 5), "WOL  ") << "TO";
}

// A damaged record gives TOC an endless distance from the departure: the distance to it shows
// pinned to six digits.
TEST(FmcGuidance, ProgressOfAnEndlessDistanceIsPinned) {
    FmcRun fmc({"far_waypoint.pln"});
    fmc.set(token::latitude, raw_latitude(-33.9461));
    fmc.set(token::longitude, raw_longitude(151.1772));
    fmc.load_from_menu(1);
    fmc.press(kProgress);
    EXPECT_EQ(fmc.line(6).substr(0, 14), "SY        5.7 ");
    EXPECT_EQ(fmc.line(8).substr(0, 16), "TOC       999999");
    EXPECT_EQ(fmc.line(10).substr(0, 5), "YMML ");
}

TEST(FmcGuidance, TurnOf350AgainstHeading10IsTwentyLeftStepsPaced200Ms) {
    FmcRun fmc({"turn.pln"});
    set_up_turn(fmc, 10);
    fmc.press(kVrt);
    fmc.press(kExec);
    fmc.run().session().run_for(8);
    const auto left = events_of(fmc, event::heading_bug_down);
    ASSERT_EQ(left.size(), 20u);
    for (std::size_t i = 1; i < left.size(); ++i)
        EXPECT_NEAR(left[i].t - left[i - 1].t, 0.2, 1e-9) << "event " << i;
    EXPECT_TRUE(events_of(fmc, event::heading_bug_up).empty());
    EXPECT_EQ(events_of(fmc, event::heading_hold_on).size(), 1u) << "heading hold once, as the start sequence ends";
    EXPECT_EQ(events_of(fmc, event::altitude_hold_on).size(), 1u);
}

TEST(FmcGuidance, MasterSwitchedOffMidFlightDisengagesWithoutKeyEvents) {
    FmcRun fmc({"turn.pln"});
    set_up_turn(fmc, 10);
    fmc.press(kExec);
    fmc.run().session().run_for(1.5);
    ASSERT_FALSE(events_of(fmc, event::heading_bug_down).empty()) << "the turn is under way";
    fmc.set(token::ap_master, 0);
    fmc.cycles(1);
    EXPECT_EQ(fmc.line(13), kDashes);
    const std::size_t sent = fmc.run().panel().key_events().size();
    fmc.run().session().run_for(10);
    EXPECT_EQ(fmc.run().panel().key_events().size(), sent) << "nothing more once the master went off";
    EXPECT_LT(events_of(fmc, event::heading_bug_down).size(), 20u);
}

TEST(FmcGuidance, WithinThreeMilesOfTheDestinationExecDisengages) {
    FmcRun fmc({"turn.pln"});
    set_up_turn(fmc, 350);
    fmc.set(token::latitude, raw_latitude(1.98));
    fmc.set(token::longitude, raw_longitude(-0.176327));
    fmc.press(kProgress);
    fmc.press(right_key(4));
    EXPECT_EQ(fmc.line(6).substr(0, 5), "ARR  ");
    fmc.press(kExec);
    fmc.cycles(1);
    EXPECT_EQ(fmc.line(13), kDashes);
    for (std::uint32_t id : {65580u, 65815u, 65816u, 66113u})
        EXPECT_EQ(events_of(fmc, id).size(), 1u) << "event " << id;
}

// Speed steps from 200 to the climb speed of 280 knots, counted as 65896 events.
std::size_t speed_steps_sent(FmcRun& fmc) {
    set_up_turn(fmc, 350);  // no turn: the vertical thread need not wait
    fmc.set(token::ap_speed, 200);
    fmc.set(token::indicated_airspeed, 250);
    fmc.press(kExec);
    fmc.run().session().run_for(15);
    return events_of(fmc, event::speed_up).size();
}

TEST(FmcGuidance, WithoutThe2000HostSpeedStepsAreWholeKnots) {
    FmcRun fmc({"turn.pln"});
    EXPECT_EQ(speed_steps_sent(fmc), 80u);
    EXPECT_TRUE(events_of(fmc, event::engine1_climb_thrust).empty());
}

TEST(FmcGuidance, WithThe2000HostSpeedStepsAreTensOfKnots) {
    plat::register_window(0x2000, "FS98MAIN", "Microsoft Flight Simulator 2000");
    {
        FmcRun fmc({"turn.pln"});
        EXPECT_EQ(speed_steps_sent(fmc), 8u);
    }
    plat::unregister_window(0x2000);
}

}  // namespace
