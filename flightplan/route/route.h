#pragma once
// A route string such as "KSFO SFO V25 SNS PRB RZS KLAX" resolved into places: airports at both
// ends, navaids and fixes by identifier (of several places with one identifier, the one nearest
// the point before it), airways by name expanded into the points between their entry and exit.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "flightplan/route/navdb.h"
#include "platform/result.h"
#include "sim/earth.h"

namespace planner {

struct RoutePlace {
    std::string type;   // "APT", "VOR", "NDB", "INT"
    std::string ident, name;
    sim::LatLon at;
    double frequency = 0;   // MHz or kHz as the navaid has it; 0 for none
    double elevation_ft = 0;  // airports
    const worlddata::Airport* airport = nullptr;
    std::string runway;  // an airport's runway given in the route ("KSFO/28R"); empty when not given
    // Points of the approach: the altitude and the speed they are crossed at, which the profile
    // keeps; 0 when the profile chooses.
    int fixed_altitude_ft = 0, fixed_speed_kt = 0;
};

// The words of a route string, upper-cased, at any blanks.
std::vector<std::string> route_words(std::string_view route);

// The route point of a place of the world data.
RoutePlace to_route_place(const NavDb& db, const Place& p);
// The airport of this ident; nothing when the world data has none.
std::optional<RoutePlace> airport_place(const NavDb& db, const std::string& ident);

// The airports at both ends may name a runway: "KSFO/28R ... KLAX/24R".
// Fails with a message naming the word that could not be used.
plat::Result<std::vector<RoutePlace>> resolve_route(const NavDb& db, std::string_view route);

}  // namespace planner
