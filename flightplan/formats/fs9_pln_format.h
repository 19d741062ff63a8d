#pragma once
// The flight plan of FS2002 and FS2004 (.pln as INI text): a [flightplan] section of key=value
// lines, the points as waypoint.N lines in the order of N, in the form FS2004 writes
//   waypoint.1=K2, SANTY, , SANTY, I, N36* 58.75', W122* 4.38', +016000.00, V25
// (region, ident, ident again, type, latitude, longitude, altitude, the airway leading there) or
// the short form other tools write
//   waypoint.1=SANTY, I, N36* 58.75', W122* 4.38', +016000.00,
// Types A airport, V VOR, N NDB, I intersection, U a point of the user's own. departure_position
// names the runway when it is one (else a parking place); cruising_altitude the cruise altitude.

#include <string_view>

#include "flightplan/formats/flight_plan.h"
#include "platform/result.h"

namespace planner {

plat::Result<FlightPlan> read_fs9_pln(std::string_view text, std::string_view file);
// True when text's first line is the [flightplan] section.
bool looks_like_fs9_pln(std::string_view text);

}  // namespace planner
