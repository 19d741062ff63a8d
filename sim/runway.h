#pragma once
// Runways of the world data seen from an aircraft: where a point lies along a runway from its
// threshold and across its centre line, and the figures of a landing on it.

#include <optional>
#include <string>

#include "sim/earth.h"
#include "sim/state.h"

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

struct LandingFigures {
    std::string runway;  // "KLAX 24R"
    double past_threshold_ft = 0, from_centre_line_m = 0;  // at touchdown; right positive
    double sink_fpm = 0, ias_kt = 0, ground_speed_kt = 0;
};

LandingFigures landing_figures(const RunwayEnd& r, const Touchdown& t);
// "touchdown on KLAX 24R: 1620 ft past the threshold, 0.8 m right of the centre line, 190 ft/min, 146 kt"
std::string format_landing(const LandingFigures& f);

}  // namespace sim
