#include "sim/key_map.h"

#include <algorithm>
#include <cmath>

#include "sim/earth.h"
#include "sim/engines.h"
#include "sim/units.h"

namespace sim {

namespace {

void master_on(AircraftState& s, std::uint32_t) { s.autopilot.master = true; }
void master_off(AircraftState& s, std::uint32_t) {
    if (s.autopilot.master) s.hand_vertical_speed_fpm = s.vertical_speed_fpm;  // the pilot takes it as it is
    s.autopilot.master = false;
}
void heading_hold_on(AircraftState& s, std::uint32_t) { s.autopilot.heading_hold = true; }
void heading_hold_off(AircraftState& s, std::uint32_t) { s.autopilot.heading_hold = false; }
void altitude_hold_on(AircraftState& s, std::uint32_t) { s.autopilot.altitude_hold = true; }
void altitude_hold_off(AircraftState& s, std::uint32_t) { s.autopilot.altitude_hold = false; }
void autothrottle_arm(AircraftState& s, std::uint32_t) { s.autopilot.autothrottle_armed = true; }
void speed_hold_on(AircraftState& s, std::uint32_t) { s.autopilot.speed_hold = true; }
void speed_hold_off(AircraftState& s, std::uint32_t) { s.autopilot.speed_hold = false; }

template <int Engine>
void engine_climb_thrust(AircraftState& s, std::uint32_t) {
    s.controls.throttle[Engine] = climb_thrust;
}
void speed_brakes(AircraftState& s, std::uint32_t v) { s.controls.speed_brake = std::clamp(v / lever_full, 0.0, 1.0); }
void throttles_up(AircraftState& s, std::uint32_t) {
    for (double& t : s.controls.throttle) t = std::min(1.0, t + throttle_step);
}

void heading_bug_by(AircraftState& s, double d) {
    s.autopilot.heading_bug_deg = wrap_360(std::round(s.autopilot.heading_bug_deg) + d);
}
void heading_bug_up(AircraftState& s, std::uint32_t) { heading_bug_by(s, 1); }
void heading_bug_down(AircraftState& s, std::uint32_t) { heading_bug_by(s, -1); }
void altitude_by(AircraftState& s, double d) {
    s.autopilot.altitude_ft = std::clamp(s.autopilot.altitude_ft + d, 0.0, max_altitude_setting_ft);
}
void altitude_up(AircraftState& s, std::uint32_t) { altitude_by(s, 100); }
void altitude_down(AircraftState& s, std::uint32_t) { altitude_by(s, -100); }
void vertical_speed_by(AircraftState& s, double d) {
    s.autopilot.vertical_speed_fpm =
        std::clamp(s.autopilot.vertical_speed_fpm + d, -max_vertical_speed_setting_fpm, max_vertical_speed_setting_fpm);
}
void vertical_speed_up(AircraftState& s, std::uint32_t) { vertical_speed_by(s, 100); }
void vertical_speed_down(AircraftState& s, std::uint32_t) { vertical_speed_by(s, -100); }
void speed_by(AircraftState& s, double d) {
    s.autopilot.speed_kt = std::clamp(s.autopilot.speed_kt + d, 0.0, max_speed_setting_kt);
}
void speed_up(AircraftState& s, std::uint32_t) { speed_by(s, 1); }
void speed_down(AircraftState& s, std::uint32_t) { speed_by(s, -1); }
void speed_set(AircraftState& s, std::uint32_t v) { s.autopilot.speed_kt = std::min<double>(v, max_speed_setting_kt); }
void gear_toggle(AircraftState& s, std::uint32_t) { s.controls.gear_down = !s.controls.gear_down; }

// By event number. The FMC sends most of these (guidance and its start sequence), the airspeed
// indicator sends 66037, the gear panel 65570.
constexpr KeyBinding kBindings[] = {
    {65570, "gear lever up/down", gear_toggle},
    {65580, "autopilot master off", master_off},
    {65597, "throttles up one step", throttles_up},
    {65786, "speed brakes to value / 16383", speed_brakes},
    {65792, "autopilot master on", master_on},
    {65807, "heading hold on", heading_hold_on},
    {65808, "altitude hold on", altitude_hold_on},
    {65815, "heading hold off", heading_hold_off},
    {65816, "altitude hold off", altitude_hold_off},
    {65860, "autothrottle arm", autothrottle_arm},
    {65879, "heading bug +1 degree", heading_bug_up},
    {65880, "heading bug -1 degree", heading_bug_down},
    {65892, "altitude setting +100 ft", altitude_up},
    {65893, "altitude setting -100 ft", altitude_down},
    {65894, "vertical speed setting +100 fpm", vertical_speed_up},
    {65895, "vertical speed setting -100 fpm", vertical_speed_down},
    {65896, "speed setting +1 kt", speed_up},
    {65897, "speed setting -1 kt", speed_down},
    {65963, "engine 1 to climb thrust", engine_climb_thrust<0>},
    {65968, "engine 2 to climb thrust", engine_climb_thrust<1>},
    {65973, "engine 3 to climb thrust", engine_climb_thrust<2>},
    {65978, "engine 4 to climb thrust", engine_climb_thrust<3>},
    {66037, "speed setting to value (kt)", speed_set},
    {66112, "speed hold on", speed_hold_on},
    {66113, "speed hold off", speed_hold_off},
};

}  // namespace

std::span<const KeyBinding> key_bindings() { return kBindings; }

const KeyBinding* find_key_binding(std::uint32_t id) {
    const auto* end = std::end(kBindings);
    const auto* it = std::lower_bound(std::begin(kBindings), end, id, [](const KeyBinding& b, std::uint32_t v) { return b.id < v; });
    return it != end && it->id == id ? it : nullptr;
}

}  // namespace sim
