#include "sim/runway.h"

#include <cmath>
#include <cstdio>

#include "sim/units.h"

namespace sim {

double RunwayEnd::heading_deg() const { return course_deg(threshold, far_end); }

double RunwayEnd::length_ft() const { return distance_nm(threshold, far_end) * feet_per_nm; }

RunwayPosition runway_position(const RunwayEnd& r, LatLon p) {
    const double d = distance_nm(r.threshold, p) * feet_per_nm;
    if (d <= 0) return {};
    const double off = (course_deg(r.threshold, p) - r.heading_deg()) * degrees_to_radians;
    return {d * std::cos(off), d * std::sin(wrap_180(off * radians_to_degrees) * degrees_to_radians)};
}

bool on_runway(const RunwayEnd& r, LatLon p, double half_width_ft) {
    const RunwayPosition at = runway_position(r, p);
    return at.past_threshold_ft >= 0 && at.past_threshold_ft <= r.length_ft() && std::fabs(at.right_of_centre_ft) <= half_width_ft;
}

LandingFigures landing_figures(const RunwayEnd& r, const Touchdown& t) {
    const RunwayPosition at = runway_position(r, t.position);
    LandingFigures f;
    f.runway = r.airport + " " + r.designator;
    f.past_threshold_ft = at.past_threshold_ft;
    f.from_centre_line_m = at.right_of_centre_ft * metres_per_foot;
    f.sink_fpm = t.sink_fpm;
    f.ias_kt = t.ias_kt;
    f.ground_speed_kt = t.ground_speed_kt;
    return f;
}

std::string format_landing(const LandingFigures& f) {
    char text[200];
    std::snprintf(text, sizeof text,
                  "touchdown on %s: %.0f ft past the threshold, %.1f m %s of the centre line, sink %.0f ft/min, "
                  "%.0f kt indicated, %.0f kt over the ground",
                  f.runway.c_str(), f.past_threshold_ft, std::fabs(f.from_centre_line_m),
                  f.from_centre_line_m >= 0 ? "right" : "left", f.sink_fpm, f.ias_kt, f.ground_speed_kt);
    return text;
}

}  // namespace sim
