#pragma once
// Where an approach begins: a runway's ILS (or LOC, or LDA) found in the world data, and the
// point, altitude and heading an entry describes, out along its course.

#include <optional>
#include <string>

#include "sim/radio_stations.h"
#include "sim/runway.h"
#include "sim/world.h"

namespace simtest {

struct Runway {
    std::string airport, designator;
    double localizer_mhz = 0;
};

// The entry's geometry; the crew's part is the flight's (approach_flight.h).
struct EntryPoint {
    double out_nm = 12;          // from the landing threshold, along the extended centre line
    double right_nm = 0.8;       // off the centre line, seen inbound
    double toward_deg = 30;      // the track toward the centre line, from the course
    // Height: on the glide path this many dots above (below when negative) its height out there,
    // or, when given, this many feet above the field.
    double dots_above = -1;
    std::optional<double> height_ft;
};

struct Start {
    const sim::RunwayEnd* runway = nullptr;
    const sim::RadioStation* localizer = nullptr;
    const sim::RadioStation* glide_slope = nullptr;  // null for a localizer without one
    sim::LatLon landing_threshold;
    double displaced_ft = 0;  // of the landing threshold from the runway's end
    double course_deg = 0;    // the localizer's
    sim::LatLon at;
    double altitude_ft = 0;
    double track_deg = 0;  // the entry's; the heading that makes it good depends on the wind
};

// The heading that makes good a ground track at a true airspeed in a wind blowing from wind_from.
double heading_for_track(double track_deg, double tas_kt, double wind_from_deg, double wind_kt);

// Feet along, and right of, the line through `on` on `course` to p.
double along_line_ft(sim::LatLon on, double course, sim::LatLon p);
double right_of_line_ft(sim::LatLon on, double course, sim::LatLon p);

// Empty when the runway, its localizer on that frequency, or (for a height on the glide path) its
// glide slope is not in the world data.
std::optional<Start> start_of(const sim::World& world, const Runway& r, const EntryPoint& e);

}  // namespace simtest
