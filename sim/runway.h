#pragma once
// Runways of the world data seen from an aircraft: where a point lies along a runway and across its
// centre line, and where landings on it begin.

#include <string>

#include "sim/earth.h"

namespace sim {

// One landing direction of a runway. The data gives the ends of its pavement; a displaced landing
// threshold lies some way past this end's, and the pavement before it serves take-offs and the
// roll of landings the other way, not touchdowns.
struct RunwayEnd {
    std::string airport, designator;  // "KLAX", "24R"
    LatLon threshold, far_end;        // where the pavement begins at this end and ends at the other
    double elevation_ft = 0;          // of its airport
    double displaced_threshold_ft = 0;
    double width_ft = 150;
    double heading_deg() const;  // true
    double length_ft() const;    // of the pavement
    LatLon landing_threshold() const;
    // From the landing threshold to the far end: where a landing may touch down and roll.
    double landing_distance_ft() const { return length_ft() - displaced_threshold_ft; }
};

struct RunwayPosition {
    double past_threshold_ft = 0;  // along the centre line from the pavement's end, negative before it
    double right_of_centre_ft = 0;
    double past_landing_threshold_ft = 0;
};

RunwayPosition runway_position(const RunwayEnd& r, LatLon p);
// Whether p lies on the runway's pavement, within half_width_ft of the centre line.
bool on_runway(const RunwayEnd& r, LatLon p, double half_width_ft = 75.0);
// The same, within the runway's own width.
bool on_pavement(const RunwayEnd& r, LatLon p);

}  // namespace sim
