#include "sim/autopilot.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "sim/aero.h"
#include "sim/earth.h"
#include "sim/kinematics.h"
#include "sim/rate_limiter.h"
#include "sim/units.h"

namespace sim {

namespace {

constexpr double heading_gain_per_s = 0.5;    // degrees per second of turn per degree of error
constexpr double speed_gain_per_s = 0.08;     // of the speed error made good per second
constexpr double thrust_lead_s = 3.0;         // about the engines' spool-up and the levers' travel
// The autothrottle moves the levers, and the speed hold its speed brakes, this far a second.
constexpr RateLimiter throttle_servo{0.2, 0.0, 1.0};
constexpr RateLimiter speed_brake_servo{0.5, 0.0, 1.0};

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

void move_held_speed_brake(AircraftState& s, double target, double dt) {
    s.held_speed_brake = speed_brake_servo.step(s.held_speed_brake, target, dt);
}

void move_throttles(AircraftState& s, double target, double dt) {
    for (double& t : s.controls.throttle) t = throttle_servo.step(t, target, dt);
}

// The vertical speed the aircraft will be flying by the time the engines answer a throttle move:
// the autothrottle sets the thrust for it, so that a level-off does not push the speed up first.
double vertical_speed_ahead(const AircraftState& s, double commanded_fpm, bool capturing) {
    double ahead = vertical_response.step(s.vertical_speed_fpm, commanded_fpm, thrust_lead_s);
    // Closing on the altitude setting, the command shrinks as the altitude comes.
    if (capturing) ahead *= std::exp(-capture_fpm_per_ft / seconds_per_minute * thrust_lead_s);
    return ahead;
}

// The thrust that holds the speed at a vertical speed: the drag, the climb's share of the weight,
// and what makes good the speed error.
double thrust_for_speed(const AircraftState& s, double speed_kt, double vertical_speed_fpm) {
    const double w = weight_lb(s);
    const double tas_fps = std::max(1.0, tas_from_ias(s.ias_kt, s.altitude_ft) * knots_to_fps);
    const double climb_sine = std::clamp(vertical_speed_fpm / seconds_per_minute / tas_fps, -1.0, 1.0);
    const double error_fps = (speed_kt - s.ias_kt) * knots_to_fps;
    return drag_lbf(s) + w * climb_sine + w / gravity_fps2 * speed_gain_per_s * error_fps;
}

// Thrust for the speed, cut ahead of a level-off for the vertical speed the engines will meet;
// where idle is still too much (a descent steeper than the speed allows at idle), the speed brakes,
// quick to move, come out as far as the speed needs now, and go in again as thrust returns.
void autothrottle(AircraftState& s, double speed_kt, double vertical_speed_ahead_fpm, double dt) {
    const double m = mach(s);
    const double needed = thrust_for_speed(s, speed_kt, s.vertical_speed_fpm);
    // A cut is led, a rise is not: the held speed is a limit as well as a target.
    const double set = std::min(needed, thrust_for_speed(s, speed_kt, vertical_speed_ahead_fpm));
    const double n1 = n1_for_thrust(set / engine_count, s.altitude_ft, m);
    move_throttles(s, (n1 - idle_n1) / (full_n1 - idle_n1), dt);
    // Wanting idle, the brakes also take what the engines still give on their way down to it.
    const double idle = engine_count * thrust_at_n1(idle_n1, s.altitude_ft, m);
    double thrust = 0;
    for (const Engine& e : s.engines) thrust += e.thrust_lbf;
    const double surplus = needed < idle ? std::max(idle, thrust) - needed : idle - needed;
    const double wanted = speed_brake_out(s) + surplus / std::max(1.0, full_speed_brake_drag_lbf(s));
    move_held_speed_brake(s, s.on_ground ? 0.0 : wanted, dt);
}

}  // namespace

void hold_speed(AircraftState& s) {
    s.autopilot.speed_hold = true;
    s.autopilot.autothrottle_armed = true;
}

FlightCommands run_autopilot(AircraftState& s, const ApproachCommands& approach, double dt) {
    if (approach.heading_hold_off) s.autopilot.heading_hold = false;
    if (approach.altitude_hold_off) s.autopilot.altitude_hold = false;
    if (approach.full_brakes) s.controls.speed_brake = s.controls.brakes = 1.0;
    if (approach.hold_brakes) s.controls.brakes = 1.0;
    FlightCommands c{heading_command(s), vertical_command(s)};
    bool capturing = s.autopilot.master && s.autopilot.altitude_hold && !s.vertical_speed_mode;
    if (approach.turn_rate_dps) c.turn_rate_dps = *approach.turn_rate_dps;
    if (approach.vertical_speed_fpm) {
        c.vertical_speed_fpm = *approach.vertical_speed_fpm;
        s.vertical_speed_mode = capturing = false;
    }
    c.decrab = approach.decrab;
    c.flare = approach.flare;

    std::optional<double> held_speed;
    if (approach.speed_kt) held_speed = approach.speed_kt;
    else if (s.autopilot.speed_hold && s.autopilot.autothrottle_armed) held_speed = s.autopilot.speed_kt;
    if (approach.idle) move_throttles(s, 0.0, dt);
    else if (held_speed) autothrottle(s, *held_speed, vertical_speed_ahead(s, c.vertical_speed_fpm, capturing), dt);
    if (approach.idle || !held_speed) move_held_speed_brake(s, 0.0, dt);
    if (held_speed && !approach.vertical_speed_fpm) c.fastest_kt = *held_speed + held_speed_margin_kt;
    return c;
}

}  // namespace sim
