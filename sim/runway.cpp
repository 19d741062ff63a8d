#include "sim/runway.h"

#include <cmath>

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

}  // namespace sim
