#include "tools/planner/profile.h"

#include <algorithm>
#include <cmath>

#include "sim/aero.h"

namespace planner {

namespace {

struct Phases {
    double climb_nm, descent_nm, climb_kt, cruise_kt, descent_kt;  // distances and true airspeeds
};

// Ground distance of a climb or descent between two altitudes at a rate and an indicated speed,
// at the true airspeed of the middle altitude.
double slope_nm(double from_ft, double to_ft, double rate_fpm, double ias_kt, double* tas_kt) {
    const double tas = sim::tas_from_ias(ias_kt, (from_ft + to_ft) / 2);
    if (tas_kt) *tas_kt = tas;
    return std::fabs(to_ft - from_ft) / rate_fpm / 60.0 * tas;
}

Phases phases(double dep_ft, double cruise_ft, double arr_ft, const Performance& perf) {
    Phases p{};
    p.climb_nm = slope_nm(dep_ft, cruise_ft, perf.climb_rate_fpm, perf.climb_speed_kt, &p.climb_kt);
    p.descent_nm = slope_nm(cruise_ft, arr_ft, perf.descent_rate_fpm, perf.descent_speed_kt, &p.descent_kt);
    p.cruise_kt = perf.cruise_speed <= 5.0 ? perf.cruise_speed * sim::speed_of_sound_kt(cruise_ft)
                                           : sim::tas_from_ias(perf.cruise_speed, cruise_ft);
    return p;
}

double minutes_at(double s, double total, const Phases& p) {
    const double climb = std::min(s, p.climb_nm);
    const double cruise = std::clamp(s - p.climb_nm, 0.0, total - p.descent_nm - p.climb_nm);
    const double descent = std::max(0.0, s - (total - p.descent_nm));
    return 60.0 * (climb / p.climb_kt + cruise / p.cruise_kt + descent / p.descent_kt);
}

int altitude_at(double s, double total, double dep_ft, double cruise_ft, double arr_ft, const Phases& p) {
    double a = cruise_ft;
    if (s < p.climb_nm) a = dep_ft + (cruise_ft - dep_ft) * s / p.climb_nm;
    else if (s > total - p.descent_nm) a = arr_ft + (cruise_ft - arr_ft) * (total - s) / p.descent_nm;
    return static_cast<int>(std::lround(a));
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
    const double total = pts.back().distance_nm;
    const double dep_ft = route.front().elevation_ft, arr_ft = route.back().elevation_ft;
    double cruise_ft = std::max<double>(perf.cruise_altitude_ft, std::max(dep_ft, arr_ft) + 1000);
    Phases ph = phases(dep_ft, cruise_ft, arr_ft, perf);
    if (ph.climb_nm + ph.descent_nm > total) {
        // Too short for the asked altitude: the highest whole hundred feet that fits.
        double low = std::max(dep_ft, arr_ft) + 1000, high = cruise_ft;
        if (phases(dep_ft, low, arr_ft, perf).climb_nm + phases(dep_ft, low, arr_ft, perf).descent_nm > total)
            return plat::Error{"the route is too short to climb 1000 ft above its airports and descend again"};
        for (int k = 0; k < 60; ++k) {
            const double mid = (low + high) / 2;
            const Phases m = phases(dep_ft, mid, arr_ft, perf);
            (m.climb_nm + m.descent_nm > total ? high : low) = mid;
        }
        cruise_ft = std::floor(low / 100.0) * 100.0;
        ph = phases(dep_ft, cruise_ft, arr_ft, perf);
        out.note = "the route is too short for " + std::to_string(perf.cruise_altitude_ft) + " ft; cruise at " +
                   std::to_string(static_cast<int>(cruise_ft)) + " ft";
    }
    out.cruise_altitude_ft = static_cast<int>(cruise_ft);
    insert_marker(pts, ph.climb_nm, "TOC", "TOP OF CLIMB");
    insert_marker(pts, total - ph.descent_nm, "TOD", "TOP OF DESCENT");
    for (std::size_t i = 0; i < pts.size(); ++i) {
        PlanPoint& p = pts[i];
        if (i > 0) p.course_deg = sim::course_deg(pts[i - 1].place.at, p.place.at);
        p.minutes = minutes_at(p.distance_nm, total, ph);
        p.altitude_ft = altitude_at(p.distance_nm, total, dep_ft, cruise_ft, arr_ft, ph);
        if (p.place.type == "TOC" || p.place.type == "TOD") p.altitude_ft = static_cast<int>(cruise_ft);
    }
    pts.front().altitude_ft = static_cast<int>(std::lround(dep_ft));
    pts.back().altitude_ft = static_cast<int>(std::lround(arr_ft));
    return out;
}

}  // namespace planner
