#include "simlink/flightgear/route_manager.h"

#include <cstdio>

#include "simlink/flightgear/props_protocol.h"

namespace simlink::fg {

namespace {

// Points go to FlightGear by their ident only when it is letters alone, as navaids' and fixes'
// are; latitude/longitude points (whose idents the FMC's records cut: "37N12") and the planner's
// approach points ("FF24R") are no names FlightGear knows, so they go by position.
bool named(const planner::RoutePoint& p) {
    if (p.ident.empty() || !valid_value(p.ident)) return false;
    for (char c : p.ident)
        if (!(c >= 'A' && c <= 'Z') && !(c >= 'a' && c <= 'z')) return false;
    return true;
}

std::string entry(const planner::RoutePoint& p) {
    if (named(p)) return p.ident;
    char text[48];
    std::snprintf(text, sizeof text, "%.6f,%.6f", p.at.lon, p.at.lat);
    return text;
}

}  // namespace

std::vector<std::string> route_manager_entries(const std::vector<planner::RoutePoint>& route) {
    std::vector<std::string> entries;
    for (std::size_t i = 1; i + 1 < route.size(); ++i)
        if (route[i].type != "TOC" && route[i].type != "TOD") entries.push_back(entry(route[i]));
    return entries;
}

std::vector<PropertyWrite> route_manager_writes(const std::vector<planner::RoutePoint>& route) {
    if (route.size() < 2 || route.front().type != "APT" || route.back().type != "APT") return {};
    if (!named(route.front()) || !named(route.back())) return {};
    std::vector<PropertyWrite> w;
    w.push_back({route_input_path, "@CLEAR"});
    w.push_back({"/autopilot/route-manager/departure/airport", route.front().ident});
    w.push_back({"/autopilot/route-manager/destination/airport", route.back().ident});
    for (const std::string& e : route_manager_entries(route)) w.push_back({route_input_path, e});
    w.push_back({route_input_path, "@ACTIVATE"});
    return w;
}

}  // namespace simlink::fg
