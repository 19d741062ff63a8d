#include "approach_start.h"

#include <algorithm>
#include <cmath>

#include "sim/units.h"

namespace simtest {

namespace {

constexpr double dot_deg = 0.35;  // a dot of the glide slope's scale

}  // namespace

double along_line_ft(sim::LatLon on, double course, sim::LatLon p) {
    const double d = sim::distance_nm(on, p) * sim::feet_per_nm;
    return d * std::cos((sim::course_deg(on, p) - course) * sim::degrees_to_radians);
}

double heading_for_track(double track_deg, double tas_kt, double wind_from_deg, double wind_kt) {
    const double pushing_right = wind_kt * std::sin((wind_from_deg + 180.0 - track_deg) * sim::degrees_to_radians);
    return sim::wrap_360(track_deg - std::asin(std::clamp(pushing_right / tas_kt, -0.5, 0.5)) * sim::radians_to_degrees);
}

double right_of_line_ft(sim::LatLon on, double course, sim::LatLon p) {
    const double d = sim::distance_nm(on, p) * sim::feet_per_nm;
    return d * std::sin((sim::course_deg(on, p) - course) * sim::degrees_to_radians);
}

std::optional<Start> start_of(const sim::World& world, const Runway& r, const EntryPoint& e) {
    Start s;
    s.runway = world.runway(r.airport, r.designator);
    if (!s.runway) return std::nullopt;
    // The localizer on the frequency that serves the runway: the nearest one whose course is near
    // the runway's, and its glide slope.
    double nearest = 1e9;
    const auto channel = world.radios().vhf_on(sim::vhf_channel(r.localizer_mhz));
    for (const sim::RadioStation& st : channel) {
        if (st.kind != sim::RadioStation::localizer) continue;
        if (std::fabs(sim::wrap_180(st.course_deg - s.runway->heading_deg())) > 90.0) continue;  // the other end's
        const double d = sim::distance_nm(st.at, s.runway->threshold);
        if (d < nearest) nearest = d, s.localizer = &st;
    }
    if (!s.localizer) return std::nullopt;
    for (const sim::RadioStation& st : channel)
        if (st.kind == sim::RadioStation::glide_slope && st.ident == s.localizer->ident &&
            sim::distance_nm(st.at, s.localizer->at) < 5.0)
            s.glide_slope = &st;
    s.course_deg = s.localizer->course_deg;
    const double heading = s.runway->heading_deg();
    // The glide slope lies threshold_crossing_ft / tan(angle) past the landing threshold.
    s.landing_threshold = s.runway->threshold;
    if (s.glide_slope) {
        const double in_ft = sim::threshold_crossing_ft / std::tan(s.glide_slope->glide_deg * sim::degrees_to_radians);
        s.landing_threshold = sim::travel(s.glide_slope->at, heading + 180.0, in_ft / sim::feet_per_nm);
    }
    s.displaced_ft = along_line_ft(s.runway->threshold, heading, s.landing_threshold);

    // Out along the approach course (the localizer's), abeam the landing threshold.
    const sim::LatLon antenna = s.localizer->at;
    const double to_threshold_nm = along_line_ft(antenna, s.course_deg + 180.0, s.landing_threshold) / sim::feet_per_nm;
    const sim::LatLon on_course = sim::travel(antenna, s.course_deg + 180.0, to_threshold_nm + e.out_nm);
    s.at = sim::travel(on_course, s.course_deg + 90.0, e.right_nm);
    s.track_deg = sim::wrap_360(s.course_deg + (e.right_nm > 0 ? -e.toward_deg : e.toward_deg));
    if (e.height_ft) {
        s.altitude_ft = s.runway->elevation_ft + *e.height_ft;
    } else {
        if (!s.glide_slope) return std::nullopt;
        const double angle = (s.glide_slope->glide_deg + e.dots_above * dot_deg) * sim::degrees_to_radians;
        s.altitude_ft = s.glide_slope->elevation_ft + std::tan(angle) * sim::distance_nm(s.at, s.glide_slope->at) * sim::feet_per_nm;
    }
    return s;
}

}  // namespace simtest
