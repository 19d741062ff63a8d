#pragma once
// Resolving a plan as a file states it over the world data: the one step between every reader and
// the planner. It looks up what the file leaves open and enriches the rest:
// - a route string (which carries no positions) becomes its points through the world data;
// - the airports are the world data's, with their runways and elevations (a plan that starts or
//   ends at a point of its own departs from or arrives at the airport nearest it, said in a warning);
// - a point with a position is that point: the world data's navaid or fix there gives its type,
//   name and frequency, and a name the data lacks, or places elsewhere, is kept as the file has it;
// - a point with only an ident is the nearest of that name along the route;
// - an airway to be followed is expanded through the data between its ends (kept as a direct leg
//   with a warning when the data does not have it and the file gives the ends' positions);
// - the runways the plan names must be the airport's, or a renumbered one (see named_runway_end);
// - a plan without a cruise altitude cruises at the highest of its points' altitude restrictions.
// Errors name the file and the line.

#include <string_view>

#include "flightplan/formats/flight_plan.h"
#include "flightplan/route/navdb.h"
#include "platform/result.h"

namespace planner {

plat::Result<FlightPlan> resolve_plan(const NavDb& db, FlightPlan plan, std::string_view file);

}  // namespace planner
