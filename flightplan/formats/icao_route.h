#pragma once
// The route item of an ICAO flight plan, resolved over the world data:
//
//   KSFO/28R N0450F330 SFO V25 SNS DCT 3630N12100W V25 V12 EMUXY/M078F350 SEAVU2 KLAX/24R
//
// - the departure and arrival airports at the ends, each with an optional runway ("/28R"), unless
//   the context gives them (a SimBrief plan holds them apart from its route);
// - speed and level groups, alone or after a point: N0450 knots, M078 Mach, K0830 km/h; F330 flight
//   level, A045 hundreds of feet, S1000 and M0610 tens of metres. The highest level is the cruise
//   altitude, with the speed given beside it, since the FMC flies one of each (a route without a
//   level takes its first speed);
// - DCT, a direct leg (also what two points in a row mean);
// - airways between two points, expanded into the points along them; two or more airways in a row
//   meet where they cross (the same fix on both), by the fewest segments. An airway that the world
//   data splits into fragments of one name is followed only along connected fixes;
// - points: navaids and fixes by ident, of several that share one the one nearest the route (the
//   detour from the point before towards the arrival), or nearest a hint; latitude/longitude
//   points as 37N122W or 3730N12215W;
// - SID and STAR names (letters, a digit, maybe a letter: SSTIK5, SEAVU2A) are skipped with a
//   warning, since the world data holds no procedures.
// Errors name the word that could not be used.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "flightplan/formats/flight_plan.h"
#include "flightplan/route/navdb.h"
#include "platform/result.h"

namespace planner {

struct RouteContext {
    std::string departure, arrival;  // airport idents given apart from the route; empty: at its ends
    std::string departure_runway, arrival_runway;
    // Where points of the route lie (a SimBrief navlog's fixes): of namesakes, the one nearest.
    std::vector<std::pair<std::string, sim::LatLon>> hints;
};

plat::Result<FlightPlan> resolve_icao_route(const NavDb& db, std::string_view route, const RouteContext& context = {});

// A speed and level group ("N0450F330"): the speed (Mach 5 or less, else knots) and the level in feet.
struct SpeedLevel {
    double speed = 0;
    std::optional<int> level_ft;  // none for VFR
};
std::optional<SpeedLevel> parse_speed_level(std::string_view text);
// The FMC flies one cruise: the highest level filed, at the speed given beside it (without any
// level, the first speed).
void take_cruise(FlightPlan& plan, const SpeedLevel& group);

}  // namespace planner
