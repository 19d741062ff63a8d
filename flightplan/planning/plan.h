#pragma once
// From a route string to the text of its .pln file: resolve the route, choose the runways, add the
// approach to an arrival runway with an ILS, lay out the profile, format the plan.

#include <optional>
#include <string>

#include "flightplan/planning/profile.h"
#include "flightplan/route/navdb.h"
#include "flightplan/route/route.h"
#include "flightplan/route/runways.h"
#include "platform/result.h"

namespace planner {

struct PlanRequest {
    std::string route;
    std::string data_dir;
    Performance performance;
    std::optional<Wind> wind;  // chooses the runways the route does not name
};

struct Plan {
    std::string text;
    std::string note;  // a remark for the user (a lowered cruise altitude), or empty
    Profile profile;
};

plat::Result<Plan> make_plan(const NavDb& db, const PlanRequest& request);
// The plan of a resolved route, whose airports may name their runways: the runways chosen (named,
// else the one most into the wind, else by the route's direction), the approach put before an
// arrival runway with an ILS (in the place of one the route already holds, so a plan read back
// and written again is the same), the profile laid out, the text formatted.
plat::Result<Plan> plan_route(const NavDb& db, std::vector<RoutePlace> route, const Performance& performance,
                              const std::optional<Wind>& wind);
// Writes through a temporary file renamed into place, so a failed write leaves no half plan.
std::optional<plat::Error> write_plan_file(const std::string& path, const std::string& text);

}  // namespace planner
