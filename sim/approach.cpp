#include "sim/approach.h"

#include <algorithm>
#include <cmath>

#include "sim/aero.h"
#include "sim/earth.h"
#include "sim/kinematics.h"
#include "sim/units.h"

namespace sim {

namespace {

constexpr double feet_per_nm = 6076.12;
constexpr double fpm_per_knot = feet_per_nm / seconds_per_minute;
constexpr double localizer_full_scale_deg = 2.5;
constexpr double glide_full_scale_deg = 0.7;
constexpr double needle_full = 127.0;
constexpr double max_intercept_deg = 30.0;
constexpr double air_lookahead_ft = 2500.0;    // the centre line is joined over about this distance
constexpr double ground_lookahead_ft = 800.0;
constexpr double path_gain_per_s = 0.5;        // degrees per second of turn per degree of error
constexpr double steering_dps = 5.0;
constexpr double glide_correction_s = 6.0;     // a height off the beam is made good in about this time
constexpr double decrab_below_ft = retard_height_ft;

// The aircraft's distance left of the localizer's centre line, in feet (right is negative).
double left_of_centre_ft(const NavReception& nav) {
    const double off_deg = nav.deviation / needle_full * localizer_full_scale_deg;
    return nav.station_nm * feet_per_nm * std::tan(off_deg * degrees_to_radians);
}

bool localizer_heard(const NavReception& nav) { return nav.received && nav.localizer; }

// The air path that makes good the ground track: the nose into the wind by the drift angle.
double air_path_for_track(const AircraftState& s, double track_deg) {
    const double tas = std::max(1.0, tas_from_ias(s.ias_kt, s.altitude_ft));
    const double pushing_right = s.wind_kt * std::sin((s.wind_from_deg + 180.0 - track_deg) * degrees_to_radians);
    return track_deg - std::asin(std::clamp(pushing_right / tas, -0.5, 0.5)) * radians_to_degrees;
}

double lateral_in_air(const AircraftState& s, const NavReception& nav) {
    const double correction = std::atan2(left_of_centre_ft(nav), air_lookahead_ft) * radians_to_degrees;
    const double track = nav.localizer_course_deg + std::clamp(correction, -max_intercept_deg, max_intercept_deg);
    const double error = wrap_180(air_path_for_track(s, track) - (s.true_heading_deg + s.slip_deg));
    return std::clamp(path_gain_per_s * error, -standard_rate_dps, standard_rate_dps);
}

double lateral_on_ground(const AircraftState& s, const NavReception& nav) {
    const double correction = std::atan2(left_of_centre_ft(nav), ground_lookahead_ft) * radians_to_degrees;
    const double heading = nav.localizer_course_deg + std::clamp(correction, -10.0, 10.0);
    return std::clamp(wrap_180(heading - s.true_heading_deg), -steering_dps, steering_dps);
}

double glide_path_fpm(const AircraftState& s, const NavReception& nav) {
    return -s.ground_speed_kt * fpm_per_knot * std::tan(nav.glide_angle_deg * degrees_to_radians);
}

double on_glide_slope(const AircraftState& s, const NavReception& nav) {
    const double nominal = glide_path_fpm(s, nav);
    if (height_above_field_ft(s) < beam_frozen_below_ft) return nominal;
    const double above_deg = nav.glide_deviation / needle_full * glide_full_scale_deg;
    const double above_ft = nav.glide_nm * feet_per_nm * std::tan(above_deg * degrees_to_radians);
    return std::clamp(nominal - above_ft * seconds_per_minute / glide_correction_s, -2500.0, 500.0);
}

void begin_flare(AircraftState& s) {
    s.approach = ApproachPhase::flare;
    const double sink_fps = (std::fabs(s.vertical_speed_fpm) - touchdown_sink_fpm) / seconds_per_minute;
    s.flare_time_constant_s = std::clamp(height_above_field_ft(s) / std::max(sink_fps, 1.0), 2.0, 20.0);
}

double flare_fpm(const AircraftState& s) {
    return -height_above_field_ft(s) / s.flare_time_constant_s * seconds_per_minute - touchdown_sink_fpm;
}

void advance_phase(AircraftState& s) {
    const NavReception& nav = s.reception.nav[0];
    switch (s.approach) {
        case ApproachPhase::armed:
            if (!s.on_ground && localizer_heard(nav) && std::fabs(nav.deviation) < localizer_capture_needle &&
                std::fabs(wrap_180(nav.localizer_course_deg - s.true_heading_deg)) < 90.0) {
                s.approach = ApproachPhase::localizer;
                s.autopilot.heading_hold = false;
            }
            break;
        case ApproachPhase::localizer:
            if (localizer_heard(nav) && nav.glide_slope && nav.glide_deviation >= -glide_capture_needle &&
                nav.glide_deviation <= glide_capture_needle) {
                s.approach = ApproachPhase::glide_slope;
                s.autopilot.altitude_hold = false;
            }
            break;
        case ApproachPhase::glide_slope:
            if (s.on_ground) s.approach = ApproachPhase::rollout;
            else if (height_above_field_ft(s) <= flare_height_ft) begin_flare(s);
            break;
        case ApproachPhase::flare:
            if (s.on_ground) s.approach = ApproachPhase::rollout;
            break;
        case ApproachPhase::rollout:
            if (s.ground_speed_kt < stopped_kt) s.approach = ApproachPhase::stopped;
            break;
        case ApproachPhase::off:
        case ApproachPhase::stopped: break;
    }
}

}  // namespace

double height_above_field_ft(const AircraftState& s) { return std::max(0.0, s.altitude_ft - s.ground_elevation_ft); }

void arm_approach(AircraftState& s) {
    s.autopilot.master = true;
    if (s.approach == ApproachPhase::off || s.approach == ApproachPhase::stopped) s.approach = ApproachPhase::armed;
}

double approach_speed_kt(const AircraftState& s) {
    const double w = weight_lb(s);
    const double headwind = s.wind_kt * std::cos((s.wind_from_deg - s.true_heading_deg) * degrees_to_radians);
    const double final_speed = 1.3 * stall_speed_kt(w, 1.0) + 5.0 + std::clamp(headwind / 2, 0.0, 15.0);
    const double f = std::clamp(s.flap_position, 0.0, 1.0);
    const double for_flaps = 1.3 * stall_speed_kt(w, f) + 15.0 - 10.0 * f;
    return std::max(final_speed, std::min(s.autopilot.speed_kt, for_flaps));
}

ApproachCommands run_approach(AircraftState& s, double dt) {
    (void)dt;
    ApproachCommands c;
    if (s.approach == ApproachPhase::off) return c;
    if (!s.autopilot.master && s.approach != ApproachPhase::rollout && s.approach != ApproachPhase::stopped) {
        s.approach = ApproachPhase::off;
        return c;
    }
    advance_phase(s);
    const NavReception& nav = s.reception.nav[0];
    const bool heard = localizer_heard(nav);
    switch (s.approach) {
        case ApproachPhase::armed: c.speed_kt = approach_speed_kt(s); break;
        case ApproachPhase::localizer:
            c.speed_kt = approach_speed_kt(s);
            c.turn_rate_dps = heard ? lateral_in_air(s, nav) : 0.0;
            break;
        case ApproachPhase::glide_slope:
            c.speed_kt = approach_speed_kt(s);
            c.turn_rate_dps = heard ? lateral_in_air(s, nav) : 0.0;
            c.vertical_speed_fpm = nav.glide_slope ? on_glide_slope(s, nav) : glide_path_fpm(s, nav);
            break;
        case ApproachPhase::flare: {
            const double h = height_above_field_ft(s);
            c.speed_kt = approach_speed_kt(s);
            c.idle = h < retard_height_ft;
            c.decrab = h < decrab_below_ft;
            c.flare = true;
            c.turn_rate_dps = heard ? lateral_in_air(s, nav) : 0.0;
            c.vertical_speed_fpm = flare_fpm(s);
            break;
        }
        case ApproachPhase::rollout:
            c.idle = true;
            s.controls.speed_brake = 1.0;
            s.controls.brakes = 1.0;
            c.turn_rate_dps = heard ? lateral_on_ground(s, nav) : 0.0;
            break;
        case ApproachPhase::stopped:
            c.idle = true;
            c.turn_rate_dps = 0.0;
            break;
        case ApproachPhase::off: break;
    }
    return c;
}

}  // namespace sim
