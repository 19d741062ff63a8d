#include "flightplan/formats/flight_plan.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace planner {

namespace {

bool digits(std::string_view s) {
    for (char c : s)
        if (c < '0' || c > '9') return false;
    return !s.empty();
}

int number(std::string_view s) {
    int v = 0;
    for (char c : s) v = v * 10 + (c - '0');
    return v;
}

}  // namespace

plat::Error file_error(std::string_view file, std::size_t line, const std::string& what) {
    std::string where(file);
    if (line > 0) where += ":" + std::to_string(line);
    return plat::Error{where + ": " + what};
}

std::size_t line_of(std::string_view text, std::size_t offset) {
    std::size_t line = 1;
    for (std::size_t i = 0; i < offset && i < text.size(); ++i)
        if (text[i] == '\n') ++line;
    return line;
}

std::string latlon_ident(sim::LatLon p) {
    const long lat_min = std::lround(std::fabs(p.lat) * 60.0);
    const long lon_min = std::lround(std::fabs(p.lon) * 60.0);
    const char ns = p.lat < 0 ? 'S' : 'N', ew = p.lon < 0 ? 'W' : 'E';
    char text[32];
    if (lat_min % 60 == 0 && lon_min % 60 == 0)
        std::snprintf(text, sizeof text, "%02ld%c%03ld%c", lat_min / 60 % 100, ns, lon_min / 60 % 1000, ew);
    else
        std::snprintf(text, sizeof text, "%02ld%02ld%c%03ld%02ld%c", lat_min / 60 % 100, lat_min % 60, ns,
                      lon_min / 60 % 1000, lon_min % 60, ew);
    return text;
}

std::optional<sim::LatLon> parse_latlon_ident(std::string_view t) {
    std::string_view lat, lon;
    char ns = 0, ew = 0;
    if (t.size() == 7) lat = t.substr(0, 2), ns = t[2], lon = t.substr(3, 3), ew = t[6];
    else if (t.size() == 11) lat = t.substr(0, 4), ns = t[4], lon = t.substr(5, 5), ew = t[10];
    else return std::nullopt;
    if (!digits(lat) || !digits(lon) || (ns != 'N' && ns != 'S') || (ew != 'E' && ew != 'W')) return std::nullopt;
    double la = lat.size() == 2 ? number(lat) : number(lat.substr(0, 2)) + number(lat.substr(2)) / 60.0;
    double lo = lon.size() == 3 ? number(lon) : number(lon.substr(0, 3)) + number(lon.substr(3)) / 60.0;
    if (lat.size() == 4 && number(lat.substr(2)) >= 60) return std::nullopt;
    if (lon.size() == 5 && number(lon.substr(3)) >= 60) return std::nullopt;
    if (la > 90 || lo > 180) return std::nullopt;
    return sim::LatLon{ns == 'S' ? -la : la, ew == 'W' ? -lo : lo};
}

bool is_latlon_point(const RoutePlace& p) { return p.type == "INT" && parse_latlon_ident(p.ident).has_value(); }

PlanWaypoint stated_point(const std::string& type, const std::string& ident, sim::LatLon at) {
    PlanWaypoint w;
    w.place.type = type;
    w.place.at = at;
    w.place.ident = ident.empty() ? latlon_ident(at) : ident;
    w.place.name = w.place.ident;
    return w;
}

PlanWaypoint stated_airport(const std::string& ident) {
    PlanWaypoint w;
    w.place.type = "APT";
    w.place.ident = w.place.name = ident;
    w.positioned = false;
    return w;
}

std::optional<double> number_in(std::string_view text, double lo, double hi) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) text.remove_suffix(1);
    if (text.empty() || text.size() > 64) return std::nullopt;
    const std::string s(text);
    char* end = nullptr;
    const double v = std::strtod(s.c_str(), &end);
    if (*end != '\0' || !std::isfinite(v) || v < lo || v > hi) return std::nullopt;
    return v;
}

}  // namespace planner
