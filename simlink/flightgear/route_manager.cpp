#include "simlink/flightgear/route_manager.h"

#include <cstdio>

#include "simlink/flightgear/props_protocol.h"

namespace simlink::fg {

namespace {

constexpr const char* departure_airport_path = "/autopilot/route-manager/departure/airport";
constexpr const char* departure_runway_path = "/autopilot/route-manager/departure/runway";
constexpr const char* destination_airport_path = "/autopilot/route-manager/destination/airport";
constexpr const char* destination_runway_path = "/autopilot/route-manager/destination/runway";

bool letter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool digit(char c) { return c >= '0' && c <= '9'; }

// Points go to FlightGear by their ident only when it is letters alone, as navaids' and fixes'
// are; latitude/longitude points (whose idents the FMC's records cut: "37N12") and the planner's
// approach points ("FF24R") are no names FlightGear knows, so they go by position.
bool named(const planner::RoutePoint& p) {
    if (p.ident.empty() || !valid_value(p.ident)) return false;
    for (char c : p.ident)
        if (!letter(c)) return false;
    return true;
}

// Airports' idents may hold digits ("0S9"); FlightGear takes none shorter than three characters.
bool airport_ident(const std::string& ident) {
    if (ident.size() < 3 || ident.size() > 4) return false;
    for (char c : ident)
        if (!letter(c) && !digit(c)) return false;
    return true;
}

// A runway designator: one or two digits and an optional side letter ("9", "09", "25R").
bool runway_ident(const std::string& r) {
    std::size_t digits = 0;
    while (digits < r.size() && digit(r[digits])) ++digits;
    if (digits == 0 || digits > 2) return false;
    return r.size() == digits || (r.size() == digits + 1 && (r.back() == 'L' || r.back() == 'R' || r.back() == 'C'));
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

std::vector<PropertyWrite> route_manager_writes(const std::vector<planner::RoutePoint>& route,
                                                const planner::PlanRunways& runways) {
    if (route.size() < 2 || route.front().type != "APT" || route.back().type != "APT") return {};
    const std::string& departure = route.front().ident;
    const std::string& destination = route.back().ident;
    if (!airport_ident(departure) || !airport_ident(destination)) return {};
    std::vector<PropertyWrite> w;
    w.push_back({route_input_path, "@CLEAR"});
    // "@CLEAR" put the airports named before back as legs; an empty name takes each away, so that
    // naming an airport again, even the same one, makes a fresh leg where it belongs.
    w.push_back({departure_airport_path, ""});
    w.push_back({destination_airport_path, ""});
    w.push_back({departure_airport_path, departure});
    if (runway_ident(runways.departure)) w.push_back({departure_runway_path, runways.departure});
    for (const std::string& e : route_manager_entries(route)) w.push_back({route_input_path, e});
    w.push_back({destination_airport_path, destination});
    if (runway_ident(runways.arrival)) w.push_back({destination_runway_path, runways.arrival});
    w.push_back({route_input_path, "@ACTIVATE"});
    // Activating makes the departure current; the aircraft is bound for the first point after it.
    w.push_back({route_current_path, "1"});
    return w;
}

}  // namespace simlink::fg
