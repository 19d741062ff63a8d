#include "flightplan/formats/fmc_plan_format.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "flightplan/formats/route_text.h"
#include "flightplan/planning/plan.h"
#include "flightplan/planning/pln_writer.h"

namespace planner {

namespace {

bool has_runway_end(const worlddata::Airport& a, const std::string& designator) {
    for (const auto& end : a.ends)
        if (end.designator == designator) return true;
    return false;
}

std::string trimmed(std::string_view s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '\r')) s.remove_suffix(1);
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    return std::string(s);
}

// The rest of the line after key, searched from from; nothing when the key is not there.
std::optional<std::string> value_after(std::string_view text, std::string_view key, std::size_t from = 0) {
    const std::size_t at = text.find(key, from);
    if (at == std::string_view::npos) return std::nullopt;
    const std::size_t start = at + key.size();
    const std::size_t end = text.find('\n', start);
    return trimmed(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
}

}  // namespace

plat::Result<std::string> write_fmc_plan(const NavDb& db, const FlightPlan& plan, Performance perf, std::string* note) {
    if (plan.waypoints.size() < 2) return plat::Error{"a plan needs a departure and an arrival airport"};
    if (plan.cruise_altitude_ft) perf.cruise_altitude_ft = *plan.cruise_altitude_ft;
    if (plan.cruise_speed) perf.cruise_speed = *plan.cruise_speed;
    std::vector<RoutePlace> route;
    for (const auto& w : plan.waypoints) route.push_back(w.place);
    RoutePlace& dep = route.front();
    RoutePlace& arr = route.back();
    if (!dep.airport || !arr.airport) return plat::Error{"the plan must start and end at airports of the world data"};
    if (!plan.departure_runway.empty() && !has_runway_end(*dep.airport, plan.departure_runway))
        return plat::Error{dep.ident + " has no runway " + plan.departure_runway};
    if (!plan.arrival_runway.empty() && !has_runway_end(*arr.airport, plan.arrival_runway))
        return plat::Error{arr.ident + " has no runway " + plan.arrival_runway};
    dep.runway = plan.departure_runway;
    arr.runway = plan.arrival_runway;
    auto made = plan_route(db, std::move(route), perf, plan.wind);
    if (!made) return plat::Error{made.error()};
    if (note) *note = made->note;
    return std::move(made->text);
}

bool looks_like_fmc_plan(std::string_view text) {
    return text.find("[DEPARTURE]") != std::string_view::npos || text.find("[WAYPOINTS]") != std::string_view::npos;
}

plat::Result<FlightPlan> read_fmc_plan(const NavDb& db, std::string_view text, std::string_view file) {
    FlightPlan plan;
    const std::size_t dep_at = text.find("[DEPARTURE]"), arr_at = text.find("[ARRIVAL]"),
                      wp_at = text.find("[WAYPOINTS]");
    if (dep_at == std::string_view::npos) return file_error(file, 0, "no [DEPARTURE] section: not an FMC flight plan");
    if (arr_at == std::string_view::npos) return file_error(file, 0, "no [ARRIVAL] section");
    if (wp_at == std::string_view::npos) return file_error(file, 0, "no [WAYPOINTS] section");
    for (auto [at, runway] : {std::pair{dep_at, &plan.departure_runway}, std::pair{arr_at, &plan.arrival_runway}}) {
        const auto r = value_after(text, "RUNWAY=", at);
        if (r) *runway = trimmed(r->substr(0, r->find('/')));
    }
    if (const auto v = value_after(text, "CRUISE_ALTITUDE=")) {
        const long a = std::strtol(v->c_str(), nullptr, 10);
        if (a > 0 && a < 99999) plan.cruise_altitude_ft = static_cast<int>(a);
    }
    if (const auto v = value_after(text, "CRUISE_SPEED=")) {
        const double s = std::strtod(v->c_str(), nullptr);
        if (s > 0 && s < 2000) plan.cruise_speed = s;
    }
    std::size_t at = text.find('\n', wp_at);
    at = at == std::string_view::npos ? text.size() : at + 1;
    std::size_t line = line_of(text, at);
    for (; at < text.size(); ++line) {
        std::size_t end = text.find('\n', at);
        if (end == std::string_view::npos) end = text.size();
        std::string_view record = text.substr(at, end - at);
        at = end + 1;
        if (!record.empty() && record.back() == '\r') record.remove_suffix(1);
        if (trimmed(record).empty()) continue;
        if (record.size() != pln_record_length)
            return file_error(file, line,
                              "a waypoint record is " + std::to_string(record.size()) + " characters long, not " +
                                  std::to_string(pln_record_length));
        const std::string type = trimmed(record.substr(0, 5));
        if (type == "TOC" || type == "TOD") continue;
        std::string ident = trimmed(record.substr(5, 5));
        const std::string name = trimmed(record.substr(12, 25));
        sim::LatLon p;
        if (!planner::parse_coordinate_field(record.substr(46, 14), false, p.lat) ||
            !planner::parse_coordinate_field(record.substr(60, 14), true, p.lon) || std::fabs(p.lat) > 90 ||
            std::fabs(p.lon) > 180)
            return file_error(file, line, "waypoint '" + ident + "': no position in columns 46-73");
        PlanWaypoint w;
        w.altitude_ft = static_cast<int>(std::strtol(std::string(record.substr(75, 5)).c_str(), nullptr, 10));
        if (type == "APT") {
            auto a = airport_place(db, ident);
            if (!a) return file_error(file, line, "unknown airport '" + ident + "'");
            w.place = std::move(*a);
            w.altitude_ft = 0;
        } else if (type == "INT" && parse_latlon_ident(name)) {
            w.place = place_from_file(db, name, p);
        } else if (type == "VOR" || type == "NDB" || type == "INT") {
            w.place = place_from_file(db, ident, p);
        } else {
            return file_error(file, line, "waypoint type '" + type + "' is not known (APT, VOR, NDB, INT, TOC, TOD)");
        }
        plan.waypoints.push_back(std::move(w));
    }
    if (plan.waypoints.size() < 2 || plan.waypoints.front().place.type != "APT" ||
        plan.waypoints.back().place.type != "APT")
        return file_error(file, line_of(text, wp_at),
                          "the waypoints must run from the departure airport to the arrival airport");
    return plan;
}

}  // namespace planner
