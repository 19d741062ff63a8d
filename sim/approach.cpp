#include "sim/approach.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "sim/aero.h"
#include "sim/autopilot.h"
#include "sim/earth.h"
#include "sim/kinematics.h"
#include "sim/radio_stations.h"
#include "sim/units.h"

namespace sim {

namespace {

constexpr double localizer_full_scale_deg = 2.5;
constexpr double glide_full_scale_deg = 0.7;
constexpr double needle_full = 127.0;
constexpr double dot_needle = needle_full / 2;  // two dots either side of the beam
constexpr double max_intercept_deg = 30.0;
constexpr double return_intercept_deg = 45.0;
// In the air the centre line is joined over the distance flown in this time, the heading turned
// toward the path that does it at this rate a degree off: slowly enough for the roll to follow,
// so that the aircraft settles on the line without swinging across it.
constexpr double air_lookahead_s = 20.0;
constexpr double path_gain_per_s = 0.35;       // degrees per second of turn per degree of error
constexpr double ground_lookahead_ft = 800.0;
constexpr double steering_dps = 5.0;
constexpr double glide_correction_s = 6.0;     // a height off the beam is made good in about this time
constexpr double decrab_below_ft = retard_height_ft;
// Descending to meet the glide slope from above: this much faster than the beam comes down.
constexpr double closing_from_above_fpm = 700.0;
constexpr double level_off_fpm = 1500.0;       // the steepest return to the altitude held
// A localizer is captured at once when the aircraft closes on it at no more than this angle.
constexpr double shallow_closing_deg = 10.0;
constexpr double max_capture_angle_deg = 110.0;

enum Note : unsigned {
    not_a_localizer = 1u << 0,
    no_localizer_heard = 1u << 1,
    no_glide_slope = 1u << 2,
    off_runway_axis = 1u << 3,
    too_high = 1u << 4,
    glide_slope_lost = 1u << 5,
};

// The aircraft's distance left of the localizer's centre line, in feet (right is negative).
double left_of_centre_ft(const NavReception& nav) {
    const double off_deg = nav.deviation / needle_full * localizer_full_scale_deg;
    return nav.station_nm * feet_per_nm * std::tan(off_deg * degrees_to_radians);
}

bool localizer_heard(const NavReception& nav) { return nav.received && nav.localizer; }

// A localizer the approach descends on and lands on.
bool precision(const NavReception& nav) { return nav.localizer_glide_slope && nav.localizer_on_runway_axis; }

void say(const ApproachInputs& in, ApproachCommands& c, Note note) {
    if (c.memory.said & note) return;
    c.memory.said |= note;
    char text[240];
    const double mhz = in.nav_channel / 100.0;
    const char* ident = in.nav.ident.c_str();
    switch (note) {
        case not_a_localizer:
            std::snprintf(text, sizeof text, "approach armed, but NAV1 (%.2f) is tuned to no localizer: it waits for one", mhz);
            break;
        case no_localizer_heard:
            std::snprintf(text, sizeof text, "approach armed, but NAV1 (%.2f) hears no localizer yet: it waits for one", mhz);
            break;
        case no_glide_slope:
            std::snprintf(text, sizeof text,
                          "approach on %s, a localizer without a glide slope: lateral guidance only, no descent "
                          "and no landing by the autopilot; the vertical stays the crew's",
                          ident);
            break;
        case off_runway_axis:
            std::snprintf(text, sizeof text,
                          "approach on %s, off the runway's centre line: lateral guidance only, no descent and no "
                          "landing by the autopilot; the vertical stays the crew's",
                          ident);
            break;
        case too_high:
            std::snprintf(text, sizeof text,
                          "approach on %s: %.1f dots above the glide slope %.1f NM out, too high to capture it (1.5 "
                          "at most); holding %.0f ft",
                          ident, in.nav.glide_deviation / dot_needle, in.nav.glide_nm, c.memory.hold_ft);
            break;
        case glide_slope_lost:
            std::snprintf(text, sizeof text, "approach on %s: glide slope lost at %.0f ft above the field; holding %.0f ft",
                          ident, in.height_ft, c.memory.hold_ft);
            break;
    }
    c.note = text;
}

// The air path that makes good the ground track: the nose into the wind by the drift angle.
double air_path_for_track(const ApproachInputs& in, double track_deg) {
    const double tas = std::max(1.0, tas_from_ias(in.ias_kt, in.altitude_ft));
    const double pushing_right = in.wind_kt * std::sin((in.wind_from_deg + 180.0 - track_deg) * degrees_to_radians);
    return track_deg - std::asin(std::clamp(pushing_right / tas, -0.5, 0.5)) * radians_to_degrees;
}

double air_lookahead_ft(const ApproachInputs& in) { return std::max(60.0, in.ground_speed_kt) * knots_to_fps * air_lookahead_s; }

double lateral_in_air(const ApproachInputs& in) {
    double correction = std::atan2(left_of_centre_ft(in.nav), air_lookahead_ft(in)) * radians_to_degrees;
    correction = std::clamp(correction, -max_intercept_deg, max_intercept_deg);
    // A needle against its stop says nothing of how far beyond it the centre line lies: back to it
    // at a steeper angle, so that the glide slope's beam is not passed out there.
    if (std::fabs(in.nav.deviation) >= localizer_capture_needle) correction = std::copysign(return_intercept_deg, in.nav.deviation);
    const double track = in.nav.localizer_course_deg + correction;
    const double error = wrap_180(air_path_for_track(in, track) - (in.true_heading_deg + in.slip_deg));
    return std::clamp(path_gain_per_s * error, -standard_rate_dps, standard_rate_dps);
}

double lateral_on_ground(const ApproachInputs& in) {
    const double correction = std::atan2(left_of_centre_ft(in.nav), ground_lookahead_ft) * radians_to_degrees;
    const double heading = in.nav.localizer_course_deg + std::clamp(correction, -10.0, 10.0);
    return std::clamp(wrap_180(heading - in.true_heading_deg), -steering_dps, steering_dps);
}

// Whether the turn onto the centre line, begun now, rolls out on it: the distance a standard-rate
// turn down to the steepest intercept takes, and the steering's own from there, against the
// distance left. Closing at a shallow angle, or not at all, it is captured at once.
bool time_to_turn_in(const ApproachInputs& in) {
    const double left_ft = left_of_centre_ft(in.nav);
    const double toward_deg = wrap_180(in.ground_track_deg - in.nav.localizer_course_deg) * (left_ft > 0 ? 1.0 : -1.0);
    if (toward_deg <= shallow_closing_deg) return true;
    const double radius_ft = in.ground_speed_kt * knots_to_fps / (standard_rate_dps * degrees_to_radians);
    const double closing = toward_deg * degrees_to_radians;
    const double steepest = max_intercept_deg * degrees_to_radians;
    double lead_ft = air_lookahead_ft(in) * std::tan(std::min(closing, steepest));
    if (closing > steepest) lead_ft += radius_ft * (std::sin(closing) - std::sin(steepest));
    return std::fabs(left_ft) <= lead_ft;
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

double hold_altitude_fpm(const ApproachInputs& in, double altitude_ft) {
    return std::clamp((altitude_ft - in.altitude_ft) * capture_fpm_per_ft, -level_off_fpm, level_off_fpm);
}

void begin_flare(const ApproachInputs& in, ApproachCommands& c) {
    c.phase = ApproachPhase::flare;
    const double sink_fps = (std::fabs(in.vertical_speed_fpm) - touchdown_sink_fpm) / seconds_per_minute;
    c.memory.flare_time_constant_s = std::clamp(in.height_ft / std::max(sink_fps, 1.0), 2.0, 20.0);
}

double flare_fpm(const ApproachInputs& in, const ApproachCommands& c) {
    return -in.height_ft / c.memory.flare_time_constant_s * seconds_per_minute - touchdown_sink_fpm;
}

double approach_speed_kt(const ApproachInputs& in) {
    const double w = in.weight_lb;
    const double headwind = in.wind_kt * std::cos((in.wind_from_deg - in.true_heading_deg) * degrees_to_radians);
    const double final_speed = 1.3 * stall_speed_kt(w, 1.0) + 5.0 + std::clamp(headwind / 2, 0.0, 15.0);
    const double f = std::clamp(in.flap_position, 0.0, 1.0);
    const double for_flaps = 1.3 * stall_speed_kt(w, f) + 15.0 - 10.0 * f;
    return std::max({final_speed, std::min(in.speed_setting_kt, for_flaps), slowest_approach_speed_kt(w, f)});
}

// Armed: the localizer captured once the turn onto it is due; what keeps it from being captured
// said once.
void armed(const ApproachInputs& in, ApproachCommands& c) {
    const NavReception& nav = in.nav;
    if (!is_localizer_channel(in.nav_channel)) return say(in, c, not_a_localizer);
    if (!localizer_heard(nav)) return say(in, c, no_localizer_heard);
    if (in.on_ground || std::fabs(nav.deviation) >= localizer_capture_needle) return;
    // Flying outbound on it, or away from it, is no intercept.
    if (std::fabs(wrap_180(nav.localizer_course_deg - in.ground_track_deg)) > max_capture_angle_deg || !time_to_turn_in(in)) return;
    c.phase = ApproachPhase::localizer;
    c.memory.localizer_course_deg = nav.localizer_course_deg;
    c.memory.descends = precision(nav);
    c.heading_hold_off = true;
    c.memory.hold_ft = in.altitude_hold ? in.altitude_setting_ft : in.altitude_ft;
    if (!nav.localizer_on_runway_axis) say(in, c, off_runway_axis);
    else if (!nav.localizer_glide_slope) say(in, c, no_glide_slope);
}

// On the localizer, before the glide slope: the altitude selected (or held), a descent to meet the
// beam from above within 1.5 dots, or the capture as the beam reaches the aircraft.
void awaiting_glide_slope(const ApproachInputs& in, ApproachCommands& c) {
    const NavReception& nav = in.nav;
    const double above = nav.glide_deviation;
    if (nav.glide_slope && std::fabs(above) <= glide_capture_needle) {
        c.phase = ApproachPhase::glide_slope;
        c.altitude_hold_off = true;
        c.memory.hold_ft = in.altitude_ft;
        c.vertical_speed_fpm = on_glide_slope(in);
        return;
    }
    if (nav.glide_slope && above > glide_capture_needle && above <= glide_capture_above_needle) {
        c.altitude_hold_off = true;
        c.memory.hold_ft = in.altitude_ft;
        c.vertical_speed_fpm = glide_path_fpm(in) - closing_from_above_fpm;
        return;
    }
    if (in.altitude_hold) c.memory.hold_ft = in.altitude_setting_ft;
    else c.vertical_speed_fpm = hold_altitude_fpm(in, c.memory.hold_ft);
    const bool level = std::fabs(in.altitude_ft - c.memory.hold_ft) < 200.0;
    if (nav.glide_slope && above > glide_capture_above_needle && level) say(in, c, too_high);
}

// On the glide slope: the beam followed, or, lost above 100 ft, the altitude where it was lost.
double down_the_glide_slope(const ApproachInputs& in, ApproachCommands& c) {
    if (in.nav.glide_slope) {
        c.memory.hold_ft = in.altitude_ft;
        return on_glide_slope(in);
    }
    if (in.height_ft < beam_frozen_below_ft) return glide_path_fpm(in);
    say(in, c, glide_slope_lost);
    return hold_altitude_fpm(in, c.memory.hold_ft);
}

// One phase on at the most each step; the localizer phase decides its own vertical as it goes.
void advance_phase(const ApproachInputs& in, ApproachCommands& c) {
    switch (c.phase) {
        case ApproachPhase::armed: armed(in, c); break;
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
        case ApproachPhase::localizer:
        case ApproachPhase::off:
        case ApproachPhase::stopped: break;
    }
}

}  // namespace

double height_above_field_ft(const AircraftState& s) { return std::max(0.0, s.altitude_ft - s.ground_elevation_ft); }

double slowest_approach_speed_kt(double weight_lb, double flap_position) {
    return min_speed_factor * stall_speed_kt(weight_lb, flap_position) + approach_speed_margin_kt;
}

void arm_approach(AircraftState& s) {
    s.autopilot.master = true;
    if (s.approach == ApproachPhase::off || s.approach == ApproachPhase::stopped) {
        s.approach = ApproachPhase::armed;
        s.approach_memory = {};
    }
}

ApproachCommands run_approach(const ApproachInputs& in) {
    ApproachCommands c;
    c.phase = in.phase;
    c.memory = in.memory;
    if (c.phase == ApproachPhase::off) return c;
    if (!in.autopilot_master && c.phase != ApproachPhase::rollout && c.phase != ApproachPhase::stopped) {
        c.phase = ApproachPhase::off;
        return c;
    }
    const ApproachPhase before = c.phase;
    advance_phase(in, c);
    const bool heard = localizer_heard(in.nav) && std::fabs(wrap_180(in.nav.localizer_course_deg - c.memory.localizer_course_deg)) < 1.0;
    switch (c.phase) {
        case ApproachPhase::armed: c.speed_kt = approach_speed_kt(in); break;
        case ApproachPhase::localizer:
            c.speed_kt = approach_speed_kt(in);
            c.turn_rate_dps = heard ? lateral_in_air(in) : 0.0;
            // From the step after the capture on (one phase a step): the glide slope's capture
            // makes the next step one of the glide slope.
            if (before != ApproachPhase::localizer || !c.memory.descends) break;
            if (heard) awaiting_glide_slope(in, c);
            else if (!in.altitude_hold) c.vertical_speed_fpm = hold_altitude_fpm(in, c.memory.hold_ft);
            break;
        case ApproachPhase::glide_slope:
            c.speed_kt = approach_speed_kt(in);
            c.turn_rate_dps = heard ? lateral_in_air(in) : 0.0;
            c.vertical_speed_fpm = down_the_glide_slope(in, c);
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
            c.hold_brakes = true;
            c.turn_rate_dps = 0.0;
            break;
        case ApproachPhase::off: break;
    }
    return c;
}

}  // namespace sim
