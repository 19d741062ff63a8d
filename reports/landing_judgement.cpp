#include "reports/landing_judgement.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "sim/units.h"

namespace reports {

namespace {

constexpr double aligned_deg = 30.0;  // as runway_under takes a landing direction

template <typename... Args>
std::string text(const char* format, Args... args) {
    char buffer[240];
    std::snprintf(buffer, sizeof buffer, format, args...);
    return buffer;
}

std::string name(const sim::RunwayEnd& r) { return r.airport + " " + r.designator; }

const char* side(double right_ft) { return right_ft >= 0 ? "right" : "left"; }

// "2.6 NM" far out, "850 ft" near.
std::string distance(double ft) {
    return ft >= sim::feet_per_nm ? text("%.1f NM", ft / sim::feet_per_nm) : text("%.0f ft", ft);
}

// The runway a touchdown off every runway was short of: landing its way, its pavement ahead within
// the search distance, the touchdown near its extended centre line. Null when none.
const sim::RunwayEnd* runway_ahead(const sim::World& world, const sim::Touchdown& t, sim::RunwayPosition& at) {
    const double search_ft = short_of_runway_search_nm * sim::feet_per_nm;
    const sim::RunwayEnd* best = nullptr;
    for (const sim::RunwayEnd& r : world.runways()) {
        if (std::fabs(r.threshold.lat - t.position.lat) > short_of_runway_search_nm / 60.0 + 0.01) continue;
        if (std::fabs(sim::wrap_180(r.heading_deg() - t.true_heading_deg)) > aligned_deg) continue;
        const sim::RunwayPosition p = sim::runway_position(r, t.position);
        const double short_ft = -p.past_threshold_ft;
        // Near the centre line: within the runway's width close in, within a tenth of the distance out.
        const double lateral_ft = std::max(r.width_ft, 0.1 * short_ft);
        if (short_ft <= 0 || short_ft > search_ft || std::fabs(p.right_of_centre_ft) > lateral_ft) continue;
        // Of parallel runways, the one whose centre line it was nearest.
        if (!best || std::fabs(p.right_of_centre_ft) < std::fabs(at.right_of_centre_ft)) best = &r, at = p;
    }
    return best;
}

std::string off_every_runway(const sim::World& world, const sim::Touchdown& t) {
    sim::RunwayPosition at;
    if (const sim::RunwayEnd* r = runway_ahead(world, t, at))
        return text("touched down %s short of %s's landing threshold, %.0f ft %s of its extended centre line",
                    distance(-at.past_landing_threshold_ft).c_str(), name(*r).c_str(), std::fabs(at.right_of_centre_ft),
                    side(at.right_of_centre_ft));
    return "touched down off any runway";
}

std::optional<std::string> on_runway_crash(const sim::RunwayEnd& r, const sim::Touchdown& t, bool gear_down) {
    const sim::RunwayPosition at = sim::runway_position(r, t.position);
    const double zone_ft = touchdown_zone_length_ft(r);
    if (std::fabs(at.right_of_centre_ft) > r.width_ft / 2)
        return text("touched down beside %s, %.0f ft %s of its centre line, off its %.0f ft wide pavement",
                    name(r).c_str(), std::fabs(at.right_of_centre_ft), side(at.right_of_centre_ft), r.width_ft);
    if (!gear_down) return "touched down on " + name(r) + " with the gear not down";
    if (t.sink_fpm > gear_failure_fpm)
        return text("touched down on %s at %.0f ft/min, harder than the landing gear holds (%.0f ft/min)",
                    name(r).c_str(), t.sink_fpm, gear_failure_fpm);
    if (at.past_landing_threshold_ft < 0)
        return text("touched down %s short of %s's landing threshold", distance(-at.past_landing_threshold_ft).c_str(),
                    name(r).c_str());
    if (at.past_landing_threshold_ft > far_past_zone_factor * zone_ft)
        return text("touched down %.0f ft past %s's landing threshold, far beyond its %.0f ft touchdown zone",
                    at.past_landing_threshold_ft, name(r).c_str(), zone_ft);
    return std::nullopt;
}

}  // namespace

double touchdown_zone_length_ft(const sim::RunwayEnd& r) {
    return std::min(touchdown_zone_ft, touchdown_zone_share * r.landing_distance_ft());
}

TouchdownVerdict judge_touchdown(const sim::World& world, const sim::Touchdown& t, bool gear_down) {
    TouchdownVerdict v;
    v.runway = world.runway_under(t.position, t.true_heading_deg);
    v.crash = v.runway ? on_runway_crash(*v.runway, t, gear_down) : off_every_runway(world, t);
    v.hard = !v.crash && t.sink_fpm > hard_landing_fpm;
    return v;
}

std::optional<std::string> judge_roll(const sim::RunwayEnd& runway, sim::LatLon p, double ground_speed_kt) {
    if (sim::on_pavement(runway, p)) return std::nullopt;
    const sim::RunwayPosition at = sim::runway_position(runway, p);
    if (at.past_threshold_ft > runway.length_ft())
        return text("ran off the end of %s at %.0f kt", name(runway).c_str(), ground_speed_kt);
    return text("ran off %s at %.0f kt, %.0f ft %s of its centre line", name(runway).c_str(), ground_speed_kt,
                std::fabs(at.right_of_centre_ft), side(at.right_of_centre_ft));
}

}  // namespace reports
