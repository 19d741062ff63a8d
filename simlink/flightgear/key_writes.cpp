#include "simlink/flightgear/key_writes.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "host/key_events.h"
#include "sim/earth.h"
#include "sim/engines.h"
#include "sim/key_map.h"
#include "sim/units.h"

namespace simlink::fg {

namespace {

namespace event = gauge::event;

std::string engine_control(int n, const char* name) {
    char path[96];
    std::snprintf(path, sizeof path, "/controls/engines/engine[%d]/%s", n, name);
    return path;
}

void set_number(Controls& c, std::string_view path, double v) { c.write(path, format_value(v)); }

constexpr const char* gear_down_path = "/controls/gear/gear-down";

// The link's controls as what the key events move: the autopilot's switches are the link's own,
// its settings, throttles, gear and speed brakes FlightGear's properties.
class ControlsTarget final : public sim::KeyTarget {
public:
    explicit ControlsTarget(Controls& c) : c_(c) {}
    void set_switch(sim::KeySwitch s, bool on) override {
        LinkIntent& in = c_.intent();
        switch (s) {
            // Master off clears every lock; on, the locks asked for engage (wanted_locks).
            case sim::KeySwitch::master: in.master = on; break;
            case sim::KeySwitch::heading_hold: in.heading_hold = on; break;
            case sim::KeySwitch::altitude_hold: in.altitude_hold = on; break;
            case sim::KeySwitch::speed_hold: in.speed_hold = on; break;
            case sim::KeySwitch::autothrottle_armed: in.autothrottle_armed = on; break;
        }
    }
    double setting(sim::KeySetting s) const override { return c_.current(path_of(s)); }
    void set_setting(sim::KeySetting s, double value) override { set_number(c_, path_of(s), value); }
    // The host's four throttle levers are FlightGear's first four engines; any further engine keeps its own.
    double throttle(int lever) const override { return c_.current(engine_control(lever, "throttle")); }
    void set_throttle(int lever, double position) override {
        set_number(c_, engine_control(lever, "throttle"), position);
    }
    bool gear_down() const override { return c_.current(gear_down_path) != 0; }
    void set_gear_down(bool down) override { c_.write(gear_down_path, down ? "true" : "false"); }
    void set_speed_brakes(double fraction) override { set_number(c_, "/controls/flight/speedbrake", fraction); }

private:
    static const char* path_of(sim::KeySetting s) {
        switch (s) {
            case sim::KeySetting::heading_bug_deg: return heading_bug_path;
            case sim::KeySetting::altitude_ft: return altitude_setting_path;
            case sim::KeySetting::vertical_speed_fpm: return vertical_speed_setting_path;
            case sim::KeySetting::speed_kt: return speed_setting_path;
        }
        return heading_bug_path;
    }
    Controls& c_;
};

template <int Engine>
void fire_bottle(Controls& c, std::uint32_t) {
    c.write(engine_control(Engine, "fire-bottle-discharge"), "true");
}

// Every event the aircraft answers, then the fire panel's bottles, which only the link answers;
// sorted by event number.
std::vector<KeyWrite> make_writes() {
    std::vector<KeyWrite> writes;
    for (const sim::KeyBinding& b : sim::key_bindings()) writes.push_back({b.id, &b, nullptr});
    writes.push_back({event::engine1_fire_bottle, nullptr, fire_bottle<0>});
    writes.push_back({event::engine2_fire_bottle, nullptr, fire_bottle<1>});
    std::ranges::sort(writes, {}, &KeyWrite::id);
    return writes;
}

const std::vector<KeyWrite>& writes() {
    static const std::vector<KeyWrite> all = make_writes();
    return all;
}

}  // namespace

void KeyWrite::apply(Controls& c, std::uint32_t value) const {
    if (binding) {
        ControlsTarget target(c);
        binding->apply(target, value);
    } else {
        link_only(c, value);
    }
}

std::span<const KeyWrite> key_writes() { return writes(); }

const KeyWrite* find_key_write(std::uint32_t id) {
    const auto& all = writes();
    const auto it = std::ranges::lower_bound(all, id, {}, &KeyWrite::id);
    return it != all.end() && it->id == id ? &*it : nullptr;
}

Locks wanted_locks(const LinkIntent& intent, double altitude_ft, double altitude_setting_ft,
                   double vertical_speed_setting_fpm) {
    Locks locks;
    if (intent.master && intent.heading_hold) locks.heading = "dg-heading-hold";
    if (intent.master && intent.altitude_hold) {
        const double to_go = altitude_setting_ft - altitude_ft;
        const bool climbing_there = to_go * vertical_speed_setting_fpm > 0;
        locks.altitude = std::abs(to_go) > altitude_capture_ft && climbing_there ? "vertical-speed-hold" : "altitude-hold";
    }
    if (intent.speed_hold) locks.speed = "speed-with-throttle";
    return locks;
}

std::string format_value(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.10g", v == 0 ? 0.0 : v);
    return text;
}

}  // namespace simlink::fg
