#include "sim/key_map.h"

#include <algorithm>
#include <cmath>

#include "host/key_events.h"
#include "sim/earth.h"
#include "sim/engines.h"
#include "sim/units.h"

namespace sim {

namespace {

namespace event = gauge::event;

template <KeySwitch S, bool On>
void set(KeyTarget& t, std::uint32_t) {
    t.set_switch(S, On);
}

void heading_bug_by(KeyTarget& t, double d) {
    t.set_setting(KeySetting::heading_bug_deg, wrap_360(std::round(t.setting(KeySetting::heading_bug_deg)) + d));
}
void altitude_by(KeyTarget& t, double d) {
    t.set_setting(KeySetting::altitude_ft,
                  std::clamp(t.setting(KeySetting::altitude_ft) + d, 0.0, max_altitude_setting_ft));
}
void vertical_speed_by(KeyTarget& t, double d) {
    t.set_setting(KeySetting::vertical_speed_fpm,
                  std::clamp(t.setting(KeySetting::vertical_speed_fpm) + d, -max_vertical_speed_setting_fpm,
                             max_vertical_speed_setting_fpm));
}
void speed_by(KeyTarget& t, double d) {
    t.set_setting(KeySetting::speed_kt, std::clamp(t.setting(KeySetting::speed_kt) + d, 0.0, max_speed_setting_kt));
}

void heading_bug_up(KeyTarget& t, std::uint32_t) { heading_bug_by(t, 1); }
void heading_bug_down(KeyTarget& t, std::uint32_t) { heading_bug_by(t, -1); }
void altitude_up(KeyTarget& t, std::uint32_t) { altitude_by(t, 100); }
void altitude_down(KeyTarget& t, std::uint32_t) { altitude_by(t, -100); }
void vertical_speed_up(KeyTarget& t, std::uint32_t) { vertical_speed_by(t, 100); }
void vertical_speed_down(KeyTarget& t, std::uint32_t) { vertical_speed_by(t, -100); }
void speed_up(KeyTarget& t, std::uint32_t) { speed_by(t, 1); }
void speed_down(KeyTarget& t, std::uint32_t) { speed_by(t, -1); }
void speed_set(KeyTarget& t, std::uint32_t v) {
    t.set_setting(KeySetting::speed_kt, std::min<double>(v, max_speed_setting_kt));
}

void gear_toggle(KeyTarget& t, std::uint32_t) { t.set_gear_down(!t.gear_down()); }
void speed_brakes(KeyTarget& t, std::uint32_t v) { t.set_speed_brakes(std::clamp(v / lever_full, 0.0, 1.0)); }
void throttles_up(KeyTarget& t, std::uint32_t) {
    for (int n = 0; n < throttle_count; ++n) t.set_throttle(n, std::min(1.0, t.throttle(n) + throttle_step));
}
template <int Engine>
void engine_climb_thrust(KeyTarget& t, std::uint32_t) {
    t.set_throttle(Engine, climb_thrust);
}

// By event number. The FMC sends most of these (guidance and its start sequence), the airspeed
// indicator sends the speed setting, the gear panel the gear lever.
constexpr KeyBinding kBindings[] = {
    {event::gear_toggle, gear_toggle},
    {event::ap_master_off, set<KeySwitch::master, false>},
    {event::throttles_up, throttles_up},
    {event::speed_brakes, speed_brakes},
    {event::ap_master_on, set<KeySwitch::master, true>},
    {event::heading_hold_on, set<KeySwitch::heading_hold, true>},
    {event::altitude_hold_on, set<KeySwitch::altitude_hold, true>},
    {event::heading_hold_off, set<KeySwitch::heading_hold, false>},
    {event::altitude_hold_off, set<KeySwitch::altitude_hold, false>},
    {event::autothrottle_arm, set<KeySwitch::autothrottle_armed, true>},
    {event::heading_bug_up, heading_bug_up},
    {event::heading_bug_down, heading_bug_down},
    {event::altitude_up, altitude_up},
    {event::altitude_down, altitude_down},
    {event::vertical_speed_up, vertical_speed_up},
    {event::vertical_speed_down, vertical_speed_down},
    {event::speed_up, speed_up},
    {event::speed_down, speed_down},
    {event::engine1_climb_thrust, engine_climb_thrust<0>},
    {event::engine2_climb_thrust, engine_climb_thrust<1>},
    {event::engine3_climb_thrust, engine_climb_thrust<2>},
    {event::engine4_climb_thrust, engine_climb_thrust<3>},
    {event::speed_set, speed_set},
    {event::speed_hold_on, set<KeySwitch::speed_hold, true>},
    {event::speed_hold_off, set<KeySwitch::speed_hold, false>},
};
static_assert(std::ranges::is_sorted(kBindings, {}, &KeyBinding::id), "looked up by binary search");

}  // namespace

std::span<const KeyBinding> key_bindings() { return kBindings; }

const KeyBinding* find_key_binding(std::uint32_t id) {
    const auto* end = std::end(kBindings);
    const auto* it = std::lower_bound(std::begin(kBindings), end, id, [](const KeyBinding& b, std::uint32_t v) { return b.id < v; });
    return it != end && it->id == id ? it : nullptr;
}

void StateKeys::set_switch(KeySwitch s, bool on) {
    AutopilotSettings& ap = s_.autopilot;
    switch (s) {
        case KeySwitch::master:
            if (ap.master && !on) s_.hand_vertical_speed_fpm = s_.vertical_speed_fpm;  // the pilot takes it as it is
            ap.master = on;
            break;
        case KeySwitch::heading_hold: ap.heading_hold = on; break;
        case KeySwitch::altitude_hold: ap.altitude_hold = on; break;
        case KeySwitch::speed_hold: ap.speed_hold = on; break;
        case KeySwitch::autothrottle_armed: ap.autothrottle_armed = on; break;
    }
}

double StateKeys::setting(KeySetting s) const {
    const AutopilotSettings& ap = s_.autopilot;
    switch (s) {
        case KeySetting::heading_bug_deg: return ap.heading_bug_deg;
        case KeySetting::altitude_ft: return ap.altitude_ft;
        case KeySetting::vertical_speed_fpm: return ap.vertical_speed_fpm;
        case KeySetting::speed_kt: return ap.speed_kt;
    }
    return 0;
}

void StateKeys::set_setting(KeySetting s, double value) {
    AutopilotSettings& ap = s_.autopilot;
    switch (s) {
        case KeySetting::heading_bug_deg: ap.heading_bug_deg = value; break;
        case KeySetting::altitude_ft: ap.altitude_ft = value; break;
        case KeySetting::vertical_speed_fpm: ap.vertical_speed_fpm = value; break;
        case KeySetting::speed_kt: ap.speed_kt = value; break;
    }
}

double StateKeys::throttle(int lever) const { return s_.controls.throttle[static_cast<std::size_t>(lever)]; }

void StateKeys::set_throttle(int lever, double position) {
    s_.controls.throttle[static_cast<std::size_t>(lever)] = position;
}

}  // namespace sim
