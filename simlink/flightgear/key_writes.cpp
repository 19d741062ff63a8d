#include "simlink/flightgear/key_writes.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "sim/earth.h"
#include "sim/engines.h"
#include "sim/key_map.h"
#include "sim/units.h"

namespace simlink::fg {

namespace {

constexpr int lever_count = 4;  // the host's four throttle levers; FlightGear's extra engines take them

std::string engine_control(int n, const char* name) {
    char path[96];
    std::snprintf(path, sizeof path, "/controls/engines/engine[%d]/%s", n, name);
    return path;
}

void set_number(Controls& c, const char* path, double v) { c.write(path, format_value(v)); }

void master_on(Controls& c, std::uint32_t) { c.intent().master = true; }
void master_off(Controls& c, std::uint32_t) { c.intent().master = false; }
void heading_hold_on(Controls& c, std::uint32_t) { c.intent().heading_hold = true; }
void heading_hold_off(Controls& c, std::uint32_t) { c.intent().heading_hold = false; }
void altitude_hold_on(Controls& c, std::uint32_t) { c.intent().altitude_hold = true; }
void altitude_hold_off(Controls& c, std::uint32_t) { c.intent().altitude_hold = false; }
void speed_hold_on(Controls& c, std::uint32_t) { c.intent().speed_hold = true; }
void speed_hold_off(Controls& c, std::uint32_t) { c.intent().speed_hold = false; }
void autothrottle_arm(Controls& c, std::uint32_t) { c.intent().autothrottle_armed = true; }

void heading_bug_by(Controls& c, double d) {
    set_number(c, heading_bug_path, sim::wrap_360(std::round(c.current(heading_bug_path)) + d));
}
void heading_bug_up(Controls& c, std::uint32_t) { heading_bug_by(c, 1); }
void heading_bug_down(Controls& c, std::uint32_t) { heading_bug_by(c, -1); }

void altitude_by(Controls& c, double d) {
    set_number(c, altitude_setting_path,
               std::clamp(c.current(altitude_setting_path) + d, 0.0, sim::max_altitude_setting_ft));
}
void altitude_up(Controls& c, std::uint32_t) { altitude_by(c, 100); }
void altitude_down(Controls& c, std::uint32_t) { altitude_by(c, -100); }

void vertical_speed_by(Controls& c, double d) {
    set_number(c, vertical_speed_setting_path,
               std::clamp(c.current(vertical_speed_setting_path) + d, -sim::max_vertical_speed_setting_fpm,
                          sim::max_vertical_speed_setting_fpm));
}
void vertical_speed_up(Controls& c, std::uint32_t) { vertical_speed_by(c, 100); }
void vertical_speed_down(Controls& c, std::uint32_t) { vertical_speed_by(c, -100); }

void speed_by(Controls& c, double d) {
    set_number(c, speed_setting_path, std::clamp(c.current(speed_setting_path) + d, 0.0, sim::max_speed_setting_kt));
}
void speed_up(Controls& c, std::uint32_t) { speed_by(c, 1); }
void speed_down(Controls& c, std::uint32_t) { speed_by(c, -1); }
void speed_set(Controls& c, std::uint32_t v) {
    set_number(c, speed_setting_path, std::min<double>(v, sim::max_speed_setting_kt));
}

void gear_toggle(Controls& c, std::uint32_t) {
    const char* path = "/controls/gear/gear-down";
    c.write(path, c.current(path) != 0 ? "false" : "true");
}
void speed_brakes(Controls& c, std::uint32_t v) {
    set_number(c, "/controls/flight/speedbrake", std::clamp(v / sim::lever_full, 0.0, 1.0));
}
void throttles_up(Controls& c, std::uint32_t) {
    for (int n = 0; n < lever_count; ++n) {
        const std::string path = engine_control(n, "throttle");
        c.write(path, format_value(std::min(1.0, c.current(path) + sim::throttle_step)));
    }
}
template <int Engine>
void engine_climb_thrust(Controls& c, std::uint32_t) {
    c.write(engine_control(Engine, "throttle"), format_value(sim::climb_thrust));
}
template <int Engine>
void fire_bottle(Controls& c, std::uint32_t) {
    c.write(engine_control(Engine, "fire-bottle-discharge"), "true");
}

// By event number: the FMC's guidance and start sequence, the airspeed indicator's 66037, the gear
// panel's 65570, the fire panel's 65987 and 65992.
constexpr KeyWrite kWrites[] = {
    {65570, "gear lever up/down: /controls/gear/gear-down", gear_toggle},
    {65580, "autopilot master off: every lock cleared", master_off},
    {65597, "throttles up one step: /controls/engines/engine[0..3]/throttle", throttles_up},
    {65786, "speed brakes to value / 16383: /controls/flight/speedbrake", speed_brakes},
    {65792, "autopilot master on: the held locks engage", master_on},
    {65807, "heading hold on: /autopilot/locks/heading dg-heading-hold", heading_hold_on},
    {65808, "altitude hold on: /autopilot/locks/altitude altitude-hold or vertical-speed-hold", altitude_hold_on},
    {65815, "heading hold off", heading_hold_off},
    {65816, "altitude hold off", altitude_hold_off},
    {65860, "autothrottle arm (the link's own switch)", autothrottle_arm},
    {65879, "heading bug +1 degree: /autopilot/settings/heading-bug-deg", heading_bug_up},
    {65880, "heading bug -1 degree", heading_bug_down},
    {65892, "altitude setting +100 ft: /autopilot/settings/target-altitude-ft", altitude_up},
    {65893, "altitude setting -100 ft", altitude_down},
    {65894, "vertical speed setting +100 fpm: /autopilot/settings/vertical-speed-fpm", vertical_speed_up},
    {65895, "vertical speed setting -100 fpm", vertical_speed_down},
    {65896, "speed setting +1 kt: /autopilot/settings/target-speed-kt", speed_up},
    {65897, "speed setting -1 kt", speed_down},
    {65963, "engine 1 to climb thrust", engine_climb_thrust<0>},
    {65968, "engine 2 to climb thrust", engine_climb_thrust<1>},
    {65973, "engine 3 to climb thrust", engine_climb_thrust<2>},
    {65978, "engine 4 to climb thrust", engine_climb_thrust<3>},
    {65987, "engine 1 fire bottle: /controls/engines/engine[0]/fire-bottle-discharge", fire_bottle<0>},
    {65992, "engine 2 fire bottle: /controls/engines/engine[1]/fire-bottle-discharge", fire_bottle<1>},
    {66037, "speed setting to value (kt)", speed_set},
    {66112, "speed hold on: /autopilot/locks/speed speed-with-throttle", speed_hold_on},
    {66113, "speed hold off", speed_hold_off},
};

}  // namespace

std::span<const KeyWrite> key_writes() { return kWrites; }

const KeyWrite* find_key_write(std::uint32_t id) {
    const auto* end = std::end(kWrites);
    const auto* it = std::lower_bound(std::begin(kWrites), end, id, [](const KeyWrite& w, std::uint32_t v) { return w.id < v; });
    return it != end && it->id == id ? it : nullptr;
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
