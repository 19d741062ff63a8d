#pragma once
// Positions over the sphere the panel assumes (3438 NM radius), and the host's token forms of them.

namespace sim {

struct LatLon {
    double lat = 0, lon = 0;  // degrees, north and east positive, longitude in -180..180
};

// Great-circle distance in nautical miles.
double distance_nm(LatLon a, LatLon b);
// Initial true course from a to b, 0 to 360.
double course_deg(LatLon a, LatLon b);
// The point reached from a along the great circle starting on course (true) after distance_nm.
LatLon travel(LatLon a, double course, double distance_nm);
// The point a fraction f of the way from a to b along their great circle.
LatLon between(LatLon a, LatLon b, double f);

double wrap_360(double deg);  // 0 <= result < 360
double wrap_180(double deg);  // -180 < result <= 180

// Tokens 71 and 72: latitude in units of 90 / 10001750 degree; longitude in units of
// 1.2789770768341246e-12 degree counted eastwards from 0 to 360 (readers take 180 and more as west).
double latitude_to_units(double lat);
double longitude_to_units(double lon);
double latitude_from_units(double units);
double longitude_from_units(double units);

}  // namespace sim
