#include "tools/planner/plan.h"

#include <cstdio>
#include <filesystem>

#include "tools/planner/pln_writer.h"
#include "tools/planner/route.h"

namespace planner {

namespace {

constexpr double runway_choice_nm = 5.0;  // points this close to an airport say little of the way out or in

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
    std::vector<RoutePlace> route = std::move(resolved).value();
    const RoutePlace dep = route.front(), arr = route.back();
    const auto dep_end = choose_runway_end(db, *dep.airport, dep.runway, request.wind, departure_course(route));
    const auto arr_end = choose_runway_end(db, *arr.airport, arr.runway, request.wind, arrival_course(route));
    if (arr_end) {
        const std::vector<RoutePlace> approach = approach_points(db, *arr.airport, *arr_end);
        route.insert(route.end() - 1, approach.begin(), approach.end());
    }
    auto profile = make_profile(route, request.performance);
    if (!profile) return plat::Error{profile.error()};
    Plan plan;
    plan.profile = std::move(profile).value();
    plan.note = plan.profile.note;
    const std::string dep_runway = dep_end ? runway_end_text(*dep.airport, *dep_end, db.variation_at(dep.at)) : "";
    const std::string arr_runway = arr_end ? runway_end_text(*arr.airport, *arr_end, db.variation_at(arr.at)) : "";
    plan.text = format_plan(plan.profile, request.performance, dep_runway, arr_runway);
    return plan;
}

std::optional<plat::Error> write_plan_file(const std::string& path, const std::string& text) {
    const std::string temp = path + ".tmp";
    std::FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f) return plat::Error{temp + ": cannot write"};
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
