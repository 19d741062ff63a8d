#pragma once
// The FMC's route in FlightGear's route manager, so FlightGear's own map, GPS and route-following
// autopilot fly it: the property writes, in order, after which the route manager holds the
// departure (its runway, where the plan names one FlightGear knows), every point between (by
// ident, or as "LON,LAT" where the ident is no name FlightGear would know, such as a
// latitude/longitude point's) and the destination (its runway) last, active, with the plan's first
// point after the departure as its current waypoint.
//
// FlightGear's route manager (2020.3 and later, with its default route-manager delegate) makes
// legs of the airports itself: naming a departure inserts it as the first leg, naming a destination
// appends it as the last, naming either as it already is changes nothing, "@CLEAR" drops the legs
// but puts the named airports straight back, and a point given alone is appended after whatever
// leg is last, the destination included. So the writes clear, forget both airports (an empty name
// takes their legs away), name the departure, append the points and only then name the
// destination; a plan sent again while flying replaces the old one whole.

#include <string>
#include <vector>

#include "flightplan/formats/route_text.h"

namespace simlink::fg {

inline constexpr const char* route_manager_prefix = "/autopilot/route-manager/";
inline constexpr const char* route_input_path = "/autopilot/route-manager/input";
inline constexpr const char* route_current_path = "/autopilot/route-manager/current-wp";

struct PropertyWrite {
    std::string path, value;
};

// Empty for a route without both airports.
std::vector<PropertyWrite> route_manager_writes(const std::vector<planner::RoutePoint>& route,
                                                const planner::PlanRunways& runways = {});
// The route manager entries the writes append between the airports (the idents or "LON,LAT"
// texts), in order.
std::vector<std::string> route_manager_entries(const std::vector<planner::RoutePoint>& route);

}  // namespace simlink::fg
