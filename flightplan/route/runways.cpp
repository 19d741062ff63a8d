#include "flightplan/route/runways.h"

#include <cmath>

#include "sim/earth.h"

namespace planner {

namespace {

constexpr double same_direction_deg = 15.0;  // parallel runways differ by less

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

}  // namespace

std::optional<std::size_t> choose_runway_end(const NavDb& db, const worlddata::Airport& a, const std::string& given,
                                             const std::optional<Wind>& wind, double course_deg) {
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
    return best;
}

std::vector<RoutePlace> approach_points(const NavDb& db, const worlddata::Airport& a, std::size_t end) {
    const auto& rwy = a.ends[end];
    const worlddata::Navaid* loc = db.localizer(a.icao, rwy.designator);
    if (!loc) return {};
    const sim::LatLon threshold{rwy.lat, rwy.lon};
    const int altitude = static_cast<int>(std::lround((a.elevation_ft + final_fix_height_ft) / 100.0)) * 100;
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
