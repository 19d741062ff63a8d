#pragma once
// SimBrief's flight plan (OFP) as XML: the route is its atc/route item resolved over the world
// data between origin and destination (with their plan_rwy), each navlog fix's position choosing
// among namesakes; the navlog is then checked against the result: every fix it lists (but the
// airports, TOC, TOD and procedure points) must be a point of the route, in order, where the
// navlog puts it. The cruise values come from the route's speed and level groups, else from
// general/initial_altitude and general/cruise_mach or cruise_tas.

#include <string_view>

#include "flightplan/formats/flight_plan.h"
#include "platform/result.h"

namespace planner {

plat::Result<FlightPlan> read_simbrief(const NavDb& db, std::string_view text, std::string_view file);

}  // namespace planner
