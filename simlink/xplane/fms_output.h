#pragma once
// The route the FMC loaded as an X-Plane flight plan, so that X-Plane's own FMS can load the same
// route: written into the X-Plane folder's "Output/FMS plans/" as DEP-DES.fms (version 1100).

#include <string>
#include <vector>

#include "flightplan/formats/route_text.h"
#include "platform/result.h"

namespace simlink::xp {

// The .fms text of a route; empty for a route without both airports. Top of climb and descent
// are left out; a point no navigation data names (a latitude/longitude point, the planner's
// approach points) goes as a point of the user's own, by its position.
std::string fms_text(const std::vector<planner::RoutePoint>& route);

// Writes it (whole or not at all) and gives the file's path.
plat::Result<std::string> write_fms_plan(const std::string& xplane_folder, const std::vector<planner::RoutePoint>& route);

}  // namespace simlink::xp
