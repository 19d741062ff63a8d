// awy.dat and earth_awy.dat rows. 640: each segment with the positions of its ends. 1100 (layout
// 1101): each end by ident, ICAO region and kind only, then the direction, the level,
// the base and top, and the airways' names; the positions are the fix and nav files' (place_airways).

#include <string>
#include <unordered_map>

#include "worlddata/data_rows.h"

namespace worlddata {

namespace {

std::vector<std::string> split_names(std::string_view s) {
    std::vector<std::string> names;
    while (!s.empty()) {
        const std::size_t dash = s.find('-');
        if (dash != 0) names.emplace_back(s.substr(0, dash));
        if (dash == std::string_view::npos) break;
        s.remove_prefix(dash + 1);
    }
    return names;
}

Row parse_640_row(const LineFields& f, std::vector<AirwaySegment>& out) {
    AirwaySegment s;
    if (f.size() < 10 || !to_number(f[1], s.from_lat) || !to_number(f[2], s.from_lon) || !to_number(f[4], s.to_lat) ||
        !to_number(f[5], s.to_lon) || !to_number(f[6], s.level) || !valid_position(s.from_lat, s.from_lon) ||
        !valid_position(s.to_lat, s.to_lon))
        return Row::skipped;
    s.from = std::string(f[0]);
    s.to = std::string(f[3]);
    s.names = split_names(f[9]);
    if (s.names.empty()) return Row::skipped;
    out.push_back(std::move(s));
    return Row::taken;
}

bool end_kind(std::string_view field, int& kind) {
    return to_number(field, kind) &&
           (kind == AirwaySegment::fix || kind == AirwaySegment::ndb || kind == AirwaySegment::vhf_navaid);
}

Row parse_1100_row(const LineFields& f, std::vector<AirwaySegment>& out) {
    AirwaySegment s;
    int base = 0, top = 0;
    if (f.size() < 11 || !end_kind(f[2], s.from_kind) || !end_kind(f[5], s.to_kind) || f[6].size() != 1 ||
        std::string_view("NFB").find(f[6][0]) == std::string_view::npos || !to_number(f[7], s.level) ||
        (s.level != 1 && s.level != 2) || !to_number(f[8], base) || !to_number(f[9], top))
        return Row::skipped;
    s.from = std::string(f[0]);
    s.from_region = std::string(f[1]);
    s.to = std::string(f[3]);
    s.to_region = std::string(f[4]);
    s.names = split_names(f[10]);
    if (s.names.empty()) return Row::skipped;
    out.push_back(std::move(s));
    return Row::taken;
}

struct Position {
    double lat, lon;
    bool en_route;
};

std::string key(std::string_view ident, std::string_view region, int kind) {
    return std::string(ident) + ' ' + std::string(region) + ' ' + std::to_string(kind);
}

// Keeps the first en-route point of a key, else the first terminal one.
void add(std::unordered_map<std::string, Position>& places, std::string k, Position p) {
    auto [it, inserted] = places.emplace(std::move(k), p);
    if (!inserted && p.en_route && !it->second.en_route) it->second = p;
}

}  // namespace

std::vector<AirwaySegment> parse_awy(std::string_view text, int version, ParseStats* stats) {
    std::vector<AirwaySegment> out;
    for_each_data_line(text, stats, [&](const LineFields& f) {
        return version >= 1100 ? parse_1100_row(f, out) : parse_640_row(f, out);
    });
    return out;
}

std::size_t place_airways(std::vector<AirwaySegment>& segments, const std::vector<Fix>& fixes,
                          const std::vector<Navaid>& navaids) {
    std::unordered_map<std::string, Position> places;
    for (const Fix& x : fixes)
        add(places, key(x.ident, x.region, AirwaySegment::fix), {x.lat, x.lon, x.airport.empty()});
    for (const Navaid& n : navaids) {
        int kind = 0;
        if (n.kind == Navaid::ndb) kind = AirwaySegment::ndb;
        else if (n.kind == Navaid::vor || n.kind == Navaid::dme || n.kind == Navaid::dme_alone)
            kind = AirwaySegment::vhf_navaid;
        else continue;
        add(places, key(n.ident, n.region, kind), {n.lat, n.lon, n.airport.empty()});
    }
    const std::size_t before = segments.size();
    std::erase_if(segments, [&](AirwaySegment& s) {
        if (s.from_kind == 0) return false;
        const auto from = places.find(key(s.from, s.from_region, s.from_kind));
        const auto to = places.find(key(s.to, s.to_region, s.to_kind));
        if (from == places.end() || to == places.end()) return true;
        s.from_lat = from->second.lat;
        s.from_lon = from->second.lon;
        s.to_lat = to->second.lat;
        s.to_lon = to->second.lon;
        return false;
    });
    return before - segments.size();
}

}  // namespace worlddata
