// Turning the world data's records into NavData records: navaids (nav.dat), fixes (fix.dat, ranked
// by the airways of awy.dat when there are more than the record number field can count) and
// runways (apt.dat).

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <set>
#include <string>

#include "navimport/import_state.h"
#include "sim/units.h"

namespace navimport {
namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kEarthRadiusNm = 3440.065;

template <typename T>
T clamp(T v, T lo, T hi) {
    return v < lo ? lo : v > hi ? hi : v;
}

std::string text(std::string_view s) { return std::string(s.substr(0, std::min<std::size_t>(s.size(), 26))); }

void take_navaid(Import& im, const worlddata::Navaid& w) {
    using worlddata::Navaid;
    if (w.kind == Navaid::glide_slope) {
        im.skip("glide slopes (nav.dat row 6): part of their ILS, not drawn");
        return;
    }
    if (w.kind >= Navaid::outer_marker && w.kind <= Navaid::inner_marker) {
        im.skip("marker beacons (nav.dat rows 7-9): not drawn");
        return;
    }
    if (w.ident.size() > 5) {
        im.skip("navaids with identifiers longer than 5 characters");
        return;
    }
    const bool ils = w.kind == Navaid::localizer || w.kind == Navaid::localizer_only;
    navimport::Navaid n;
    n.ident = w.ident;
    n.name = text(w.name);
    n.lat = w.lat;
    n.lon = w.lon;
    n.elevation = w.elevation_ft;
    n.range = w.range_nm;
    // The column the file gives each kind: the VOR's variation, the localizer's course, the DME's bias.
    n.extra = w.kind == Navaid::vor ? w.variation : ils ? w.course : w.kind == Navaid::ndb ? 0.0 : w.bias;
    if (ils) {
        n.airport = w.airport.substr(0, 4);
        n.runway = w.runway.substr(0, 3);
        n.course = static_cast<int>(std::lround(std::fmod(std::fmod(w.course, 360.0) + 360.0, 360.0))) % 360;
    }
    n.kind = w.kind == Navaid::ndb ? 'N' : w.kind == Navaid::vor ? 'V' : ils ? 'I' : 'D';
    n.frequency = w.frequency;
    (w.kind == Navaid::ndb ? im.ndb : im.vor).push_back(std::move(n));
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

// One runway's record: its two ends, and the heading and length between them.
void take_runway(Import& im, const worlddata::Airport& a, std::size_t runway) {
    const worlddata::RunwayEnd& e1 = a.ends[2 * runway];
    const worlddata::RunwayEnd& e2 = a.ends[2 * runway + 1];
    const worlddata::RunwaySurface& s = a.surfaces[runway];
    Runway r;
    r.ident = a.icao;
    r.name = text(a.name);
    r.elevation = a.elevation_ft;
    r.end1 = e1.designator.substr(0, 3);
    r.end2 = e2.designator.substr(0, 3);
    r.heading = static_cast<int>(std::lround(bearing_deg(e1.lat, e1.lon, e2.lat, e2.lon))) % 360;
    r.length = clamp(static_cast<int>(std::lround(distance_nm(e1.lat, e1.lon, e2.lat, e2.lon) * sim::feet_per_nm)), 0, 99999);
    r.width = clamp(static_cast<int>(std::lround(s.width_m * sim::feet_per_metre)), 0, 99999);
    r.surface = clamp(s.surface, 0, 99);
    r.lat = (e1.lat + e2.lat) / 2;
    r.lon = (e1.lon + e2.lon) / 2;
    im.apt.push_back(std::move(r));
}

}  // namespace

void take_navaids(Import& im, const std::vector<worlddata::Navaid>& navaids) {
    for (const worlddata::Navaid& n : navaids) take_navaid(im, n);
}

void take_airway_points(Import& im, const std::vector<worlddata::AirwaySegment>& segments) {
    for (const worlddata::AirwaySegment& s : segments) {
        im.airway_points.insert(fix_key(s.from, s.from_lat, s.from_lon));
        im.airway_points.insert(fix_key(s.to, s.to_lat, s.to_lon));
    }
}

void take_fixes(Import& im, const std::vector<worlddata::Fix>& fixes) {
    for (const worlddata::Fix& f : fixes) {
        if (f.ident.size() > 5) {
            im.skip("fixes with identifiers longer than 5 characters");
            continue;
        }
        Fix x{f.ident, f.lat, f.lon, 0};
        // When not all fixes fit: first those on airways, then named ones, then the rest.
        const bool named = std::all_of(x.ident.begin(), x.ident.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
        x.rank = im.airway_points.count(fix_key(x.ident, f.lat, f.lon)) ? 0 : named ? 1 : 2;
        im.intx.push_back(std::move(x));
    }
}

void take_airports(Import& im, const std::vector<worlddata::Airport>& airports) {
    for (const worlddata::Airport& a : airports) {
        if (a.icao.size() > 5) {
            im.skip("airports with identifiers longer than 5 characters");
            continue;
        }
        for (std::size_t k = 0; k < a.surfaces.size(); ++k) take_runway(im, a, k);
    }
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
