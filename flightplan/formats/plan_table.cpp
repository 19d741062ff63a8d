#include "flightplan/formats/plan_table.h"

#include <cmath>
#include <cstdio>

namespace planner {

namespace {

std::string position_text(sim::LatLon p) {
    char t[48];
    std::snprintf(t, sizeof t, "%c%09.6f %c%010.6f", p.lat < 0 ? 'S' : 'N', std::fabs(p.lat), p.lon < 0 ? 'W' : 'E',
                  std::fabs(p.lon));
    return t;
}

}  // namespace

std::vector<int> planned_altitudes(const FlightPlan& plan, Performance perf) {
    if (plan.cruise_altitude_ft) perf.cruise_altitude_ft = *plan.cruise_altitude_ft;
    if (plan.cruise_speed) perf.cruise_speed = *plan.cruise_speed;
    std::vector<RoutePlace> route;
    for (const auto& w : plan.waypoints) route.push_back(w.place);
    std::vector<int> planned;
    if (auto profile = make_profile(route, perf))
        for (const auto& p : profile->points)
            if (p.place.type != "TOC" && p.place.type != "TOD") planned.push_back(p.altitude_ft);
    return planned;
}

std::string plan_table(const FlightPlan& plan, Performance perf) {
    const std::vector<int> planned = planned_altitudes(plan, perf);
    if (plan.cruise_altitude_ft) perf.cruise_altitude_ft = *plan.cruise_altitude_ft;
    if (plan.cruise_speed) perf.cruise_speed = *plan.cruise_speed;
    std::string t;
    char line[200];
    std::snprintf(line, sizeof line, "%-12s %-4s %-23s %-8s %8s %8s\n", "IDENT", "TYPE", "POSITION", "AIRWAY", "LEG NM",
                  "ALT FT");
    t += line;
    double total = 0;
    for (std::size_t i = 0; i < plan.waypoints.size(); ++i) {
        const PlanWaypoint& w = plan.waypoints[i];
        const double leg = i == 0 ? 0.0 : sim::distance_nm(plan.waypoints[i - 1].place.at, w.place.at);
        total += leg;
        std::string ident = w.place.ident;
        if (i == 0 && !plan.departure_runway.empty()) ident += "/" + plan.departure_runway;
        if (i + 1 == plan.waypoints.size() && i > 0 && !plan.arrival_runway.empty()) ident += "/" + plan.arrival_runway;
        const std::string type = is_latlon_point(w.place) ? "LL" : w.place.type;
        // What the file holds for the point, where it gives an altitude; else the profile's.
        const bool inner = i > 0 && i + 1 < plan.waypoints.size();
        const int alt = inner && w.altitude_ft != 0 ? w.altitude_ft : i < planned.size() ? planned[i] : w.altitude_ft;
        std::snprintf(line, sizeof line, "%-12.12s %-4s %-23s %-8.8s %8.1f %8d\n", ident.c_str(), type.c_str(),
                      position_text(w.place.at).c_str(), w.airway.empty() ? (i == 0 ? "" : "DCT") : w.airway.c_str(),
                      leg, alt);
        t += line;
    }
    if (perf.cruise_speed <= 5)
        std::snprintf(line, sizeof line, "cruise FL%03d at Mach %.2f; %.1f nm in all\n", perf.cruise_altitude_ft / 100,
                      perf.cruise_speed, total);
    else
        std::snprintf(line, sizeof line, "cruise FL%03d at %.0f kt; %.1f nm in all\n", perf.cruise_altitude_ft / 100,
                      perf.cruise_speed, total);
    t += line;
    return t;
}

}  // namespace planner
