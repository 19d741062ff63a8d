#include "sim/autopilot.h"

#include <algorithm>
#include <cmath>

#include "sim/aero.h"
#include "sim/approach.h"
#include "sim/earth.h"
#include "sim/kinematics.h"
#include "sim/units.h"

namespace sim {

namespace {

constexpr double heading_gain_per_s = 0.5;    // degrees per second of turn per degree of error
constexpr double speed_gain_per_s = 0.08;     // of the speed error made good per second
constexpr double throttle_rate_per_s = 0.2;   // how fast the autothrottle moves the levers

double heading_command(const AircraftState& s) {
    const AutopilotSettings& ap = s.autopilot;
    if (s.on_ground) return 0.0;
    if (!ap.master) return turn_rate_dps(s.hand_bank_deg, tas_from_ias(s.ias_kt, s.altitude_ft));
    if (!ap.heading_hold) return 0.0;
    const double magnetic = s.true_heading_deg - s.variation_deg;
    const double error = wrap_180(ap.heading_bug_deg - magnetic);
    return std::clamp(heading_gain_per_s * error, -standard_rate_dps, standard_rate_dps);
}

double vertical_command(AircraftState& s) {
    const AutopilotSettings& ap = s.autopilot;
    s.vertical_speed_mode = false;
    if (!ap.master) return s.hand_vertical_speed_fpm;
    if (!ap.altitude_hold) return s.vertical_speed_fpm;
    const double rate = std::fabs(ap.vertical_speed_fpm);
    const double wanted = (ap.altitude_ft - s.altitude_ft) * capture_fpm_per_ft;
    s.vertical_speed_mode = rate > 0 && std::fabs(wanted) >= rate;
    return std::clamp(wanted, -rate, rate);
}

void move_throttles(AircraftState& s, double target, double dt) {
    for (double& t : s.controls.throttle)
        t = std::clamp(t + std::clamp(target - t, -throttle_rate_per_s * dt, throttle_rate_per_s * dt), 0.0, 1.0);
}

void autothrottle(AircraftState& s, double speed_kt, double dt) {
    const double w = weight_lb(s);
    const double tas_fps = std::max(1.0, tas_from_ias(s.ias_kt, s.altitude_ft) * knots_to_fps);
    const double climb_sine = std::clamp(s.vertical_speed_fpm / seconds_per_minute / tas_fps, -1.0, 1.0);
    const double error_fps = (speed_kt - s.ias_kt) * knots_to_fps;
    const double needed = drag_lbf(s) + w * climb_sine + w / gravity_fps2 * speed_gain_per_s * error_fps;
    const double m = mach(s);
    const double n1 = n1_for_thrust(needed / engine_count, s.altitude_ft, m);
    move_throttles(s, (n1 - idle_n1) / (full_n1 - idle_n1), dt);
}

}  // namespace

FlightCommands run_autopilot(AircraftState& s, double dt) {
    const ApproachCommands approach = run_approach(s, dt);
    if (approach.idle) move_throttles(s, 0.0, dt);
    else if (approach.speed_kt) autothrottle(s, *approach.speed_kt, dt);
    else if (s.autopilot.speed_hold && s.autopilot.autothrottle_armed) autothrottle(s, s.autopilot.speed_kt, dt);
    FlightCommands c{heading_command(s), vertical_command(s)};
    if (approach.turn_rate_dps) c.turn_rate_dps = *approach.turn_rate_dps;
    if (approach.vertical_speed_fpm) {
        c.vertical_speed_fpm = *approach.vertical_speed_fpm;
        s.vertical_speed_mode = false;
    }
    c.decrab = approach.decrab;
    c.flare = approach.flare;
    return c;
}

}  // namespace sim
