#include "approach_flight.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "sim/aero.h"
#include "sim/approach.h"
#include "sim/radio_stations.h"
#include "sim/units.h"
#include "sim_test_util.h"

namespace simtest {

namespace {

constexpr double crossing_noise_m = 1.0;  // closer than this to the centre line is on it

}  // namespace

std::shared_ptr<const sim::World> shipped_world() {
    std::string why;
    auto w = sim::World::load_shared(std::string(PANEL_SOURCE_DIR) + "/data/navdata", &why);
    EXPECT_TRUE(w) << why;
    return w;
}

std::string describe(const Runway& r, const Entry& e) {
    char text[200];
    const double height = e.height_ft ? *e.height_ft : 0;
    std::snprintf(text, sizeof text, "%s %s: %.1f NM out, %.2f NM %s, %.0f deg in, %s%.1f %s, %.0f kt, wind %.0f kt from %+.0f",
                  r.airport.c_str(), r.designator.c_str(), e.out_nm, std::fabs(e.right_nm), e.right_nm >= 0 ? "right" : "left",
                  e.toward_deg, e.height_ft ? "" : "", e.height_ft ? height : e.dots_above,
                  e.height_ft ? "ft high" : "dots above the path", e.ias_kt, e.wind_kt, e.wind_from_deg);
    return text;
}

std::string describe(const Flown& f) {
    if (!f.touchdown) return "no touchdown";
    char text[200];
    std::snprintf(text, sizeof text, "touchdown %.0f ft past the threshold, %.1f m %s, %.0f ft/min; stopped %.0f ft past it, %.1f m off%s",
                  f.touchdown_past_threshold_ft, std::fabs(f.touchdown_right_m), f.touchdown_right_m >= 0 ? "right" : "left",
                  f.touchdown->sink_fpm, f.stop_past_threshold_ft, f.stop_right_m, f.stopped_on_runway ? "" : " (off the runway)");
    return text;
}

std::optional<Start> shipped_start(const Runway& r, const EntryPoint& e) {
    const auto world = shipped_world();
    if (!world) return std::nullopt;
    std::optional<Start> start = start_of(*world, r, e);
    EXPECT_TRUE(start) << r.airport << " " << r.designator << " " << r.localizer_mhz;
    return start;
}

Flown fly_approach(const Runway& r, const Entry& e) {
    Flown out;
    const std::optional<Start> start = shipped_start(r, e);
    if (!start) return out;
    auto world = shipped_world();
    const sim::RunwayEnd* rwy = start->runway;
    out.found = true;
    out.course_deg = start->course_deg;
    out.elevation_ft = rwy->elevation_ft;
    out.landing_threshold = start->landing_threshold;
    out.start_altitude_ft = start->altitude_ft;
    const double heading = rwy->heading_deg();
    const double displaced_ft = start->displaced_ft;
    const sim::LatLon antenna = start->localizer->at;

    sim::Aircraft a;
    a.log = [&out](const std::string& line) { out.notes.push_back(line); };
    a.use_world(world);
    sim::RadioTuning radios = a.state().radios;
    EXPECT_TRUE(sim::set_knob(radios, sim::RadioKnob::nav1, e.nav1_mhz.value_or(r.localizer_mhz)));
    a.tune(radios);
    sim::Placement p;
    p.lat = start->at.lat, p.lon = start->at.lon;
    p.altitude_ft = out.start_altitude_ft;
    p.ias_kt = e.ias_kt, p.on_ground = false;
    const double wind_from = sim::wrap_360(heading + e.wind_from_deg);
    p.heading_deg = heading_for_track(start->track_deg, sim::tas_from_ias(e.ias_kt, start->altitude_ft), wind_from, e.wind_kt);
    p.flaps = e.flaps, p.gear_down = e.gear_down;
    p.wind_from_deg = wind_from, p.wind_kt = e.wind_kt;
    a.place(p);
    sim::AircraftState& s = a.state();
    s.autopilot.master = s.autopilot.heading_hold = true;
    s.autopilot.altitude_hold = e.altitude_hold;
    s.autopilot.vertical_speed_fpm = 1000;
    if (e.speed_setting_kt) s.autopilot.speed_kt = *e.speed_setting_kt;
    out.altitude_setting_ft = s.autopilot.altitude_ft;
    sim::arm_approach(s);

    int side = 0;  // of the centre line, once captured: +1 right, -1 left
    for (int i = 0; i < static_cast<int>(e.seconds * 18) && s.approach != sim::ApproachPhase::stopped; ++i) {
        const sim::ApproachPhase before = s.approach;
        a.step(cycle_s);
        if (e.each_step) e.each_step(a);
        if (before == sim::ApproachPhase::armed && s.approach == sim::ApproachPhase::localizer) out.localizer_captured = true;
        if (before == sim::ApproachPhase::localizer && s.approach == sim::ApproachPhase::glide_slope) {
            out.glide_slope_captured = true;
            out.glide_capture_deviation = s.reception.nav[0].glide_deviation;
            if (e.configure_at_glide_slope) s.controls.flaps = 1.0, s.controls.gear_down = true;
        }
        if (s.on_ground) continue;
        const double height = sim::height_above_field_ft(s);
        if (!out.glide_slope_captured) {
            out.lowest_before_glide_slope_ft = std::min(out.lowest_before_glide_slope_ft, s.altitude_ft);
            out.fastest_sink_before_glide_slope_fpm = std::max(out.fastest_sink_before_glide_slope_fpm, -s.vertical_speed_fpm);
        }
        // Close in the beam is left behind, on purpose: below 100 ft it is no longer followed.
        if (!s.reception.nav[0].glide_slope && (s.approach < sim::ApproachPhase::glide_slope || height > 200))
            out.lowest_without_glide_slope_ft = std::min(out.lowest_without_glide_slope_ft, s.altitude_ft);
        if (out.localizer_captured && s.approach < sim::ApproachPhase::flare) {
            out.slowest_kt = std::min(out.slowest_kt, s.ias_kt);
            out.fastest_kt = std::max(out.fastest_kt, s.ias_kt);
        }
        if (!sim::on_runway(*rwy, s.position, 100.0) || along_line_ft(out.landing_threshold, heading, s.position) < 0)
            out.lowest_height_off_runway_ft = std::min(out.lowest_height_off_runway_ft, height);
        if (out.localizer_captured && height > 1000) {
            const double right_m = right_of_line_ft(antenna, out.course_deg + 180.0, s.position) * -sim::metres_per_foot;
            const int now = right_m > crossing_noise_m ? 1 : right_m < -crossing_noise_m ? -1 : 0;
            if (now && side && now != side) ++out.crossings;
            if (now) side = now;
            if (out.crossings > 0) out.overshoot_m = std::max(out.overshoot_m, std::fabs(right_m));
        }
    }
    out.seconds = a.elapsed();
    out.final_state = s;
    if (s.touchdown) {
        out.touchdown = s.touchdown;
        const sim::RunwayPosition at = sim::runway_position(*rwy, s.touchdown->position);
        out.touchdown_past_threshold_ft = at.past_threshold_ft - displaced_ft;
        out.touchdown_right_m = at.right_of_centre_ft * sim::metres_per_foot;
    }
    out.stopped = s.on_ground && s.ground_speed_kt < sim::stopped_kt;
    out.stopped_on_runway = out.stopped && sim::on_runway(*rwy, s.position);
    const sim::RunwayPosition at = sim::runway_position(*rwy, s.position);
    out.stop_past_threshold_ft = at.past_threshold_ft - displaced_ft;
    out.stop_right_m = at.right_of_centre_ft * sim::metres_per_foot;
    return out;
}

}  // namespace simtest
