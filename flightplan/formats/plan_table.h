#pragma once
// The route of a flight plan as a table for a person: ident, type, position, airway, leg
// distance and the altitude the file holds for the point (else the one the profile plans there),
// then the cruise values and the total.

#include <string>
#include <vector>

#include "flightplan/formats/flight_plan.h"
#include "flightplan/planning/profile.h"

namespace planner {

std::string plan_table(const FlightPlan& plan, Performance perf);
// The altitude perf's profile flies each of the plan's points at (the plan's cruise values, where
// it has them, replacing perf's); empty when the plan is too short for a profile.
std::vector<int> planned_altitudes(const FlightPlan& plan, Performance perf);

}  // namespace planner
