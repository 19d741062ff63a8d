#pragma once
// The FMC's own flight plan file (.pln of fixed-column records, tools/planner/pln_writer.h):
// written from a flight plan through the planner's profile, read back for conversion into the
// other formats. The runways are the plan's own when it names them, else the ends that line up
// best with the first and last legs, as the planner chooses them for a route string.

#include <string>
#include <string_view>

#include "platform/result.h"
#include "tools/planner/formats/flight_plan.h"
#include "tools/planner/profile.h"

namespace planner {

// The FMC's plan file text. The plan's cruise values, where it has them, replace perf's. note
// receives the profile's remark (a lowered cruise altitude), if any.
plat::Result<std::string> write_fmc_plan(const NavDb& db, const FlightPlan& plan, Performance perf,
                                         std::string* note = nullptr);
plat::Result<FlightPlan> read_fmc_plan(const NavDb& db, std::string_view text, std::string_view file);
bool looks_like_fmc_plan(std::string_view text);

// "RUNWAY=" text of a named runway end ("28R"): designator, magnetic heading, length; empty when
// the airport has no such end.
std::string named_runway_text(const navdata::Airport& a, const std::string& designator, double variation_deg);

}  // namespace planner
