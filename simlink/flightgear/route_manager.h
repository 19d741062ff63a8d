#pragma once
// The FMC's route in FlightGear's route manager, so FlightGear's own map and GPS show it: the
// property writes, in order, that clear the route manager, name the two airports, append every
// point between them (by ident, or as "LON,LAT" where the ident is no name FlightGear would know,
// such as a latitude/longitude point's) and activate the route.

#include <string>
#include <vector>

#include "flightplan/formats/route_text.h"

namespace simlink::fg {

inline constexpr const char* route_manager_prefix = "/autopilot/route-manager/";
inline constexpr const char* route_input_path = "/autopilot/route-manager/input";

struct PropertyWrite {
    std::string path, value;
};

// Empty for a route without both airports.
std::vector<PropertyWrite> route_manager_writes(const std::vector<planner::RoutePoint>& route);
// The route manager entries the writes make (the idents or "LON,LAT" texts appended), in order.
std::vector<std::string> route_manager_entries(const std::vector<planner::RoutePoint>& route);

}  // namespace simlink::fg
