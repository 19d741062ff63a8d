#include "flightplan/planning/profile.h"

#include <algorithm>
#include <cmath>

#include "sim/aero.h"

namespace planner {

namespace {

constexpr double integration_step_nm = 0.05;

// Ground distance of a climb or descent between two altitudes at a rate and an indicated speed,
// at the true airspeed of the middle altitude.
double slope_nm(double from_ft, double to_ft, double rate_fpm, double ias_kt) {
    return std::fabs(to_ft - from_ft) / rate_fpm / 60.0 * sim::tas_from_ias(ias_kt, (from_ft + to_ft) / 2);
}

double cruise_ias(const Performance& perf, double cruise_ft) {
    if (perf.cruise_speed > 5.0) return perf.cruise_speed;
    return sim::ias_from_tas(perf.cruise_speed * sim::speed_of_sound_kt(cruise_ft), cruise_ft);
}

// The profile's shape along the route: distances where its phases change, and the levels between.
struct Shape {
    double dep_ft = 0, cruise_ft = 0, end_ft = 0;  // end: where the descent ends (the approach's first point, or the arrival)
    double end_nm = 0;
    double climb_low_nm = 0, climb_nm = 0;          // to 10,000 ft (or the cruise) and to the cruise
    double tod_nm = 0, descent_high_nm = 0;         // the top of descent, and the descent down to 10,000 ft
    double climb_low_kt = 0, climb_kt = 0, cruise_kt = 0, descent_kt = 0, descent_low_kt = 0;
};

Shape shape(double dep_ft, double cruise_ft, double end_ft, double end_nm, const Performance& perf) {
    Shape h;
    h.dep_ft = dep_ft, h.cruise_ft = cruise_ft, h.end_ft = end_ft, h.end_nm = end_nm;
    h.climb_low_kt = std::min(perf.climb_speed_kt, speed_limit_low_kt);
    h.climb_kt = perf.climb_speed_kt;
    h.cruise_kt = cruise_ias(perf, cruise_ft);
    h.descent_kt = perf.descent_speed_kt;
    h.descent_low_kt = std::min(perf.descent_speed_kt, speed_limit_low_kt);
    const double climb_break = std::clamp(speed_limit_altitude_ft, dep_ft, cruise_ft);
    h.climb_low_nm = slope_nm(dep_ft, climb_break, perf.climb_rate_fpm, h.climb_low_kt);
    h.climb_nm = h.climb_low_nm + slope_nm(climb_break, cruise_ft, perf.climb_rate_fpm, h.climb_kt);
    const double descent_break = std::clamp(speed_limit_altitude_ft, end_ft, cruise_ft);
    h.descent_high_nm = slope_nm(cruise_ft, descent_break, perf.descent_rate_fpm, h.descent_kt);
    h.tod_nm = end_nm - h.descent_high_nm - slope_nm(descent_break, end_ft, perf.descent_rate_fpm, h.descent_low_kt);
    return h;
}

bool fits(const Shape& h) { return h.climb_nm <= h.tod_nm; }

double lerp(double a, double b, double f) { return a + (b - a) * std::clamp(f, 0.0, 1.0); }

struct Flight {
    double altitude_ft, ias_kt;
    double tas_kt = 0;  // 0: of this altitude and speed; in a climb or descent, the one its distance was laid out with
};

// Altitude and speed at distance s, up to the end of the descent.
Flight en_route(const Shape& h, double s) {
    const double climb_break = std::clamp(speed_limit_altitude_ft, h.dep_ft, h.cruise_ft);
    const double descent_break = std::clamp(speed_limit_altitude_ft, h.end_ft, h.cruise_ft);
    auto mid = [](double a, double b, double kt) { return sim::tas_from_ias(kt, (a + b) / 2); };
    if (s < h.climb_low_nm)
        return {lerp(h.dep_ft, climb_break, s / h.climb_low_nm), static_cast<double>(h.climb_low_kt),
                mid(h.dep_ft, climb_break, h.climb_low_kt)};
    if (s < h.climb_nm)
        return {lerp(climb_break, h.cruise_ft, (s - h.climb_low_nm) / (h.climb_nm - h.climb_low_nm)),
                static_cast<double>(h.climb_kt), mid(climb_break, h.cruise_ft, h.climb_kt)};
    if (s <= h.tod_nm) return {h.cruise_ft, h.cruise_kt};
    const double low_start = h.tod_nm + h.descent_high_nm;
    if (s < low_start)
        return {lerp(h.cruise_ft, descent_break, (s - h.tod_nm) / h.descent_high_nm), h.descent_kt,
                mid(h.cruise_ft, descent_break, h.descent_kt)};
    const double a = lerp(descent_break, h.end_ft, (s - low_start) / std::max(1e-9, h.end_nm - low_start));
    if (s >= h.end_nm - deceleration_nm) return {a, std::min<double>(h.descent_low_kt, approach_entry_speed_kt)};
    return {a, static_cast<double>(h.descent_low_kt), mid(descent_break, h.end_ft, h.descent_low_kt)};
}

// Inserts a TOC or TOD point at distance s along the route, between the points that enclose it.
void insert_marker(std::vector<PlanPoint>& pts, double s, const char* type, const char* name) {
    for (std::size_t i = 1; i < pts.size(); ++i) {
        if (pts[i].distance_nm < s) continue;
        const double leg = pts[i].distance_nm - pts[i - 1].distance_nm;
        const double f = leg > 0 ? (s - pts[i - 1].distance_nm) / leg : 0.0;
        PlanPoint m;
        m.place.type = type, m.place.ident = "*****", m.place.name = name;
        m.place.at = sim::between(pts[i - 1].place.at, pts[i].place.at, f);
        m.distance_nm = s;
        pts.insert(pts.begin() + static_cast<std::ptrdiff_t>(i), m);
        return;
    }
}

}  // namespace

plat::Result<Profile> make_profile(const std::vector<RoutePlace>& route, const Performance& perf) {
    if (route.size() < 2) return plat::Error{"a route needs a departure and an arrival"};
    if (perf.climb_rate_fpm <= 0 || perf.descent_rate_fpm <= 0 || perf.climb_speed_kt <= 0 || perf.descent_speed_kt <= 0 ||
        perf.cruise_speed <= 0)
        return plat::Error{"climb and descent rates and speeds and the cruise speed must be positive"};
    Profile out;
    std::vector<PlanPoint>& pts = out.points;
    for (const auto& r : route) {
        PlanPoint p;
        p.place = r;
        if (!pts.empty()) {
            p.course_deg = sim::course_deg(pts.back().place.at, r.at);
            p.distance_nm = pts.back().distance_nm + sim::distance_nm(pts.back().place.at, r.at);
        }
        pts.push_back(p);
    }
    const double dep_ft = route.front().elevation_ft, arr_ft = route.back().elevation_ft;
    // The descent ends at the approach's first point, or at the arrival without one.
    std::size_t end = pts.size() - 1;
    for (std::size_t i = 1; i + 1 < pts.size(); ++i)
        if (pts[i].place.fixed_altitude_ft > 0) {
            end = i;
            break;
        }
    const double end_ft = end + 1 < pts.size() ? pts[end].place.fixed_altitude_ft : arr_ft;
    const double end_nm = pts[end].distance_nm;
    // The cruise clears the airports by 1,000 ft and is no lower than where the descent ends.
    const double floor_ft = std::max(std::max(dep_ft, arr_ft) + 1000, end_ft);
    double cruise_ft = std::max<double>(perf.cruise_altitude_ft, floor_ft);
    Shape h = shape(dep_ft, cruise_ft, end_ft, end_nm, perf);
    if (!fits(h)) {
        // Too short for the asked altitude: the highest whole hundred feet that fits.
        double low = floor_ft, high = cruise_ft;
        if (!fits(shape(dep_ft, low, end_ft, end_nm, perf)))
            return plat::Error{"the route is too short to climb 1000 ft above its airports and descend again"};
        for (int k = 0; k < 60; ++k) {
            const double mid = (low + high) / 2;
            (fits(shape(dep_ft, mid, end_ft, end_nm, perf)) ? low : high) = mid;
        }
        cruise_ft = std::floor(low / 100.0) * 100.0;
        h = shape(dep_ft, cruise_ft, end_ft, end_nm, perf);
        out.note = "the route is too short for " + std::to_string(perf.cruise_altitude_ft) + " ft; cruise at " +
                   std::to_string(static_cast<int>(cruise_ft)) + " ft";
    }
    out.cruise_altitude_ft = static_cast<int>(cruise_ft);
    insert_marker(pts, h.climb_nm, "TOC", "TOP OF CLIMB");
    insert_marker(pts, h.tod_nm, "TOD", "TOP OF DESCENT");

    // After the end of the descent: from point to point at the altitudes and speeds they carry, the
    // arrival at its elevation and the approach speed.
    std::size_t end_index = 0;
    for (std::size_t i = 0; i < pts.size(); ++i)
        if (pts[i].distance_nm >= end_nm - 1e-9 && pts[i].place.type != "TOC" && pts[i].place.type != "TOD") {
            end_index = i;
            break;
        }
    auto fixed = [&](std::size_t i) -> Flight {
        if (i + 1 == pts.size()) return {arr_ft, static_cast<double>(arrival_speed_kt)};
        const RoutePlace& r = pts[i].place;
        const double speed = r.fixed_speed_kt > 0 ? r.fixed_speed_kt : approach_entry_speed_kt;
        return {r.fixed_altitude_ft > 0 ? static_cast<double>(r.fixed_altitude_ft) : end_ft, speed};
    };
    auto flight_at = [&](double s) -> Flight {
        if (s <= end_nm) return en_route(h, s);
        std::size_t j = end_index + 1;
        if (j >= pts.size()) return fixed(pts.size() - 1);
        while (j + 1 < pts.size() && pts[j].distance_nm < s) ++j;
        const Flight a = fixed(j - 1), b = fixed(j);
        const double leg = pts[j].distance_nm - pts[j - 1].distance_nm;
        const double f = leg > 0 ? (s - pts[j - 1].distance_nm) / leg : 1.0;
        return {lerp(a.altitude_ft, b.altitude_ft, f), lerp(a.ias_kt, b.ias_kt, f)};
    };
    // Time by the true airspeed along the way, in small steps.
    double minutes = 0, s = 0;
    for (std::size_t i = 0; i < pts.size(); ++i) {
        PlanPoint& p = pts[i];
        while (s < p.distance_nm - 1e-12) {
            const double ds = std::min(integration_step_nm, p.distance_nm - s);
            const Flight f = flight_at(s + ds / 2);
            const double tas = f.tas_kt > 0 ? f.tas_kt : sim::tas_from_ias(f.ias_kt, f.altitude_ft);
            minutes += 60.0 * ds / std::max(1.0, tas);
            s += ds;
        }
        // A marker on a point (a top of descent where no descent is left) has no leg of its own:
        // the point keeps the course that leads to both.
        if (i > 0)
            p.course_deg = p.distance_nm - pts[i - 1].distance_nm > 1e-6
                               ? sim::course_deg(pts[i - 1].place.at, p.place.at)
                               : pts[i - 1].course_deg;
        p.minutes = minutes;
        const Flight f = flight_at(p.distance_nm);
        p.altitude_ft = static_cast<int>(std::lround(f.altitude_ft));
        p.speed_kt = static_cast<int>(std::lround(f.ias_kt));
        if (p.place.type == "TOC" || p.place.type == "TOD") p.altitude_ft = static_cast<int>(cruise_ft);
        if (p.place.fixed_altitude_ft > 0) p.altitude_ft = p.place.fixed_altitude_ft;
        if (p.place.fixed_speed_kt > 0) p.speed_kt = p.place.fixed_speed_kt;
    }
    pts.front().altitude_ft = static_cast<int>(std::lround(dep_ft));
    pts.back().altitude_ft = static_cast<int>(std::lround(arr_ft));
    pts.back().speed_kt = arrival_speed_kt;
    return out;
}

}  // namespace planner
