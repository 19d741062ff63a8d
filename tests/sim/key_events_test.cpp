// Every key event of the mapping table, its repetition, and the events the aircraft does not know.

#include <gtest/gtest.h>

#include <functional>

#include "sim/engines.h"
#include "sim/key_map.h"
#include "sim_test_util.h"

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
        {65570, 0, [](const auto& s) { return !s.controls.gear_down; }, "gear lever up"},
        {65580, 0, [](const auto& s) { return !s.autopilot.master; }, "master off"},
        {65597, 0, [](const auto& s) { return s.controls.throttle[0] == 0.5 + sim::throttle_step; }, "throttles up"},
        {65786, 8000, [](const auto& s) { return std::abs(s.controls.speed_brake - 8000 / 16383.0) < 1e-12; }, "speed brakes"},
        {65792, 0, [](const auto& s) { return s.autopilot.master; }, "master on"},
        {65807, 0, [](const auto& s) { return s.autopilot.heading_hold; }, "heading hold on"},
        {65808, 0, [](const auto& s) { return s.autopilot.altitude_hold; }, "altitude hold on"},
        {65815, 0, [](const auto& s) { return !s.autopilot.heading_hold; }, "heading hold off"},
        {65816, 0, [](const auto& s) { return !s.autopilot.altitude_hold; }, "altitude hold off"},
        {65860, 0, [](const auto& s) { return s.autopilot.autothrottle_armed; }, "autothrottle arm"},
        {65879, 0, [](const auto& s) { return s.autopilot.heading_bug_deg == 0; }, "bug 359 + 1 wraps to 0"},
        {65880, 0, [](const auto& s) { return s.autopilot.heading_bug_deg == 358; }, "bug - 1"},
        {65892, 0, [](const auto& s) { return s.autopilot.altitude_ft == 5100; }, "altitude + 100"},
        {65893, 0, [](const auto& s) { return s.autopilot.altitude_ft == 4900; }, "altitude - 100"},
        {65894, 0, [](const auto& s) { return s.autopilot.vertical_speed_fpm == 100; }, "vertical speed + 100"},
        {65895, 0, [](const auto& s) { return s.autopilot.vertical_speed_fpm == -100; }, "vertical speed - 100"},
        {65896, 0, [](const auto& s) { return s.autopilot.speed_kt == 251; }, "speed + 1"},
        {65897, 0, [](const auto& s) { return s.autopilot.speed_kt == 249; }, "speed - 1"},
        {65963, 0, [](const auto& s) { return s.controls.throttle[0] == sim::climb_thrust && s.controls.throttle[1] == 0.5; }, "engine 1"},
        {65968, 0, [](const auto& s) { return s.controls.throttle[1] == sim::climb_thrust && s.controls.throttle[0] == 0.5; }, "engine 2"},
        {65973, 0, [](const auto& s) { return s.controls.throttle[2] == sim::climb_thrust; }, "engine 3"},
        {65978, 0, [](const auto& s) { return s.controls.throttle[3] == sim::climb_thrust; }, "engine 4"},
        {66037, 312, [](const auto& s) { return s.autopilot.speed_kt == 312; }, "speed to value"},
        {66112, 0, [](const auto& s) { return s.autopilot.speed_hold; }, "speed hold on"},
        {66113, 0, [](const auto& s) { return !s.autopilot.speed_hold; }, "speed hold off"},
    };
    ASSERT_EQ(sim::key_bindings().size(), std::size(cases)) << "a mapped event without a case";
    for (const Case& c : cases) {
        sim::Aircraft a = airborne(5000, 250);
        auto& s = a.state();
        s.controls.throttle.fill(0.5);
        s.controls.gear_down = true;
        s.autopilot = {};
        s.autopilot.heading_bug_deg = 359, s.autopilot.altitude_ft = 5000, s.autopilot.speed_kt = 250;
        const bool on = c.id == 65580 || c.id == 65815 || c.id == 65816 || c.id == 66113;
        s.autopilot.master = s.autopilot.heading_hold = s.autopilot.altitude_hold = s.autopilot.speed_hold = on;
        EXPECT_TRUE(a.apply_key_event(c.id, c.value)) << c.id;
        EXPECT_TRUE(c.holds(s)) << c.what << " (" << c.id << ")";
        EXPECT_NE(sim::find_key_binding(c.id), nullptr);
    }
}

TEST(KeyEvents, SwitchEventsRepeatedEveryCycleChangeNothingMore) {
    sim::Aircraft a = airborne(5000, 250);
    for (int i = 0; i < 50; ++i) send(a, 65792), send(a, 65807), send(a, 65860), send(a, 66112), send(a, 65963);
    EXPECT_TRUE(a.state().autopilot.master);
    EXPECT_TRUE(a.state().autopilot.heading_hold);
    EXPECT_TRUE(a.state().autopilot.autothrottle_armed);
    EXPECT_TRUE(a.state().autopilot.speed_hold);
    EXPECT_EQ(a.state().controls.throttle[0], sim::climb_thrust);
}

TEST(KeyEvents, SettingsStayInTheirRanges) {
    sim::Aircraft a = airborne(5000, 250);
    send(a, 65893, 100);
    EXPECT_EQ(a.state().autopilot.altitude_ft, 0.0);
    send(a, 65892, 600);
    EXPECT_EQ(a.state().autopilot.altitude_ft, sim::max_altitude_setting_ft);
    send(a, 65895, 200);
    EXPECT_EQ(a.state().autopilot.vertical_speed_fpm, -sim::max_vertical_speed_setting_fpm);
    send(a, 65597, 40);
    EXPECT_EQ(a.state().controls.throttle[0], 1.0);
    send(a, 65786, 1, 40000);
    EXPECT_EQ(a.state().controls.speed_brake, 1.0);
    send(a, 66037, 1, 5000);
    EXPECT_EQ(a.state().autopilot.speed_kt, sim::max_speed_setting_kt);
}

TEST(KeyEvents, UnknownEventsAreIgnoredAndLoggedOnce) {
    sim::Aircraft a = airborne(5000, 250);
    std::vector<std::string> lines;
    a.log = [&](const std::string& l) { lines.push_back(l); };
    const sim::AircraftState before = a.state();
    EXPECT_FALSE(a.apply_key_event(65987, 1));
    EXPECT_FALSE(a.apply_key_event(65987, 1));
    EXPECT_FALSE(a.apply_key_event(65992, 0));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NE(lines[0].find("65987"), std::string::npos);
    EXPECT_EQ(a.state().autopilot.speed_kt, before.autopilot.speed_kt);
    EXPECT_EQ(a.state().controls.throttle, before.controls.throttle);
}
