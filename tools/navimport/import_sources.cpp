// Turning the X-Plane rows into NavData records: navaids (nav.dat), fixes (fix.dat, ranked by the
// airways of awy.dat when there are more than the record number field can count) and runways
// (apt.dat).

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <set>
#include <string>

#include "tools/navimport/import_state.h"
#include "tools/navimport/source_files.h"

namespace navimport {
namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kEarthRadiusNm = 3440.065;
constexpr double kFeetPerNm = 6076.12;

bool valid_position(double lat, double lon) { return std::fabs(lat) <= 90.0 && std::fabs(lon) <= 180.0; }

template <typename T>
T clamp(T v, T lo, T hi) {
    return v < lo ? lo : v > hi ? hi : v;
}

std::string text(std::string_view s) { return std::string(s.substr(0, std::min<std::size_t>(s.size(), 26))); }

// One nav.dat row: code lat lon elevation frequency range extra ident [airport runway] name.
void navaid_row(Import& im, const Fields& f, std::size_t line) {
    long code = 0;
    if (!integer(f[0], code)) return;
    if (code == 99) return;
    if (code == 6 || (code >= 7 && code <= 9)) {
        im.skip(code == 6 ? "glide slopes (nav.dat row 6): part of their ILS, not drawn" :
                            "marker beacons (nav.dat rows 7-9): not drawn");
        return;
    }
    if (code != 2 && code != 3 && code != 4 && code != 5 && code != 12 && code != 13) {
        im.skip("nav.dat rows of other codes");
        return;
    }
    double lat, lon, elev, freq, range, extra;
    if (f.size() < 9 || !number(f[1], lat) || !number(f[2], lon) || !number(f[3], elev) || !number(f[4], freq) ||
        !number(f[5], range) || !number(f[6], extra) || !valid_position(lat, lon)) {
        im.skip("nav.dat rows that do not parse (line " + std::to_string(line) + " and others)");
        return;
    }
    const std::string_view ident = f[7];
    if (ident.size() > 5) {
        im.skip("navaids with identifiers longer than 5 characters");
        return;
    }
    Navaid n;
    n.ident = std::string(ident);
    n.lat = lat;
    n.lon = lon;
    n.elevation = static_cast<int>(elev);
    n.range = static_cast<int>(range);
    n.extra = extra;
    const bool ils = code == 4 || code == 5;
    if (ils) {
        n.airport = std::string(f[8].substr(0, 4));
        n.runway = std::string(f[9].substr(0, 3));
        n.name = text(f.rest(10));
        n.course = static_cast<int>(std::lround(std::fmod(std::fmod(extra, 360.0) + 360.0, 360.0))) % 360;
    } else {
        n.name = text(f.rest(8));
    }
    n.kind = code == 2 ? 'N' : code == 3 ? 'V' : ils ? 'I' : 'D';
    n.frequency = code == 2 ? freq : freq / 100.0;
    (code == 2 ? im.ndb : im.vor).push_back(std::move(n));
}

std::string fix_key(std::string_view ident, double lat, double lon) {
    char key[48];
    std::snprintf(key, sizeof key, "%.*s %.3f %.3f", static_cast<int>(ident.size()), ident.data(), lat, lon);
    return key;
}

double bearing_deg(double lat1, double lon1, double lat2, double lon2) {
    const double p1 = lat1 * kPi / 180, p2 = lat2 * kPi / 180, dl = (lon2 - lon1) * kPi / 180;
    const double y = std::sin(dl) * std::cos(p2);
    const double x = std::cos(p1) * std::sin(p2) - std::sin(p1) * std::cos(p2) * std::cos(dl);
    double b = std::atan2(y, x) * 180 / kPi;
    return b < 0 ? b + 360 : b;
}

double distance_nm(double lat1, double lon1, double lat2, double lon2) {
    const double p1 = lat1 * kPi / 180, p2 = lat2 * kPi / 180;
    const double dp = p2 - p1, dl = (lon2 - lon1) * kPi / 180;
    const double a = std::sin(dp / 2) * std::sin(dp / 2) + std::cos(p1) * std::cos(p2) * std::sin(dl / 2) * std::sin(dl / 2);
    return 2 * kEarthRadiusNm * std::asin(std::min(1.0, std::sqrt(a)));
}

// Row 100: width surface shoulder smoothness lights lights signs, then per end: designator lat
// lon displaced-threshold overrun markings approach-lights touchdown-lights REIL.
void runway_row(Import& im, const Fields& f, const AirportHeader& airport) {
    double width, surface, lat1, lon1, lat2, lon2;
    if (f.size() < 20 || !number(f[1], width) || !number(f[2], surface) || !number(f[9], lat1) ||
        !number(f[10], lon1) || !number(f[18], lat2) || !number(f[19], lon2) || !valid_position(lat1, lon1) ||
        !valid_position(lat2, lon2)) {
        im.skip("runway rows that do not parse");
        return;
    }
    Runway r;
    r.ident = airport.ident;
    r.name = airport.name;
    r.elevation = airport.elevation;
    r.end1 = std::string(f[8].substr(0, 3));
    r.end2 = std::string(f[17].substr(0, 3));
    r.heading = static_cast<int>(std::lround(bearing_deg(lat1, lon1, lat2, lon2))) % 360;
    r.length = clamp(static_cast<int>(std::lround(distance_nm(lat1, lon1, lat2, lon2) * kFeetPerNm)), 0, 99999);
    r.width = clamp(static_cast<int>(std::lround(width * 3.28084)), 0, 99999);
    r.surface = clamp(static_cast<int>(surface), 0, 99);
    r.lat = (lat1 + lat2) / 2;
    r.lon = (lon1 + lon2) / 2;
    im.apt.push_back(std::move(r));
}

}  // namespace

void read_navaids(Import& im, const std::string& path) {
    Fields f;
    im.read(path, [&](std::string_view line, std::size_t n) {
        if (n == 2) im.nav_version = std::string(line);
        if (n <= 2) return;
        split(line, f);
        if (f.size() == 0) return;
        navaid_row(im, f, n);
    });
}

void read_airways(Import& im, const std::string& path) {
    Fields f;
    im.read(path, [&](std::string_view line, std::size_t n) {
        if (n <= 2) return;
        split(line, f);
        double lat, lon;
        for (std::size_t i : {std::size_t{0}, std::size_t{3}})
            if (f.size() >= 6 && number(f[i + 1], lat) && number(f[i + 2], lon))
                im.airway_points.insert(fix_key(f[i], lat, lon));
    });
}

void read_fixes(Import& im, const std::string& path) {
    Fields f;
    im.read(path, [&](std::string_view line, std::size_t n) {
        if (n == 2) im.fix_version = std::string(line);
        if (n <= 2) return;
        split(line, f);
        if (f.size() == 0 || (f.size() == 1 && f[0] == "99")) return;
        double lat, lon;
        if (f.size() < 3 || !number(f[0], lat) || !number(f[1], lon) || !valid_position(lat, lon)) {
            im.skip("fix.dat rows that do not parse");
            return;
        }
        if (f[2].size() > 5) {
            im.skip("fixes with identifiers longer than 5 characters");
            return;
        }
        Fix x{std::string(f[2]), lat, lon, 0};
        // When not all fixes fit: first those on airways, then named ones, then the rest.
        const bool named = std::all_of(x.ident.begin(), x.ident.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
        x.rank = im.airway_points.count(fix_key(x.ident, lat, lon)) ? 0 : named ? 1 : 2;
        im.intx.push_back(std::move(x));
    });
}

void read_airports(Import& im, const std::string& path) {
    Fields f;
    AirportHeader airport;
    bool land = false;
    im.read(path, [&](std::string_view line, std::size_t n) {
        if (n == 2) im.apt_version = std::string(line);
        if (n <= 2) return;
        split(line, f);
        if (f.size() == 0) return;
        long code = 0;
        if (!integer(f[0], code)) return;
        if (code == 1 || code == 16 || code == 17) {
            land = code == 1;
            double elev = 0;
            number(f[1], elev);
            airport = AirportHeader{std::string(f[4]), text(f.rest(5)), static_cast<int>(elev)};
            if (land && airport.ident.size() > 5) {
                im.skip("airports with identifiers longer than 5 characters");
                land = false;
            }
            return;
        }
        if (code != 100) return;
        if (!land) {
            im.skip("runways of seaplane bases and heliports");
            return;
        }
        runway_row(im, f, airport);
    });
}

void limit_fixes(Import& im, std::size_t limit) {
    if (im.intx.size() <= limit) return;
    std::stable_sort(im.intx.begin(), im.intx.end(), [](const Fix& a, const Fix& b) { return a.rank < b.rank; });
    const std::size_t dropped = im.intx.size() - limit;
    im.intx.resize(limit);
    im.skip("fixes beyond the " + std::to_string(limit) +
                " a file's record number can count (unnamed ones first, none on an airway)",
            dropped);
}

}  // namespace navimport
