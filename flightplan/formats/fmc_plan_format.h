#pragma once
// The FMC's own flight plan file (.pln of fixed-column records, flightplan/planning/pln_writer.h):
// written from a flight plan through the planner's profile, read back for conversion into the
// other formats. The runways, the approach and the profile are the planner's (plan_route), as for
// a route string.

#include <string>
#include <string_view>

#include "flightplan/formats/flight_plan.h"
#include "flightplan/planning/profile.h"
#include "platform/result.h"

namespace planner {

// The FMC's plan file text. The plan's cruise values, where it has them, replace perf's. Idents
// longer than the FMC's five columns are shortened (the name column keeps them whole, and the
// reader takes them back from there), and no two points elsewhere share one. note receives the
// profile's remark (a lowered cruise altitude), if any.
plat::Result<std::string> write_fmc_plan(const NavDb& db, const FlightPlan& plan, Performance perf,
                                         std::string* note = nullptr);
plat::Result<FlightPlan> read_fmc_plan(std::string_view text, std::string_view file);
bool looks_like_fmc_plan(std::string_view text);

}  // namespace planner
