#include "tools/planner/plan.h"

#include <cstdio>
#include <filesystem>

#include "tools/planner/pln_writer.h"
#include "tools/planner/route.h"

namespace planner {

namespace {

constexpr double runway_choice_nm = 5.0;  // points this close to an airport say little of the way out or in

double departure_course(const std::vector<PlanPoint>& pts) {
    for (std::size_t i = 1; i < pts.size(); ++i)
        if (sim::distance_nm(pts.front().place.at, pts[i].place.at) >= runway_choice_nm || i + 1 == pts.size())
            return sim::course_deg(pts.front().place.at, pts[i].place.at);
    return 0;
}

double arrival_course(const std::vector<PlanPoint>& pts) {
    for (std::size_t i = pts.size() - 1; i-- > 0;)
        if (sim::distance_nm(pts[i].place.at, pts.back().place.at) >= runway_choice_nm || i == 0)
            return sim::course_deg(pts[i].place.at, pts.back().place.at);
    return 0;
}

}  // namespace

plat::Result<Plan> make_plan(const NavDb& db, const PlanRequest& request) {
    auto route = resolve_route(db, request.route);
    if (!route) return plat::Error{route.error()};
    auto profile = make_profile(*route, request.performance);
    if (!profile) return plat::Error{profile.error()};
    Plan plan;
    plan.profile = std::move(profile).value();
    plan.note = plan.profile.note;
    const auto& pts = plan.profile.points;
    const RoutePlace& dep = pts.front().place;
    const RoutePlace& arr = pts.back().place;
    const std::string dep_runway = runway_text(*dep.airport, departure_course(pts), db.variation_at(dep.at));
    const std::string arr_runway = runway_text(*arr.airport, arrival_course(pts), db.variation_at(arr.at));
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
