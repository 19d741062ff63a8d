#include "sim/earth.h"

#include <algorithm>
#include <cmath>

#include "sim/units.h"

namespace sim {

double wrap_360(double deg) {
    double r = std::fmod(deg, 360.0);
    if (r < 0) r += 360.0;
    return r >= 360.0 ? 0.0 : r;
}

double wrap_180(double deg) {
    double r = wrap_360(deg);
    return r > 180.0 ? r - 360.0 : r;
}

double distance_nm(LatLon a, LatLon b) {
    const double p1 = a.lat * degrees_to_radians, p2 = b.lat * degrees_to_radians;
    const double dp = p2 - p1, dl = (b.lon - a.lon) * degrees_to_radians;
    const double h = std::sin(dp / 2) * std::sin(dp / 2) + std::cos(p1) * std::cos(p2) * std::sin(dl / 2) * std::sin(dl / 2);
    return 2 * earth_radius_nm * std::asin(std::min(1.0, std::sqrt(h)));
}

double course_deg(LatLon a, LatLon b) {
    const double p1 = a.lat * degrees_to_radians, p2 = b.lat * degrees_to_radians;
    const double dl = (b.lon - a.lon) * degrees_to_radians;
    const double y = std::sin(dl) * std::cos(p2);
    const double x = std::cos(p1) * std::sin(p2) - std::sin(p1) * std::cos(p2) * std::cos(dl);
    return wrap_360(std::atan2(y, x) * radians_to_degrees);
}

LatLon travel(LatLon a, double course, double distance) {
    const double d = distance / earth_radius_nm, c = course * degrees_to_radians;
    const double p1 = a.lat * degrees_to_radians, l1 = a.lon * degrees_to_radians;
    const double sp2 = std::sin(p1) * std::cos(d) + std::cos(p1) * std::sin(d) * std::cos(c);
    const double p2 = std::asin(std::clamp(sp2, -1.0, 1.0));
    const double l2 = l1 + std::atan2(std::sin(c) * std::sin(d) * std::cos(p1), std::cos(d) - std::sin(p1) * sp2);
    return {p2 * radians_to_degrees, wrap_180(l2 * radians_to_degrees)};
}

LatLon between(LatLon a, LatLon b, double f) {
    const double total = distance_nm(a, b);
    if (total <= 0) return a;
    return travel(a, course_deg(a, b), total * f);
}

double latitude_to_units(double lat) { return lat / latitude_degrees_per_unit; }

double longitude_to_units(double lon) { return (lon < 0 ? lon + 360.0 : lon) / longitude_degrees_per_unit; }

double latitude_from_units(double units) { return units * latitude_degrees_per_unit; }

double longitude_from_units(double units) {
    const double lon = units * longitude_degrees_per_unit;
    return lon >= 180.0 ? lon - 360.0 : lon;
}

}  // namespace sim
