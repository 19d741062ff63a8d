// Key events as FlightGear property writes, and the autopilot locks the link's switches ask for.

#include <gtest/gtest.h>

#include <map>

#include "host/key_events.h"
#include "simlink/flightgear/key_writes.h"

namespace event = gauge::event;

using namespace simlink::fg;

namespace {

struct FakeControls : Controls {
    std::map<std::string, double> values;
    std::vector<std::pair<std::string, std::string>> writes;
    LinkIntent in;
    double current(std::string_view path) const override {
        const auto it = values.find(std::string(path));
        return it == values.end() ? 0.0 : it->second;
    }
    void write(std::string_view path, std::string value) override {
        writes.emplace_back(path, value);
        values[std::string(path)] = value == "true" ? 1 : value == "false" ? 0 : std::atof(value.c_str());
    }
    LinkIntent& intent() override { return in; }
    void key(std::uint32_t id, std::uint32_t value = 0) {
        const KeyWrite* w = find_key_write(id);
        ASSERT_TRUE(w) << id;
        w->apply(*this, value);
    }
};

}  // namespace

TEST(KeyWrites, SettingsStepFromTheNewestValue) {
    FakeControls c;
    c.values[heading_bug_path] = 359.4;
    c.key(event::heading_bug_up);
    c.key(event::heading_bug_up);
    EXPECT_EQ(c.values[heading_bug_path], 1.0);  // rounded, then wrapped past north
    c.key(event::heading_bug_down);
    c.key(event::heading_bug_down);
    EXPECT_EQ(c.values[heading_bug_path], 359.0);
    EXPECT_EQ(c.writes.back(), std::make_pair(std::string(heading_bug_path), std::string("359")));

    c.key(event::altitude_down);
    EXPECT_EQ(c.values[altitude_setting_path], 0.0);  // never below 0
    c.values[altitude_setting_path] = 49950;
    c.key(event::altitude_up);
    EXPECT_EQ(c.values[altitude_setting_path], 50000.0);
    c.key(event::vertical_speed_down);
    EXPECT_EQ(c.values[vertical_speed_setting_path], -100.0);
    c.key(event::speed_up);
    EXPECT_EQ(c.values[speed_setting_path], 1.0);
    c.key(event::speed_set, 250);
    EXPECT_EQ(c.values[speed_setting_path], 250.0);
    c.key(event::speed_set, 5000);
    EXPECT_EQ(c.values[speed_setting_path], 999.0);
}

TEST(KeyWrites, GearThrottlesBrakesAndFireBottles) {
    FakeControls c;
    c.values["/controls/gear/gear-down"] = 1;
    c.key(event::gear_toggle);
    EXPECT_EQ(c.writes.back().second, "false");
    c.key(event::gear_toggle);
    EXPECT_EQ(c.writes.back().second, "true");
    c.values["/controls/engines/engine[1]/throttle"] = 0.98;
    c.key(event::throttles_up);
    EXPECT_NEAR(c.values["/controls/engines/engine[0]/throttle"], 0.05, 1e-12);
    EXPECT_EQ(c.values["/controls/engines/engine[1]/throttle"], 1.0);
    c.key(event::engine2_climb_thrust);
    EXPECT_EQ(c.values["/controls/engines/engine[1]/throttle"], 0.92);
    c.key(event::speed_brakes, 16383);
    EXPECT_EQ(c.values["/controls/flight/speedbrake"], 1.0);
    c.key(event::engine2_fire_bottle, 1);
    EXPECT_EQ(c.writes.back(), std::make_pair(std::string("/controls/engines/engine[1]/fire-bottle-discharge"), std::string("true")));
    EXPECT_FALSE(find_key_write(65538));  // a window toggle stays with the host
}

TEST(KeyWrites, SwitchesBecomeGenericAutopilotLocks) {
    FakeControls c;
    c.key(event::heading_hold_on);
    c.key(event::altitude_hold_on);
    c.key(event::speed_hold_on);
    // Holds without the master: only the autothrottle, which needs no master.
    Locks l = wanted_locks(c.in, 5000, 5000, 0);
    EXPECT_EQ(l.heading, "");
    EXPECT_EQ(l.altitude, "");
    EXPECT_EQ(l.speed, "speed-with-throttle");
    c.key(event::ap_master_on);
    l = wanted_locks(c.in, 5000, 5000, 0);
    EXPECT_EQ(l.heading, "dg-heading-hold");
    EXPECT_EQ(l.altitude, "altitude-hold");
    // Far from the setting with the vertical speed leading there: the vertical speed is flown.
    EXPECT_EQ(wanted_locks(c.in, 5000, 9000, 1500).altitude, "vertical-speed-hold");
    EXPECT_EQ(wanted_locks(c.in, 5000, 9000, -1500).altitude, "altitude-hold");
    EXPECT_EQ(wanted_locks(c.in, 8800, 9000, 1500).altitude, "altitude-hold");
    EXPECT_EQ(wanted_locks(c.in, 9000, 2000, -2000).altitude, "vertical-speed-hold");
    c.key(event::ap_master_off);
    EXPECT_EQ(wanted_locks(c.in, 5000, 9000, 1500), (Locks{"", "", "speed-with-throttle"}));
    c.key(event::speed_hold_off);
    EXPECT_EQ(wanted_locks(c.in, 5000, 9000, 1500), Locks{});
}
