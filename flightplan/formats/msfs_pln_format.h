#pragma once
// The flight plan of FSX, Prepar3D and MSFS (.pln, AceXML): a SimBase.Document holding a
// FlightPlan.FlightPlan with its ATCWaypoint elements in order, the airports first and last.
// Positions are "N37° 37' 7.70",W122° 22' 31.50",+000013.00"; the degree sign may be UTF-8 or
// Windows-1252, and a UTF-8 byte order mark may lead. MSFS's RunwayNumberFP and
// RunwayDesignatorFP on the airports give the runways. The format has no cruise speed.

#include <string_view>

#include "flightplan/formats/flight_plan.h"
#include "platform/result.h"

namespace planner {

plat::Result<FlightPlan> read_msfs_pln(const NavDb& db, std::string_view text, std::string_view file);

// "N37° 37' 7.70"" and the like: hemisphere, degrees, minutes, seconds; nothing for other text.
std::optional<double> parse_dms(std::string_view text);

}  // namespace planner
