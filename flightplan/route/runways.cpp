#include "flightplan/route/runways.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "sim/earth.h"
#include "sim/radio_stations.h"
#include "sim/units.h"

namespace planner {

namespace {

constexpr double same_direction_deg = 15.0;  // parallel runways differ by less
constexpr double renumbered_within_deg = 20.0;

double end_heading(const worlddata::Airport& a, std::size_t end) {
    const auto& from = a.ends[end];
    const auto& to = a.ends[end ^ 1u];
    return sim::course_deg({from.lat, from.lon}, {to.lat, to.lon});
}

double end_length_nm(const worlddata::Airport& a, std::size_t end) {
    const auto& from = a.ends[end];
    const auto& to = a.ends[end ^ 1u];
    return sim::distance_nm({from.lat, from.lon}, {to.lat, to.lon});
}

int designator_number(const std::string& d) {
    int n = 0;
    for (std::size_t i = 0; i < d.size() && i < 2 && d[i] >= '0' && d[i] <= '9'; ++i) n = n * 10 + (d[i] - '0');
    return n;
}

char designator_side(const std::string& d) { return d.size() == 3 ? d[2] : ' '; }

}  // namespace

std::string runway_designator(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    std::string t;
    for (char c : s) t += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    for (std::string_view prefix : {"RUNWAY ", "RUNWAY", "RWY ", "RWY", "RW"})
        if (t.rfind(prefix, 0) == 0) {
            t.erase(0, prefix.size());
            break;
        }
    std::size_t n = 0;
    while (n < t.size() && n < 2 && t[n] >= '0' && t[n] <= '9') ++n;
    if (n == 0 || t.size() > n + 1) return {};
    if (t.size() == n + 1 && t[n] != 'L' && t[n] != 'R' && t[n] != 'C') return {};
    const int number = designator_number(t);
    if (number < 1 || number > 36) return {};
    return (number < 10 ? "0" : "") + std::to_string(number) + t.substr(n);
}

std::string runway_list(const worlddata::Airport& a) {
    std::vector<std::string> ends;
    for (const auto& e : a.ends) ends.push_back(e.designator);
    std::sort(ends.begin(), ends.end());
    std::string out;
    for (const auto& e : ends) out += (out.empty() ? "" : ", ") + e;
    return out.empty() ? "none" : out;
}

std::optional<std::size_t> named_runway_end(const NavDb& db, const worlddata::Airport& a, const std::string& given) {
    const std::size_t n = a.ends.size() & ~std::size_t{1};
    for (std::size_t i = 0; i < n; ++i)
        if (a.ends[i].designator == given) return i;
    const int number = designator_number(given);
    if (number < 1) return std::nullopt;
    const double variation = db.variation_at({a.lat, a.lon});
    std::optional<std::size_t> found;
    for (std::size_t i = 0; i < n; ++i) {
        const std::string& d = a.ends[i].designator;
        const int apart = std::abs(designator_number(d) - number);
        if (designator_side(d) != designator_side(given) || (apart != 1 && apart != 35)) continue;
        const double magnetic = end_heading(a, i) - variation;
        if (std::fabs(sim::wrap_180(magnetic - number * 10.0)) > renumbered_within_deg) continue;
        if (found) return std::nullopt;
        found = i;
    }
    return found;
}

std::optional<std::size_t> choose_runway_end(const NavDb& db, const worlddata::Airport& a, const std::string& given,
                                             const std::optional<Wind>& wind, double course_deg, bool arrival) {
    const std::size_t n = a.ends.size() & ~std::size_t{1};
    if (n == 0) return std::nullopt;
    for (std::size_t i = 0; i < n; ++i)
        if (!given.empty() && a.ends[i].designator == given) return i;
    // How far an end's direction is from the wanted one: the wind's, or the course's.
    const bool by_wind = wind && wind->kt > 0;
    const double wanted = by_wind ? wind->from_deg : course_deg;
    auto off = [&](std::size_t i) { return std::fabs(sim::wrap_180(end_heading(a, i) - wanted)); };
    std::size_t best = 0;
    for (std::size_t i = 1; i < n; ++i) {
        const double d = off(i) - off(best);
        if (d < -same_direction_deg) {
            best = i;
            continue;
        }
        if (d > same_direction_deg) continue;
        const bool ils_i = db.localizer(a.icao, a.ends[i].designator) != nullptr;
        const bool ils_best = db.localizer(a.icao, a.ends[best].designator) != nullptr;
        if (ils_i != ils_best) {
            if (ils_i) best = i;
        } else if (end_length_nm(a, i) > end_length_nm(a, best) + 1e-9) {
            best = i;
        } else if (std::fabs(end_length_nm(a, i) - end_length_nm(a, best)) <= 1e-9 && d < 0) {
            best = i;
        }
    }
    // An arrival by the route's direction lands on an end with an ILS, where one lies less than a
    // right angle further off the way in: the approach mode lands only on an ILS.
    if (arrival && !by_wind && !landing_ils(db, a, best)) {
        std::optional<std::size_t> ils;
        for (std::size_t i = 0; i < n; ++i)
            if (landing_ils(db, a, i) && off(i) < off(best) + 90.0 && (!ils || off(i) < off(*ils))) ils = i;
        if (ils) return *ils;
    }
    return best;
}

bool landing_ils(const NavDb& db, const worlddata::Airport& a, std::size_t end) {
    if (end >= (a.ends.size() & ~std::size_t{1})) return false;
    const auto& e = a.ends[end];
    const worlddata::Navaid* loc = db.localizer(a.icao, e.designator);
    if (!loc || !db.glide_slope(a.icao, e.designator)) return false;
    if (loc->name.starts_with("LDA") || loc->name.starts_with("SDF")) return false;
    const sim::LatLon antenna{loc->lat, loc->lon}, threshold{e.lat, e.lon};
    // Feet from the localizer's course line to p.
    auto off_ft = [&](sim::LatLon p) {
        const double off_deg = sim::course_deg(antenna, p) - (loc->course + 180.0);
        return sim::distance_nm(antenna, p) * sim::feet_per_nm * std::sin(off_deg * sim::degrees_to_radians);
    };
    const sim::LatLon zone_end =
        sim::travel(threshold, end_heading(a, end), sim::touchdown_zone_ft / sim::feet_per_nm);
    return std::fabs(off_ft(threshold)) <= sim::runway_axis_ft && std::fabs(off_ft(zone_end)) <= sim::runway_axis_ft;
}

std::vector<RoutePlace> approach_points(const NavDb& db, const worlddata::Airport& a, std::size_t end) {
    const auto& rwy = a.ends[end];
    const worlddata::Navaid* loc = db.localizer(a.icao, rwy.designator);
    if (!loc) return {};
    const sim::LatLon threshold{rwy.lat, rwy.lon};
    // The final fix is met level, at or below the glide slope, so that the beam comes down to the
    // aircraft: a slope flatter than 3 degrees passes the fix lower than 3,000 ft above the field.
    int altitude = static_cast<int>(std::lround((a.elevation_ft + final_fix_height_ft) / 100.0)) * 100;
    if (const worlddata::Navaid* gs = db.glide_slope(a.icao, rwy.designator); gs && gs->glide_angle > 0) {
        const double on_slope = a.elevation_ft + threshold_crossing_ft +
                                final_fix_nm * sim::feet_per_nm * std::tan(gs->glide_angle * sim::degrees_to_radians);
        altitude = std::min(altitude, static_cast<int>(std::floor(on_slope / 100.0)) * 100);
    }
    auto point = [&](const char* kind, const char* name, double nm, int speed) {
        RoutePlace p;
        p.type = "INT";
        p.ident = std::string(kind) + rwy.designator;
        p.name = a.icao + " " + rwy.designator + " " + name;
        p.at = sim::travel(threshold, loc->course + 180.0, nm);
        p.fixed_altitude_ft = altitude;
        p.fixed_speed_kt = speed;
        return p;
    };
    return {point("IF", "INTERCEPT", intercept_nm, intercept_speed_kt),
            point("FF", "FINAL FIX", final_fix_nm, final_fix_speed_kt)};
}

}  // namespace planner
