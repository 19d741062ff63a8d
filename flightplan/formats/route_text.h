#pragma once
// The route of a flight plan text (a .pln file, or the copy the FMC publishes as fltplanMap0/1):
// the waypoint records after "[WAYPOINTS]", every field read inside its own columns and every
// record inside the text, so a short or damaged plan gives the records it really holds.

#include <string>
#include <string_view>
#include <vector>

#include "sim/earth.h"

namespace planner {

struct RoutePoint {
    std::string type, ident;  // blanks trimmed
    sim::LatLon at;
    double minutes = -1;  // from the departure, as the record's "hh:mm" gives it; -1 without one
};

// The runways the plan's [DEPARTURE] and [ARRIVAL] sections name, the designators alone
// ("RUNWAY=25R/255/14820" names "25R"); empty where a section names none.
struct PlanRunways {
    std::string departure, arrival;
};
PlanRunways parse_plan_runways(std::string_view text);

// Records start two bytes after "[WAYPOINTS]" and 105 bytes apart, each 103 characters long
// (followed by CR LF in a file, by a zero and LF in the published copy).
std::vector<RoutePoint> parse_route_text(std::string_view text);

// A coordinate field of a record: hemisphere letter, degrees, minutes, seconds (decimals), each
// number taken within the field; false when the field does not hold one.
bool parse_coordinate_field(std::string_view field, bool longitude, double& degrees);

}  // namespace planner
