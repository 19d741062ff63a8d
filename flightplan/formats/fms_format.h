#pragma once
// X-Plane's FMS flight plan (.fms): read in version 3 and version 1100, written in version 1100.
//
//   I / 1100 Version / CYCLE 1310 / ADEP KSFO / DEPRWY RW28R / ADES KLAX / DESRWY RW24R / NUMENR n
//   then n lines "<type> <ident> <via> <altitude ft> <latitude> <longitude>"
//
// Types 1 airport, 2 NDB, 3 VOR, 11 fix, 28 a point of the user's own (by its name, or by its
// position). The cruise altitude is the highest altitude of the points between the airports; the
// format has no cruise speed. Version 3 may start at a point of the user's own; version 1100 names
// such ends with DEP and DES.

#include <string>
#include <string_view>

#include "flightplan/formats/flight_plan.h"
#include "flightplan/planning/profile.h"
#include "platform/result.h"

namespace planner {

plat::Result<FlightPlan> read_fms(std::string_view text, std::string_view file);
// True when text starts as an FMS file does: "I" or "A", then a version line.
bool looks_like_fms(std::string_view text);
// Each point at its own altitude restriction, else at the level perf's profile flies it.
std::string write_fms(const FlightPlan& plan, const Performance& perf);

}  // namespace planner
