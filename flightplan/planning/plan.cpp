#include "flightplan/planning/plan.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>

#include "flightplan/planning/pln_writer.h"
#include "flightplan/route/route.h"
#include "platform/file_error.h"

namespace planner {

namespace {

constexpr double runway_choice_nm = 5.0;  // points this close to an airport say little of the way out or in
// A plan written out and read back holds its approach points to the precision of its format.
constexpr double same_approach_point_nm = 0.1;
constexpr double lowest_approach_height_ft = 1500;

double departure_course(const std::vector<RoutePlace>& pts) {
    for (std::size_t i = 1; i < pts.size(); ++i)
        if (sim::distance_nm(pts.front().at, pts[i].at) >= runway_choice_nm || i + 1 == pts.size())
            return sim::course_deg(pts.front().at, pts[i].at);
    return 0;
}

double arrival_course(const std::vector<RoutePlace>& pts) {
    for (std::size_t i = pts.size() - 1; i-- > 0;)
        if (sim::distance_nm(pts[i].at, pts.back().at) >= runway_choice_nm || i == 0)
            return sim::course_deg(pts[i].at, pts.back().at);
    return 0;
}

}  // namespace

plat::Result<Plan> make_plan(const NavDb& db, const PlanRequest& request) {
    auto resolved = resolve_route(db, request.route);
    if (!resolved) return plat::Error{resolved.error()};
    return plan_route(db, std::move(resolved).value(), request.performance, request.wind);
}

plat::Result<Plan> plan_route(const NavDb& db, std::vector<RoutePlace> route, const Performance& performance,
                              const std::optional<Wind>& wind) {
    if (route.size() < 2 || !route.front().airport || !route.back().airport)
        return plat::Error{"the plan must start and end at airports of the world data"};
    const RoutePlace dep = route.front(), arr = route.back();
    const auto dep_end = choose_runway_end(db, *dep.airport, dep.runway, wind, departure_course(route));
    const auto arr_end = choose_runway_end(db, *arr.airport, arr.runway, wind, arrival_course(route), true);
    if (arr_end) {
        std::vector<RoutePlace> approach = approach_points(db, *arr.airport, *arr_end);
        // A route planned below the approach's altitude (a low hop) meets the approach at its own
        // level, if that still leaves the approach well above the field.
        const int lowest = static_cast<int>(std::ceil((arr.elevation_ft + lowest_approach_height_ft) / 100.0)) * 100;
        const int level = std::max(lowest, performance.cruise_altitude_ft / 100 * 100);
        for (RoutePlace& p : approach) p.fixed_altitude_ft = std::min(p.fixed_altitude_ft, level);
        std::erase_if(route, [&](const RoutePlace& p) {
            return std::any_of(approach.begin(), approach.end(), [&](const RoutePlace& a) {
                return p.ident == a.ident && sim::distance_nm(p.at, a.at) < same_approach_point_nm;
            });
        });
        route.insert(route.end() - 1, approach.begin(), approach.end());
    }
    auto profile = make_profile(route, performance);
    if (!profile) return plat::Error{profile.error()};
    Plan plan;
    plan.profile = std::move(profile).value();
    plan.note = plan.profile.note;
    const std::string dep_runway = dep_end ? runway_end_text(*dep.airport, *dep_end, db.variation_at(dep.at)) : "";
    const std::string arr_runway = arr_end ? runway_end_text(*arr.airport, *arr_end, db.variation_at(arr.at)) : "";
    plan.text = format_plan(plan.profile, performance, dep_runway, arr_runway);
    return plan;
}

std::optional<plat::Error> write_plan_file(const std::string& path, const std::string& text) {
    const std::string temp = path + ".tmp";
    std::FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f) return plat::cannot_write(temp);
    const bool written = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    const bool closed = std::fclose(f) == 0;
    if (!written || !closed) {
        std::remove(temp.c_str());
        return plat::Error{path + ": write failed"};
    }
    std::error_code ec;
    std::filesystem::rename(temp, path, ec);
    if (ec) {
        std::remove(temp.c_str());
        return plat::Error{path + ": " + ec.message()};
    }
    return std::nullopt;
}

}  // namespace planner
