#pragma once
// Runways of the world data seen from an aircraft: where a point lies along a runway from its
// threshold and across its centre line.

#include <string>

#include "sim/earth.h"

namespace sim {

// One landing direction of a runway: its threshold and the threshold at the other end.
struct RunwayEnd {
    std::string airport, designator;  // "KLAX", "24R"
    LatLon threshold, far_end;
    double elevation_ft = 0;  // of its airport
    double heading_deg() const;  // true
    double length_ft() const;
};

struct RunwayPosition {
    double past_threshold_ft = 0;  // along the centre line, negative before the threshold
    double right_of_centre_ft = 0;
};

RunwayPosition runway_position(const RunwayEnd& r, LatLon p);
// Whether p lies on the runway's paved length, within half_width_ft of the centre line.
bool on_runway(const RunwayEnd& r, LatLon p, double half_width_ft = 75.0);

}  // namespace sim
