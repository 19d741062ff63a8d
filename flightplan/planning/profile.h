#pragma once
// The vertical, speed and time profile of a route, as an airliner flies it: the climb at the
// climb rate, at 250 kt or less below 10,000 ft and at the climb speed above; the cruise; the
// descent at the descent rate, at the descent speed down to 10,000 ft and 250 kt or less below,
// slowing to 210 kt over the last 10 NM before the approach; then the approach points at the
// altitudes and speeds they carry (the final approach fix at its altitude) and the arrival at the
// approach speed. The top of climb and the top of descent are placed from the rates and speeds;
// the altitude, speed and the cumulative distance and time are given at every point.

#include <string>
#include <vector>

#include "flightplan/route/route.h"
#include "platform/result.h"

namespace planner {

inline constexpr int speed_limit_low_kt = 250;         // below 10,000 ft
inline constexpr double speed_limit_altitude_ft = 10000.0;
inline constexpr int approach_entry_speed_kt = 210;    // the speed the descent slows to before the approach
inline constexpr double deceleration_nm = 10.0;        // flown at it before the descent ends
inline constexpr int arrival_speed_kt = 140;           // over the runway

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
    int speed_kt = 0;         // indicated, planned over the point
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
