#include "sim/kinematics.h"

#include <algorithm>
#include <cmath>

#include "sim/aero.h"
#include "sim/earth.h"
#include "sim/units.h"

namespace sim {

namespace {

// g / knots_to_fps in degrees: turn rate (deg/s) = this x tan(bank) / TAS (kt).
constexpr double turn_constant = gravity_fps2 / knots_to_fps * radians_to_degrees;
constexpr double rolling_friction = 0.02;
constexpr double braking_friction = 0.25;
constexpr double speed_trade_per_s = 0.1;  // how hard a climb or descent may push the speed toward its limit
constexpr RateLimiter roll{roll_rate_dps, -max_bank_deg, max_bank_deg};
constexpr RateLimiter decrab_yaw{decrab_rate_dps};

double total_thrust(const AircraftState& s) {
    double t = 0;
    for (const Engine& e : s.engines) t += e.thrust_lbf;
    return t;
}

void move(AircraftState& s, double tas_kt, double dt) {
    // The ground vector: air vector along the air path (the heading and the slip) plus the wind,
    // which blows from wind_from.
    const double h = (s.true_heading_deg + s.slip_deg) * degrees_to_radians;
    const double w = (s.wind_from_deg + 180.0) * degrees_to_radians;
    const double north = tas_kt * std::cos(h) + s.wind_kt * std::cos(w);
    const double east = tas_kt * std::sin(h) + s.wind_kt * std::sin(w);
    const double ground_kt = std::hypot(north, east);
    s.ground_speed_kt = ground_kt;
    if (ground_kt <= 0) return;
    s.ground_track_deg = wrap_360(std::atan2(east, north) * radians_to_degrees);
    s.position = travel(s.position, s.ground_track_deg, ground_kt * dt / seconds_per_hour);
}

double headwind_kt(const AircraftState& s) {
    return s.wind_kt * std::cos((s.wind_from_deg - s.true_heading_deg) * degrees_to_radians);
}

void record_touchdown(AircraftState& s, double elapsed) {
    Touchdown t;
    t.t = elapsed;
    t.position = s.position;
    t.true_heading_deg = s.true_heading_deg;
    t.sink_fpm = -s.vertical_speed_fpm;
    t.ias_kt = s.ias_kt;
    t.ground_speed_kt = s.ground_speed_kt;
    s.touchdown = t;
}

// On its wheels the aircraft rolls where its nose points, at its own speed over the ground: the
// wind makes its airspeed, not its motion, and a standing aircraft stays where it is (the wind's
// push on it is far below what its friction holds, let alone its brakes).
void ground_roll(AircraftState& s, const FlightCommands& c, double dt) {
    const double w = weight_lb(s);
    const double headwind = headwind_kt(s);
    s.ias_kt = ias_from_tas(std::max(0.0, s.ground_speed_kt + headwind), s.altitude_ft);
    const double thrust = total_thrust(s), drag = drag_lbf(s);
    bool idle = true;
    for (int i = 0; i < engine_count; ++i) idle = idle && s.controls.throttle[static_cast<std::size_t>(i)] < 0.05;
    const double brakes = idle ? 1.0 : std::clamp(s.controls.brakes, 0.0, 1.0);
    const double friction = (rolling_friction + brakes * (braking_friction - rolling_friction)) * w;
    double net = thrust - drag - friction;
    if (s.ground_speed_kt <= 0 && net < 0) net = 0;  // friction holds a standing aircraft, it does not push it back
    s.ground_speed_kt = std::max(0.0, s.ground_speed_kt + gravity_fps2 * net / w / knots_to_fps * dt);
    s.ias_kt = ias_from_tas(std::max(0.0, s.ground_speed_kt + headwind), s.altitude_ft);
    s.altitude_ft = s.ground_elevation_ft;
    s.vertical_speed_fpm = 0;
    s.bank_deg = 0;
    s.pitch_deg = 0;
    s.slip_deg = 0;
    if (s.ground_speed_kt > 0)
        s.true_heading_deg = wrap_360(s.true_heading_deg + std::clamp(c.turn_rate_dps, -max_steering_dps, max_steering_dps) * dt);
    s.ground_track_deg = s.true_heading_deg;
    if (s.ground_speed_kt > 0) s.position = travel(s.position, s.true_heading_deg, s.ground_speed_kt * dt / seconds_per_hour);
    if (s.ias_kt >= rotation_factor * stall_speed_kt(w, s.flap_position) && thrust > drag) {
        s.on_ground = false;
        s.hand_vertical_speed_fpm = initial_climb_fpm;
    }
}

void turn(AircraftState& s, double rate_cmd, double tas_kt, double dt) {
    const double rate_max = std::min(standard_rate_dps, turn_rate_dps(max_bank_deg, tas_kt));
    const double bank_cmd = bank_for_rate_deg(std::clamp(rate_cmd, -rate_max, rate_max), tas_kt);
    s.bank_deg = roll.step(s.bank_deg, bank_cmd, dt);
    s.true_heading_deg = wrap_360(s.true_heading_deg + turn_rate_dps(s.bank_deg, tas_kt) * dt);
}

// Yaws the nose toward the ground track, the air path held by the slip; without a decrab the
// slip washes out, the nose and the path together again.
void yaw(AircraftState& s, bool decrab, double dt) {
    if (decrab) {
        const double turn = decrab_yaw.limit(wrap_180(s.ground_track_deg - s.true_heading_deg), dt);
        s.true_heading_deg = wrap_360(s.true_heading_deg + turn);
        s.slip_deg -= turn;
    } else {
        s.slip_deg = decrab_yaw.step(s.slip_deg, 0.0, dt);
    }
}

void fly(AircraftState& s, const FlightCommands& c, double dt, double elapsed) {
    const double w = weight_lb(s);
    const double tas_kt = std::max(1.0, tas_from_ias(s.ias_kt, s.altitude_ft));
    const double tas_fps = tas_kt * knots_to_fps;
    const double climb_sine = std::clamp(s.vertical_speed_fpm / seconds_per_minute / tas_fps, -1.0, 1.0);
    const double accel_fps2 = gravity_fps2 * ((total_thrust(s) - drag_lbf(s)) / w - climb_sine);
    s.ias_kt = std::max(0.0, s.ias_kt + accel_fps2 / knots_to_fps * (s.ias_kt / tas_kt) * dt);

    const VerticalLimits limits = vertical_limits(s, c.flare ? flare_speed_factor : min_speed_factor, c.fastest_kt);
    const double vs_cmd = std::clamp(c.vertical_speed_fpm, limits.lowest_fpm, limits.highest_fpm);
    s.vertical_speed_fpm = vertical_response.step(s.vertical_speed_fpm, vs_cmd, dt);
    s.altitude_ft += s.vertical_speed_fpm * dt / seconds_per_minute;

    turn(s, c.turn_rate_dps, tas_kt, dt);
    yaw(s, c.decrab, dt);
    const double path_deg = std::asin(std::clamp(s.vertical_speed_fpm / seconds_per_minute / tas_fps, -1.0, 1.0)) * radians_to_degrees;
    const double alpha_deg = std::clamp((lift_coefficient(s) - 0.8 * s.flap_position) / 0.11 - 2.0, -5.0, 15.0);
    s.pitch_deg = path_deg + alpha_deg;
    move(s, tas_kt, dt);

    if (s.altitude_ft <= s.ground_elevation_ft && s.vertical_speed_fpm <= 0) {
        record_touchdown(s, elapsed);
        s.on_ground = true;
        s.slip_deg = 0;
        // From here on it rolls along its nose at the speed the air leaves it.
        s.ground_speed_kt = std::max(0.0, tas_kt - headwind_kt(s));
        s.ground_track_deg = s.true_heading_deg;
        s.altitude_ft = s.ground_elevation_ft;
        s.vertical_speed_fpm = s.hand_vertical_speed_fpm = 0;
        s.bank_deg = s.pitch_deg = 0;
    }
}

}  // namespace

double turn_rate_dps(double bank_deg, double tas_kt) {
    return turn_constant * std::tan(bank_deg * degrees_to_radians) / std::max(1.0, tas_kt);
}

double bank_for_rate_deg(double rate_dps, double tas_kt) {
    return std::atan(rate_dps * std::max(1.0, tas_kt) / turn_constant) * radians_to_degrees;
}

VerticalLimits vertical_limits(const AircraftState& s, double slowest_factor, double fastest_kt) {
    const double w = weight_lb(s);
    const double tas_fps = std::max(1.0, tas_from_ias(s.ias_kt, s.altitude_ft)) * knots_to_fps;
    const double excess = (total_thrust(s) - drag_lbf(s)) / w;
    const double slowest = slowest_factor * stall_speed_kt(w, s.flap_position);
    const double fastest = max_speed_kt(s.altitude_ft);
    const double trade_up = speed_trade_per_s * std::max(0.0, s.ias_kt - slowest) * knots_to_fps / gravity_fps2;
    const double trade_down = speed_trade_per_s * std::max(0.0, fastest - s.ias_kt) * knots_to_fps / gravity_fps2;
    const double highest = seconds_per_minute * tas_fps * (excess + trade_up);
    double lowest = seconds_per_minute * tas_fps * (excess - trade_down);
    if (fastest_kt > 0) {
        // Over a held speed the descent eases until the aircraft slows toward it (but does not
        // climb for it).
        const double trade = speed_trade_per_s * (fastest_kt - s.ias_kt) * knots_to_fps / gravity_fps2;
        lowest = std::max(lowest, std::min(0.0, seconds_per_minute * tas_fps * (excess - trade)));
    }
    return {std::clamp(lowest, -max_vertical_speed_fpm, max_vertical_speed_fpm),
            std::clamp(std::max(lowest, highest), -max_vertical_speed_fpm, max_vertical_speed_fpm)};
}

void run_kinematics(AircraftState& s, const FlightCommands& c, double dt, double elapsed) {
    if (s.on_ground) ground_roll(s, c, dt);
    else fly(s, c, dt, elapsed);
    s.stall_warning = !s.on_ground && s.ias_kt < stall_speed_kt(weight_lb(s), s.flap_position);
}

}  // namespace sim
