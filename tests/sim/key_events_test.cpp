// Every key event of the mapping table, its repetition, and the events the aircraft does not know.

#include <gtest/gtest.h>

#include <functional>

#include "host/key_events.h"
#include "sim/engines.h"
#include "sim/key_map.h"
#include "sim_test_util.h"

namespace event = gauge::event;

using namespace simtest;

namespace {

struct Case {
    std::uint32_t id;
    std::uint32_t value;
    std::function<bool(const sim::AircraftState&)> holds;
    const char* what;
};

}  // namespace

TEST(KeyEvents, EveryMappedEventActs) {
    const Case cases[] = {
        {event::gear_toggle, 0, [](const auto& s) { return !s.controls.gear_down; }, "gear lever up"},
        {event::ap_master_off, 0, [](const auto& s) { return !s.autopilot.master; }, "master off"},
        {event::throttles_up, 0, [](const auto& s) { return s.controls.throttle[0] == 0.5 + sim::throttle_step; }, "throttles up"},
        {event::speed_brakes, 8000, [](const auto& s) { return std::abs(s.controls.speed_brake - 8000 / 16383.0) < 1e-12; }, "speed brakes"},
        {event::ap_master_on, 0, [](const auto& s) { return s.autopilot.master; }, "master on"},
        {event::heading_hold_on, 0, [](const auto& s) { return s.autopilot.heading_hold; }, "heading hold on"},
        {event::altitude_hold_on, 0, [](const auto& s) { return s.autopilot.altitude_hold; }, "altitude hold on"},
        {event::heading_hold_off, 0, [](const auto& s) { return !s.autopilot.heading_hold; }, "heading hold off"},
        {event::altitude_hold_off, 0, [](const auto& s) { return !s.autopilot.altitude_hold; }, "altitude hold off"},
        {event::autothrottle_arm, 0, [](const auto& s) { return s.autopilot.autothrottle_armed; }, "autothrottle arm"},
        {event::heading_bug_up, 0, [](const auto& s) { return s.autopilot.heading_bug_deg == 0; }, "bug 359 + 1 wraps to 0"},
        {event::heading_bug_down, 0, [](const auto& s) { return s.autopilot.heading_bug_deg == 358; }, "bug - 1"},
        {event::altitude_up, 0, [](const auto& s) { return s.autopilot.altitude_ft == 5100; }, "altitude + 100"},
        {event::altitude_down, 0, [](const auto& s) { return s.autopilot.altitude_ft == 4900; }, "altitude - 100"},
        {event::vertical_speed_up, 0, [](const auto& s) { return s.autopilot.vertical_speed_fpm == 100; }, "vertical speed + 100"},
        {event::vertical_speed_down, 0, [](const auto& s) { return s.autopilot.vertical_speed_fpm == -100; }, "vertical speed - 100"},
        {event::speed_up, 0, [](const auto& s) { return s.autopilot.speed_kt == 251; }, "speed + 1"},
        {event::speed_down, 0, [](const auto& s) { return s.autopilot.speed_kt == 249; }, "speed - 1"},
        {event::engine1_climb_thrust, 0, [](const auto& s) { return s.controls.throttle[0] == sim::climb_thrust && s.controls.throttle[1] == 0.5; }, "engine 1"},
        {event::engine2_climb_thrust, 0, [](const auto& s) { return s.controls.throttle[1] == sim::climb_thrust && s.controls.throttle[0] == 0.5; }, "engine 2"},
        {event::engine3_climb_thrust, 0, [](const auto& s) { return s.controls.throttle[2] == sim::climb_thrust; }, "engine 3"},
        {event::engine4_climb_thrust, 0, [](const auto& s) { return s.controls.throttle[3] == sim::climb_thrust; }, "engine 4"},
        {event::speed_set, 312, [](const auto& s) { return s.autopilot.speed_kt == 312; }, "speed to value"},
        {event::speed_hold_on, 0, [](const auto& s) { return s.autopilot.speed_hold; }, "speed hold on"},
        {event::speed_hold_off, 0, [](const auto& s) { return !s.autopilot.speed_hold; }, "speed hold off"},
    };
    ASSERT_EQ(sim::key_bindings().size(), std::size(cases)) << "a mapped event without a case";
    for (const Case& c : cases) {
        sim::Aircraft a = airborne(5000, 250);
        auto& s = a.state();
        s.controls.throttle.fill(0.5);
        s.controls.gear_down = true;
        s.autopilot = {};
        s.autopilot.heading_bug_deg = 359, s.autopilot.altitude_ft = 5000, s.autopilot.speed_kt = 250;
        const bool on = c.id == event::ap_master_off || c.id == event::heading_hold_off ||
                        c.id == event::altitude_hold_off || c.id == event::speed_hold_off;
        s.autopilot.master = s.autopilot.heading_hold = s.autopilot.altitude_hold = s.autopilot.speed_hold = on;
        EXPECT_TRUE(a.apply_key_event(c.id, c.value)) << c.id;
        EXPECT_TRUE(c.holds(s)) << c.what << " (" << c.id << ")";
        EXPECT_NE(sim::find_key_binding(c.id), nullptr);
    }
}

TEST(KeyEvents, SwitchEventsRepeatedEveryCycleChangeNothingMore) {
    sim::Aircraft a = airborne(5000, 250);
    for (int i = 0; i < 50; ++i)
        send(a, event::ap_master_on), send(a, event::heading_hold_on), send(a, event::autothrottle_arm),
            send(a, event::speed_hold_on), send(a, event::engine1_climb_thrust);
    EXPECT_TRUE(a.state().autopilot.master);
    EXPECT_TRUE(a.state().autopilot.heading_hold);
    EXPECT_TRUE(a.state().autopilot.autothrottle_armed);
    EXPECT_TRUE(a.state().autopilot.speed_hold);
    EXPECT_EQ(a.state().controls.throttle[0], sim::climb_thrust);
}

TEST(KeyEvents, SettingsStayInTheirRanges) {
    sim::Aircraft a = airborne(5000, 250);
    send(a, event::altitude_down, 100);
    EXPECT_EQ(a.state().autopilot.altitude_ft, 0.0);
    send(a, event::altitude_up, 600);
    EXPECT_EQ(a.state().autopilot.altitude_ft, sim::max_altitude_setting_ft);
    send(a, event::vertical_speed_down, 200);
    EXPECT_EQ(a.state().autopilot.vertical_speed_fpm, -sim::max_vertical_speed_setting_fpm);
    send(a, event::throttles_up, 40);
    EXPECT_EQ(a.state().controls.throttle[0], 1.0);
    send(a, event::speed_brakes, 1, 40000);
    EXPECT_EQ(a.state().controls.speed_brake, 1.0);
    send(a, event::speed_set, 1, 5000);
    EXPECT_EQ(a.state().autopilot.speed_kt, sim::max_speed_setting_kt);
}

TEST(KeyEvents, UnknownEventsAreIgnoredAndLoggedOnce) {
    sim::Aircraft a = airborne(5000, 250);
    std::vector<std::string> lines;
    a.log = [&](const std::string& l) { lines.push_back(l); };
    const sim::AircraftState before = a.state();
    EXPECT_FALSE(a.apply_key_event(event::engine1_fire_bottle, 1));
    EXPECT_FALSE(a.apply_key_event(event::engine1_fire_bottle, 1));
    EXPECT_FALSE(a.apply_key_event(event::engine2_fire_bottle, 0));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NE(lines[0].find("65987"), std::string::npos);
    EXPECT_EQ(a.state().autopilot.speed_kt, before.autopilot.speed_kt);
    EXPECT_EQ(a.state().controls.throttle, before.controls.throttle);
}
