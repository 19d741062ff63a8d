#include "sim/runway.h"

#include <cmath>

#include "sim/units.h"

namespace sim {

double RunwayEnd::heading_deg() const { return course_deg(threshold, far_end); }

double RunwayEnd::length_ft() const { return distance_nm(threshold, far_end) * feet_per_nm; }

LatLon RunwayEnd::landing_threshold() const {
    return displaced_threshold_ft > 0 ? travel(threshold, heading_deg(), displaced_threshold_ft / feet_per_nm) : threshold;
}

RunwayPosition runway_position(const RunwayEnd& r, LatLon p) {
    const double d = distance_nm(r.threshold, p) * feet_per_nm;
    if (d <= 0) return {0, 0, -r.displaced_threshold_ft};
    const double off = (course_deg(r.threshold, p) - r.heading_deg()) * degrees_to_radians;
    const double along = d * std::cos(off);
    return {along, d * std::sin(wrap_180(off * radians_to_degrees) * degrees_to_radians), along - r.displaced_threshold_ft};
}

bool on_runway(const RunwayEnd& r, LatLon p, double half_width_ft) {
    const RunwayPosition at = runway_position(r, p);
    return at.past_threshold_ft >= 0 && at.past_threshold_ft <= r.length_ft() && std::fabs(at.right_of_centre_ft) <= half_width_ft;
}

bool on_pavement(const RunwayEnd& r, LatLon p) { return on_runway(r, p, r.width_ft / 2); }

}  // namespace sim
