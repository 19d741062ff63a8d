#pragma once
// FlightGear's route files (.xml, .fgfp): a PropertyList, read in version 1 and 2, written in
// version 2. The departure and destination elements name the airports and runways; the route's
// wp elements are the points between (runway points give the runways, procedure legs are
// skipped, a "via" point is its airway followed to its ident, points that repeat the airports are
// not route points). Altitude restrictions are kept per point.

#include <string>
#include <string_view>

#include "flightplan/formats/flight_plan.h"
#include "platform/result.h"

namespace planner {

plat::Result<FlightPlan> read_fg_route(std::string_view text, std::string_view file);
std::string write_fg_route(const FlightPlan& plan);

}  // namespace planner
