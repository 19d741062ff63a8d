// Key events as the binding files direct them: settings stepped from the newest value, the gear,
// throttles, speed brakes and fire bottles as writes, the switches as FlightGear's generic
// autopilot locks, and X-Plane's targets as dataref writes.

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

#include "host/key_events.h"
#include "sim_test_support.h"
#include "simlink/engine/key_controls.h"

namespace event = gauge::event;

using namespace simlink;

namespace {

constexpr const char* heading_bug_path = "/autopilot/settings/heading-bug-deg";
constexpr const char* altitude_setting_path = "/autopilot/settings/target-altitude-ft";
constexpr const char* vertical_speed_setting_path = "/autopilot/settings/vertical-speed-fpm";
constexpr const char* speed_setting_path = "/autopilot/settings/target-speed-kt";

struct FakeControls : Controls {
    explicit FakeControls(const char* file = "flightgear-generic") : b(shipped_bindings(file)) {}
    Bindings b;
    std::map<std::string, double> values;
    std::vector<std::pair<std::string, std::string>> writes;
    std::vector<std::string> commands;
    LinkIntent in;
    double current(std::string_view path) const override {
        const auto it = values.find(std::string(path));
        return it == values.end() ? 0.0 : it->second;
    }
    void write(std::string_view path, std::string value) override {
        writes.emplace_back(path, value);
        values[std::string(path)] = value == "true" ? 1 : value == "false" ? 0 : std::atof(value.c_str());
    }
    void command(std::string_view path) override { commands.emplace_back(path); }
    void set_switch(SwitchName s, bool on) override {
        switch (s) {
            case SwitchName::master: in.master = on; break;
            case SwitchName::heading_hold: in.heading_hold = on; break;
            case SwitchName::altitude_hold: in.altitude_hold = on; break;
            case SwitchName::speed_hold: in.speed_hold = on; break;
            case SwitchName::autothrottle_armed: in.autothrottle_armed = on; break;
        }
    }
    void key(std::uint32_t id, std::uint32_t value = 0) { EXPECT_EQ(apply_key_event(b, *this, id, value), KeyResult::done) << id; }
};

std::string_view lock(const char* rule, const LinkIntent& in, double altitude, double setting, double vs) {
    const NamedLockRule* r = find_lock_rule(rule);
    EXPECT_TRUE(r) << rule;
    LockInputs li;
    li.intent = &in;
    li.altitude_ft = altitude;
    li.altitude_setting_ft = setting;
    li.vertical_speed_setting_fpm = vs;
    return r ? r->rule(li) : std::string_view();
}

}  // namespace

TEST(KeyControls, SettingsStepFromTheNewestValue) {
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

TEST(KeyControls, GearThrottlesBrakesAndFireBottles) {
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
    EXPECT_EQ(apply_key_event(c.b, c, 65538, 0), KeyResult::unknown);  // a window toggle stays with the host
}

TEST(KeyControls, SwitchesBecomeGenericAutopilotLocks) {
    FakeControls c;
    c.key(event::heading_hold_on);
    c.key(event::altitude_hold_on);
    c.key(event::speed_hold_on);
    // Holds without the master: only the autothrottle, which needs no master.
    EXPECT_EQ(lock("heading_lock", c.in, 5000, 5000, 0), "");
    EXPECT_EQ(lock("altitude_lock", c.in, 5000, 5000, 0), "");
    EXPECT_EQ(lock("speed_lock", c.in, 5000, 5000, 0), "speed-with-throttle");
    c.key(event::ap_master_on);
    EXPECT_EQ(lock("heading_lock", c.in, 5000, 5000, 0), "dg-heading-hold");
    EXPECT_EQ(lock("altitude_lock", c.in, 5000, 5000, 0), "altitude-hold");
    // Far from the setting with the vertical speed leading there: the vertical speed is flown.
    EXPECT_EQ(lock("altitude_lock", c.in, 5000, 9000, 1500), "vertical-speed-hold");
    EXPECT_EQ(lock("altitude_lock", c.in, 5000, 9000, -1500), "altitude-hold");
    EXPECT_EQ(lock("altitude_lock", c.in, 8800, 9000, 1500), "altitude-hold");
    EXPECT_EQ(lock("altitude_lock", c.in, 9000, 2000, -2000), "vertical-speed-hold");
    c.key(event::ap_master_off);
    EXPECT_EQ(lock("heading_lock", c.in, 5000, 9000, 1500), "");
    EXPECT_EQ(lock("altitude_lock", c.in, 5000, 9000, 1500), "");
    c.key(event::speed_hold_off);
    EXPECT_EQ(lock("speed_lock", c.in, 5000, 9000, 1500), "");
}

TEST(KeyControls, XPlaneTargetsAreDatarefWritesAndGearANumber) {
    FakeControls c("xplane");
    c.values["sim/cockpit2/autopilot/heading_dial_deg_mag_pilot"] = 90;
    c.key(event::heading_bug_up);
    EXPECT_EQ(c.writes.back(), std::make_pair(std::string("sim/cockpit2/autopilot/heading_dial_deg_mag_pilot"), std::string("91")));
    c.key(event::altitude_up);
    EXPECT_EQ(c.writes.back().first, "sim/cockpit2/autopilot/altitude_dial_ft");
    c.key(event::speed_set, 240);
    EXPECT_EQ(c.writes.back(), std::make_pair(std::string("sim/cockpit2/autopilot/airspeed_dial_kts_mach"), std::string("240")));
    c.key(event::vertical_speed_up);
    EXPECT_EQ(c.writes.back().first, "sim/cockpit2/autopilot/vvi_dial_fpm");
    c.values["sim/cockpit2/controls/gear_handle_down"] = 1;
    c.key(event::gear_toggle);
    EXPECT_EQ(c.writes.back(), std::make_pair(std::string("sim/cockpit2/controls/gear_handle_down"), std::string("0")));
    c.key(event::engine3_climb_thrust);
    EXPECT_EQ(c.writes.back().first, "sim/cockpit2/engine/actuators/throttle_ratio[2]");
    c.key(event::engine1_fire_bottle, 1);
    EXPECT_EQ(c.commands.back(), "sim/engines/fire_ext_1_on");
    // The switches are the link's to command (link_test); the events only set them.
    c.key(event::ap_master_on);
    EXPECT_TRUE(c.in.master);
}

TEST(KeyControls, AnEventTheFileLeavesUnboundIsSaidSo) {
    auto b = parse_bindings("simulator xplane\ntoken altitude_ft number as_is sim/a/b\n", "mine");
    ASSERT_TRUE(b) << b.error();
    FakeControls c("xplane");
    c.b = std::move(b).value();
    EXPECT_EQ(apply_key_event(c.b, c, event::heading_bug_up, 0), KeyResult::unbound);
    EXPECT_EQ(apply_key_event(c.b, c, event::gear_toggle, 0), KeyResult::unbound);
    EXPECT_TRUE(c.writes.empty());
    EXPECT_EQ(apply_key_event(c.b, c, event::ap_master_on, 0), KeyResult::done);  // the link's own switch
}
