#pragma once
// A flight plan as every format carries it: the two airports with their runways, the cruise
// values, and the points in order, each with the airway that leads to it. Readers fill it with
// what their file states and nothing more, with no world data at hand; resolving (plan_resolve.h)
// then looks up what the file leaves open. Writers format it; the FMC's own plan file is made from
// it through the planner's profile.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "flightplan/route/route.h"
#include "flightplan/route/runways.h"
#include "platform/result.h"

namespace planner {

// What a point's altitude means: a restriction the profile keeps, or only the level the file's
// own planner put there.
enum class AltitudeRule { planned, at, at_or_above, at_or_below };

struct PlanWaypoint {
    RoutePlace place;     // type "APT", "VOR", "NDB", "INT" ("" when the file does not say); a
                          // latitude/longitude point is an "INT" whose ident is its ICAO form
    bool positioned = true;  // place.at is the file's; false: only the ident is given
    bool user_point = false;  // a point of the user's own, which no world data names
    std::string airway;   // the airway that leads here; empty for a direct leg and the airports
    // The airway is to be followed from the point before to this one through the world data (a
    // FlightGear "via" point, or a plan that lists only an airway's ends).
    bool follow_airway = false;
    int altitude_ft = 0;  // as the file gave it; 0 for none
    AltitudeRule altitude_rule = AltitudeRule::planned;
    std::size_t line = 0;  // of the file, for messages; 0 when not known
};

struct FlightPlan {
    std::string departure_runway, arrival_runway;  // designators ("28R"), empty when not given
    std::size_t departure_runway_line = 0, arrival_runway_line = 0;
    std::optional<int> cruise_altitude_ft;
    std::optional<double> cruise_speed;   // 5 or less: Mach; more: knots
    std::vector<PlanWaypoint> waypoints;  // the departure airport first, the arrival airport last
    std::vector<std::string> warnings;    // what was read but not used (procedure names)
    std::optional<Wind> wind;             // chooses the runways the plan does not name
    // A route string that only the world data can turn into points (a route string file, or a
    // SimBrief plan without a navlog); when waypoints hold the airports, they bound it.
    std::string route;
    std::size_t route_line = 0;
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

// A point as a file states it: its ident (a latitude/longitude form when the file gives none),
// type and position.
PlanWaypoint stated_point(const std::string& type, const std::string& ident, sim::LatLon at);
// An airport as a file names it, its position left to the world data.
PlanWaypoint stated_airport(const std::string& ident);

// A number of a file's text, in range: text that is not a finite number within [lo, hi] gives
// nothing, so no value read from a file is converted out of range.
std::optional<double> number_in(std::string_view text, double lo, double hi);

}  // namespace planner
