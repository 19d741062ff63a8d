#include "flightplan/formats/fmc_plan_format.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <tuple>

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

// The ARINC 424 five-character form of a whole-degree point: "5020N" is 50N 20W, "50N20" 50N 120W.
std::string short_latlon(sim::LatLon p) {
    const int lat = static_cast<int>(std::lround(std::fabs(p.lat)));
    const int lon = static_cast<int>(std::lround(std::fabs(p.lon)));
    const char quadrant = p.lat >= 0 ? (p.lon < 0 ? 'N' : 'E') : (p.lon < 0 ? 'W' : 'S');
    char t[16];
    if (lon < 100) std::snprintf(t, sizeof t, "%02d%02d%c", lat % 100, lon, quadrant);
    else std::snprintf(t, sizeof t, "%02d%c%02d", lat % 100, quadrant, lon % 100);
    return t;
}

// A point's ident as the FMC's five columns can hold it; the name column keeps the whole.
std::string short_ident(const RoutePlace& p) {
    if (p.ident.size() <= pln_ident_length) return p.ident;
    if (p.ident.size() == 7 && is_latlon_point(p)) return short_latlon(p.at);
    std::string s;
    for (char c : p.ident)
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) s += c;
    return s.substr(0, pln_ident_length);
}

// Shortens the idents that do not fit, and numbers an ident that another point elsewhere already
// has, so that no two points of the FMC's plan share one.
void fit_idents(std::vector<RoutePlace>& route) {
    constexpr double same_point_nm = 0.05;
    std::map<std::string, sim::LatLon> used;
    for (std::size_t i = 1; i + 1 < route.size(); ++i) {
        RoutePlace& p = route[i];
        std::string ident = short_ident(p);
        auto taken = [&](const std::string& s) {
            auto it = used.find(s);
            return it != used.end() && sim::distance_nm(it->second, p.at) > same_point_nm;
        };
        for (int k = 1; taken(ident) && k < 1000; ++k) {
            const std::string number = std::to_string(k);
            ident = ident.substr(0, pln_ident_length - number.size()) + number;
        }
        if (ident != p.ident) {
            if (p.name.empty() || p.name == p.ident) p.name = p.ident;
            p.ident = ident;
        }
        used.emplace(ident, p.at);
    }
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
    fit_idents(route);
    auto made = plan_route(db, std::move(route), perf, plan.wind);
    if (!made) return plat::Error{made.error()};
    if (note) *note = made->note;
    return std::move(made->text);
}

bool looks_like_fmc_plan(std::string_view text) {
    return text.find("[DEPARTURE]") != std::string_view::npos || text.find("[WAYPOINTS]") != std::string_view::npos;
}

plat::Result<FlightPlan> read_fmc_plan(std::string_view text, std::string_view file) {
    FlightPlan plan;
    const std::size_t dep_at = text.find("[DEPARTURE]"), arr_at = text.find("[ARRIVAL]"),
                      wp_at = text.find("[WAYPOINTS]");
    if (dep_at == std::string_view::npos) return file_error(file, 0, "no [DEPARTURE] section: not an FMC flight plan");
    if (arr_at == std::string_view::npos) return file_error(file, 0, "no [ARRIVAL] section");
    if (wp_at == std::string_view::npos) return file_error(file, 0, "no [WAYPOINTS] section");
    for (auto [at, runway, line] : {std::tuple{dep_at, &plan.departure_runway, &plan.departure_runway_line},
                                    std::tuple{arr_at, &plan.arrival_runway, &plan.arrival_runway_line}}) {
        const auto r = value_after(text, "RUNWAY=", at);
        if (r) *runway = trimmed(r->substr(0, r->find('/'))), *line = line_of(text, text.find("RUNWAY=", at));
    }
    if (const auto v = value_after(text, "CRUISE_ALTITUDE="))
        if (const auto a = number_in(*v, 1, 99999)) plan.cruise_altitude_ft = static_cast<int>(std::lround(*a));
    if (const auto v = value_after(text, "CRUISE_SPEED="))
        if (const auto s = number_in(*v, 0.01, 2000)) plan.cruise_speed = *s;
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
        const std::string ident = trimmed(record.substr(5, 5));
        const std::string name = trimmed(record.substr(12, 25));
        sim::LatLon p;
        if (!planner::parse_coordinate_field(record.substr(46, 14), false, p.lat) ||
            !planner::parse_coordinate_field(record.substr(60, 14), true, p.lon) || std::fabs(p.lat) > 90 ||
            std::fabs(p.lon) > 180)
            return file_error(file, line, "waypoint '" + ident + "': no position in columns 46-73");
        PlanWaypoint w;
        if (type == "APT") {
            w = stated_point("APT", ident, p);
        } else if (type == "INT" && !name.empty() && name != ident && name.find(' ') == std::string::npos) {
            // A name the ident column could not hold: the point's own, shortened there.
            w = stated_point("INT", name, p);
            w.user_point = !parse_latlon_ident(name);
        } else if (type == "VOR" || type == "NDB" || type == "INT") {
            w = stated_point(type, ident, p);
            // The planner's own points (the approach's) are named in words: "KLAX 24R INTERCEPT".
            w.user_point = type == "INT" && name.find(' ') != std::string::npos;
        } else {
            return file_error(file, line, "waypoint type '" + type + "' is not known (APT, VOR, NDB, INT, TOC, TOD)");
        }
        if (type != "APT")
            if (const auto a = number_in(record.substr(75, 5), -2000, 99999)) w.altitude_ft = static_cast<int>(*a);
        w.line = line;
        plan.waypoints.push_back(std::move(w));
    }
    if (plan.waypoints.size() < 2 || plan.waypoints.front().place.type != "APT" ||
        plan.waypoints.back().place.type != "APT")
        return file_error(file, line_of(text, wp_at),
                          "the waypoints must run from the departure airport to the arrival airport");
    return plan;
}

}  // namespace planner
