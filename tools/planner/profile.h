#pragma once
// The vertical and time profile of a route: the top of climb and the top of descent placed from
// the climb and descent rates and speeds, the altitude and the cumulative distance and time at
// every point.

#include <string>
#include <vector>

#include "platform/result.h"
#include "tools/planner/route.h"

namespace planner {

struct Performance {
    std::string aircraft = "MD-80";
    double cruise_speed = 0.76;  // 5 or less: Mach; more: knots indicated
    int cruise_altitude_ft = 33000;
    int climb_rate_fpm = 2500;
    int descent_rate_fpm = 2000;
    int climb_speed_kt = 280;
    int descent_speed_kt = 280;
};

struct PlanPoint {
    RoutePlace place;  // TOC and TOD: type "TOC"/"TOD", ident "*****"
    int altitude_ft = 0;
    double course_deg = 0;    // true course of the leg that ends here (0 for the departure)
    double distance_nm = 0;   // from the departure, along the route
    double minutes = 0;       // from the departure
};

struct Profile {
    std::vector<PlanPoint> points;
    int cruise_altitude_ft = 0;  // lowered when the route is too short to reach the asked one
    std::string note;            // why it was lowered
};

plat::Result<Profile> make_profile(const std::vector<RoutePlace>& route, const Performance& perf);

}  // namespace planner
