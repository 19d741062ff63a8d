#pragma once
// SimBrief's flight plan (OFP) as XML: the route is the navlog's fixes between origin and
// destination (with their plan_rwy), at the navlog's positions; a fix reached by an airway follows
// that airway through the world data where it has it, since a navlog without the "detailed" option
// lists only the airways' ends. The navlog's airports, TOC, TOD and procedure points are no route
// points. Without fixes in the navlog, the atc/route item is resolved instead. The cruise values
// come from the route item's speed and level groups, else from general/initial_altitude and
// general/cruise_mach or cruise_tas.

#include <string_view>

#include "flightplan/formats/flight_plan.h"
#include "platform/result.h"

namespace planner {

plat::Result<FlightPlan> read_simbrief(std::string_view text, std::string_view file);

}  // namespace planner
