#include "flightplan/formats/flight_plan.h"

#include <cmath>
#include <cstdio>

namespace planner {

namespace {

// Positions in the formats are written to a millionth of a degree or a hundredth of a second: a
// point this close to the world data's one is that point.
constexpr double same_point_nm = 0.05;

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

std::optional<RoutePlace> known_place(const NavDb& db, const std::string& ident, sim::LatLon at, bool airport) {
    const Place* best = nullptr;
    double best_nm = 0;
    for (const Place& p : db.places(ident)) {
        if ((p.kind == Place::airport) != airport) continue;
        const double d = sim::distance_nm(at, db.position(p));
        if (!best || d < best_nm) best = &p, best_nm = d;
    }
    // An airport's reference point is a mean of its runways, which other data places differently.
    const double limit = airport ? 5.0 : same_point_nm;
    if (!best || best_nm > limit) return std::nullopt;
    return to_route_place(db, *best);
}

std::optional<RoutePlace> airport_place(const NavDb& db, const std::string& ident) {
    for (const Place& p : db.places(ident))
        if (p.kind == Place::airport) return to_route_place(db, p);
    return std::nullopt;
}

RoutePlace place_from_file(const NavDb& db, const std::string& ident, sim::LatLon at) {
    if (auto known = known_place(db, ident, at, false)) return *known;
    RoutePlace r;
    r.type = "INT";
    r.at = at;
    const auto named = parse_latlon_ident(ident);
    const bool latlon = ident.empty() || (named && sim::distance_nm(*named, at) < same_point_nm);
    r.ident = latlon ? latlon_ident(at) : ident;
    r.name = r.ident;
    return r;
}

}  // namespace planner
