#pragma once
// The flight plan of FSX, Prepar3D and MSFS (.pln, AceXML): a SimBase.Document holding a
// FlightPlan.FlightPlan with its ATCWaypoint elements in order, the airports first and last.
// Positions are "N37° 37' 7.70",W122° 22' 31.50",+000013.00"; the degree sign may be UTF-8 or
// Windows-1252, and a UTF-8 byte order mark may lead. The runways come from DeparturePosition and
// DestinationPosition when they name one, else from MSFS's RunwayNumberFP and RunwayDesignatorFP
// on the airports and on the procedures' points. MSFS 2024 leaves the airports out of the points
// (DepartureID and DestinationID name them) and may give a point only its ident; the simulator's
// own markers (TIMECRUIS, TIMEDSCNT) and the approach's points are no route points. The format
// has no cruise speed.

#include <string_view>

#include "flightplan/formats/flight_plan.h"
#include "platform/result.h"

namespace planner {

plat::Result<FlightPlan> read_msfs_pln(std::string_view text, std::string_view file);

// "N37° 37' 7.70"", "N46* 14.28'" and the like: hemisphere, degrees, then minutes and seconds
// where given; nothing for other text.
std::optional<double> parse_dms(std::string_view text);

}  // namespace planner
