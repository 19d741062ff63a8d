#include "sim/approach.h"

#include <algorithm>
#include <cmath>

#include "sim/aero.h"
#include "sim/earth.h"
#include "sim/kinematics.h"
#include "sim/units.h"

namespace sim {

namespace {

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
double air_path_for_track(const ApproachInputs& in, double track_deg) {
    const double tas = std::max(1.0, tas_from_ias(in.ias_kt, in.altitude_ft));
    const double pushing_right = in.wind_kt * std::sin((in.wind_from_deg + 180.0 - track_deg) * degrees_to_radians);
    return track_deg - std::asin(std::clamp(pushing_right / tas, -0.5, 0.5)) * radians_to_degrees;
}

double lateral_in_air(const ApproachInputs& in) {
    const double correction = std::atan2(left_of_centre_ft(in.nav), air_lookahead_ft) * radians_to_degrees;
    const double track = in.nav.localizer_course_deg + std::clamp(correction, -max_intercept_deg, max_intercept_deg);
    const double error = wrap_180(air_path_for_track(in, track) - (in.true_heading_deg + in.slip_deg));
    return std::clamp(path_gain_per_s * error, -standard_rate_dps, standard_rate_dps);
}

double lateral_on_ground(const ApproachInputs& in) {
    const double correction = std::atan2(left_of_centre_ft(in.nav), ground_lookahead_ft) * radians_to_degrees;
    const double heading = in.nav.localizer_course_deg + std::clamp(correction, -10.0, 10.0);
    return std::clamp(wrap_180(heading - in.true_heading_deg), -steering_dps, steering_dps);
}

double glide_path_fpm(const ApproachInputs& in) {
    return -in.ground_speed_kt * fpm_per_knot * std::tan(in.nav.glide_angle_deg * degrees_to_radians);
}

double on_glide_slope(const ApproachInputs& in) {
    const double nominal = glide_path_fpm(in);
    if (in.height_ft < beam_frozen_below_ft) return nominal;
    const double above_deg = in.nav.glide_deviation / needle_full * glide_full_scale_deg;
    const double above_ft = in.nav.glide_nm * feet_per_nm * std::tan(above_deg * degrees_to_radians);
    return std::clamp(nominal - above_ft * seconds_per_minute / glide_correction_s, -2500.0, 500.0);
}

void begin_flare(const ApproachInputs& in, ApproachCommands& c) {
    c.phase = ApproachPhase::flare;
    const double sink_fps = (std::fabs(in.vertical_speed_fpm) - touchdown_sink_fpm) / seconds_per_minute;
    c.flare_time_constant_s = std::clamp(in.height_ft / std::max(sink_fps, 1.0), 2.0, 20.0);
}

double flare_fpm(const ApproachInputs& in, const ApproachCommands& c) {
    return -in.height_ft / c.flare_time_constant_s * seconds_per_minute - touchdown_sink_fpm;
}

double approach_speed_kt(const ApproachInputs& in) {
    const double w = in.weight_lb;
    const double headwind = in.wind_kt * std::cos((in.wind_from_deg - in.true_heading_deg) * degrees_to_radians);
    const double final_speed = 1.3 * stall_speed_kt(w, 1.0) + 5.0 + std::clamp(headwind / 2, 0.0, 15.0);
    const double f = std::clamp(in.flap_position, 0.0, 1.0);
    const double for_flaps = 1.3 * stall_speed_kt(w, f) + 15.0 - 10.0 * f;
    return std::max(final_speed, std::min(in.speed_setting_kt, for_flaps));
}

// One phase on at the most each step.
void advance_phase(const ApproachInputs& in, ApproachCommands& c) {
    const NavReception& nav = in.nav;
    switch (c.phase) {
        case ApproachPhase::armed:
            if (!in.on_ground && localizer_heard(nav) && std::fabs(nav.deviation) < localizer_capture_needle &&
                std::fabs(wrap_180(nav.localizer_course_deg - in.true_heading_deg)) < 90.0) {
                c.phase = ApproachPhase::localizer;
                c.heading_hold_off = true;
            }
            break;
        case ApproachPhase::localizer:
            if (localizer_heard(nav) && nav.glide_slope && nav.glide_deviation >= -glide_capture_needle &&
                nav.glide_deviation <= glide_capture_needle) {
                c.phase = ApproachPhase::glide_slope;
                c.altitude_hold_off = true;
            }
            break;
        case ApproachPhase::glide_slope:
            if (in.on_ground) c.phase = ApproachPhase::rollout;
            else if (in.height_ft <= flare_height_ft) begin_flare(in, c);
            break;
        case ApproachPhase::flare:
            if (in.on_ground) c.phase = ApproachPhase::rollout;
            break;
        case ApproachPhase::rollout:
            if (in.ground_speed_kt < stopped_kt) c.phase = ApproachPhase::stopped;
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

ApproachCommands run_approach(const ApproachInputs& in) {
    ApproachCommands c;
    c.phase = in.phase;
    c.flare_time_constant_s = in.flare_time_constant_s;
    if (c.phase == ApproachPhase::off) return c;
    if (!in.autopilot_master && c.phase != ApproachPhase::rollout && c.phase != ApproachPhase::stopped) {
        c.phase = ApproachPhase::off;
        return c;
    }
    advance_phase(in, c);
    const bool heard = localizer_heard(in.nav);
    switch (c.phase) {
        case ApproachPhase::armed: c.speed_kt = approach_speed_kt(in); break;
        case ApproachPhase::localizer:
            c.speed_kt = approach_speed_kt(in);
            c.turn_rate_dps = heard ? lateral_in_air(in) : 0.0;
            break;
        case ApproachPhase::glide_slope:
            c.speed_kt = approach_speed_kt(in);
            c.turn_rate_dps = heard ? lateral_in_air(in) : 0.0;
            c.vertical_speed_fpm = in.nav.glide_slope ? on_glide_slope(in) : glide_path_fpm(in);
            break;
        case ApproachPhase::flare:
            c.speed_kt = approach_speed_kt(in);
            c.idle = in.height_ft < retard_height_ft;
            c.decrab = in.height_ft < decrab_below_ft;
            c.flare = true;
            c.turn_rate_dps = heard ? lateral_in_air(in) : 0.0;
            c.vertical_speed_fpm = flare_fpm(in, c);
            break;
        case ApproachPhase::rollout:
            c.idle = true;
            c.full_brakes = true;
            c.turn_rate_dps = heard ? lateral_on_ground(in) : 0.0;
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
