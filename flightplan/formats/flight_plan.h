#pragma once
// A flight plan as every format carries it: the two airports with their runways, the cruise
// values, and the points in order, each with the airway that leads to it. Readers fill it, writers
// format it; the FMC's own plan file is made from it through the planner's profile.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "flightplan/route/route.h"
#include "flightplan/route/runways.h"
#include "platform/result.h"

namespace planner {

struct PlanWaypoint {
    RoutePlace place;     // type "APT", "VOR", "NDB", "INT"; a latitude/longitude point is an "INT"
                          // whose ident is its ICAO form (latlon_ident)
    std::string airway;   // the airway that leads here; empty for a direct leg and the airports
    int altitude_ft = 0;  // as the file gave it; 0 for none
};

struct FlightPlan {
    std::string departure_runway, arrival_runway;  // designators ("28R"), empty when not given
    std::optional<int> cruise_altitude_ft;
    std::optional<double> cruise_speed;   // 5 or less: Mach; more: knots
    std::vector<PlanWaypoint> waypoints;  // the departure airport first, the arrival airport last
    std::vector<std::string> warnings;    // what was read but not used (procedure names)
    std::optional<Wind> wind;             // chooses the runways the plan does not name
};

// An error of a file at a line: "FILE:LINE: what" (line 0: the file as a whole).
plat::Error file_error(std::string_view file, std::size_t line, const std::string& what);
// The 1-based line of a byte offset in text.
std::size_t line_of(std::string_view text, std::size_t offset);

// The ICAO forms of a latitude/longitude point: "37N122W" for whole degrees, "3730N12200W" for
// whole minutes; other positions get the minutes form rounded to whole minutes, so the ident
// names the point only approximately.
std::string latlon_ident(sim::LatLon p);
// The position an ICAO latitude/longitude form names; nothing for other text.
std::optional<sim::LatLon> parse_latlon_ident(std::string_view text);
bool is_latlon_point(const RoutePlace& p);

// The point the world data knows by this ident at this position (within a few hundred feet), with
// its type, name and frequency and the data's own position; an airport only when airport is set.
// Otherwise nothing.
std::optional<RoutePlace> known_place(const NavDb& db, const std::string& ident, sim::LatLon at, bool airport);
// The airport of this ident; nothing when the world data has none.
std::optional<RoutePlace> airport_place(const NavDb& db, const std::string& ident);
// A waypoint read from a file: the world data's point when it knows one there, else a plain
// intersection (or a latitude/longitude point) at the file's position.
RoutePlace place_from_file(const NavDb& db, const std::string& ident, sim::LatLon at);

}  // namespace planner
