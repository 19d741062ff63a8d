#pragma once
// Follows the flight plans the FMC publishes (fltplanMap1, then fltplanMap0, alternating, as the
// navigation display takes them) and keeps the route and runways of the latest one.

#include <string>
#include <vector>

#include "flightplan/formats/route_text.h"

namespace panelhost {

class PlanWatch {
public:
    // Takes a newly published plan, if there is one; true when the route changed.
    bool poll();
    const std::vector<planner::RoutePoint>& route() const { return route_; }
    const planner::PlanRunways& runways() const { return runways_; }

private:
    int expected_ = 1;
    std::vector<planner::RoutePoint> route_;
    planner::PlanRunways runways_;
};

}  // namespace panelhost
