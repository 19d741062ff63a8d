#include "simlink/xplane/fms_output.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "flightplan/formats/fms_format.h"

namespace simlink::xp {

namespace {

namespace fs = std::filesystem;

bool letters_only(const std::string& ident) {
    return !ident.empty() && std::ranges::all_of(ident, [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); });
}

// An airport ident fit for a file name and for the format's ADEP and ADES lines.
bool airport_ident(const std::string& ident) {
    return ident.size() >= 3 && ident.size() <= 4 &&
           std::ranges::all_of(ident, [](char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); });
}

}  // namespace

std::string fms_text(const std::vector<planner::RoutePoint>& route) {
    if (route.size() < 2 || route.front().type != "APT" || route.back().type != "APT" ||
        !airport_ident(route.front().ident) || !airport_ident(route.back().ident))
        return {};
    planner::FlightPlan plan;
    for (const planner::RoutePoint& p : route) {
        if (p.type == "TOC" || p.type == "TOD") continue;
        planner::PlanWaypoint w = planner::stated_point(p.type, p.ident, p.at);
        const bool named = p.type == "APT" || ((p.type == "VOR" || p.type == "NDB" || p.type == "INT") && letters_only(p.ident));
        if (!named) {
            w.place.type = "INT";
            w.user_point = true;
        }
        plan.waypoints.push_back(std::move(w));
    }
    return planner::write_fms(plan, planner::Performance{});
}

plat::Result<std::string> write_fms_plan(const std::string& xplane_folder, const std::vector<planner::RoutePoint>& route) {
    const std::string text = fms_text(route);
    if (text.empty()) return plat::Error{"the route has no two airports to name an X-Plane plan by"};
    const fs::path folder = fs::path(xplane_folder) / "Output" / "FMS plans";
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) return plat::Error{folder.string() + ": " + ec.message()};
    const fs::path path = folder / (route.front().ident + "-" + route.back().ident + ".fms");
    const fs::path part = path.string() + ".part";
    {
        std::ofstream out(part, std::ios::binary | std::ios::trunc);
        out << text;
        if (!out) return plat::Error{part.string() + ": cannot write"};
    }
    fs::rename(part, path, ec);
    if (ec) return plat::Error{path.string() + ": " + ec.message()};
    return path.string();
}

}  // namespace simlink::xp
