#pragma once
// The aircraft's motion over the sphere: speed from thrust, drag and the climb; vertical speed
// toward the command within what thrust and speed allow; turns at up to the standard rate with
// the bank bounded; the take-off roll, lift-off, touchdown and the roll after it, where the
// aircraft goes where its nose wheel steers it.

#include "sim/autopilot.h"
#include "sim/rate_limiter.h"
#include "sim/state.h"

namespace sim {

inline constexpr double max_bank_deg = 30.0;
inline constexpr double roll_rate_dps = 5.0;
inline constexpr double max_vertical_speed_fpm = 6000.0;
inline constexpr double vertical_acceleration_fpm_per_s = 400.0;
// The vertical speed follows its command no faster than that.
inline constexpr RateLimiter vertical_response{vertical_acceleration_fpm_per_s};
inline constexpr double initial_climb_fpm = 1500.0;  // the hand-flown climb after lift-off
inline constexpr double rotation_factor = 1.2;       // lift-off at this multiple of the stall speed
inline constexpr double min_speed_factor = 1.3;      // climbs give way to keep this multiple of the stall speed
inline constexpr double flare_speed_factor = 1.1;    // the landing flare may bleed the speed down to this
inline constexpr double decrab_rate_dps = 2.0;
inline constexpr double max_steering_dps = 5.0;      // the nose wheel on the roll

// Turn rate in degrees per second from bank and true airspeed, and the bank for a rate.
double turn_rate_dps(double bank_deg, double tas_kt);
double bank_for_rate_deg(double rate_dps, double tas_kt);
// The vertical speeds the aircraft can fly now: the climb that keeps speed above the minimum and
// the descent that keeps it below the maximum, from the excess thrust.
struct VerticalLimits {
    double lowest_fpm, highest_fpm;
};
// fastest_kt: a lower limit than the aircraft's own (0: none), that descents give way to.
VerticalLimits vertical_limits(const AircraftState& s, double slowest_factor = min_speed_factor, double fastest_kt = 0);

// elapsed: the aircraft's clock, for the touchdown's record.
void run_kinematics(AircraftState& s, const FlightCommands& c, double dt, double elapsed = 0);

}  // namespace sim
