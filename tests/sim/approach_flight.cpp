#include "approach_flight.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "sim/approach.h"
#include "sim/radio_stations.h"
#include "sim/units.h"
#include "sim_test_util.h"

namespace simtest {

namespace {

constexpr double dot_deg = 0.35;         // a dot of the glide slope's scale
constexpr double crossing_noise_m = 1.0;  // closer than this to the centre line is on it

struct Ils {
    const sim::RadioStation* localizer = nullptr;
    const sim::RadioStation* glide_slope = nullptr;
};

// The localizer on the frequency that serves the runway: the nearest one whose course is near the
// runway's, and its glide slope.
Ils ils_of(const sim::World& world, const sim::RunwayEnd& rwy, double mhz) {
    Ils ils;
    double nearest = 1e9;
    const auto channel = world.radios().vhf_on(sim::vhf_channel(mhz));
    for (const sim::RadioStation& st : channel) {
        if (st.kind != sim::RadioStation::localizer) continue;
        if (std::fabs(sim::wrap_180(st.course_deg - rwy.heading_deg())) > 30.0) continue;
        const double d = sim::distance_nm(st.at, rwy.threshold);
        if (d < nearest) nearest = d, ils.localizer = &st;
    }
    if (!ils.localizer) return ils;
    for (const sim::RadioStation& st : channel)
        if (st.kind == sim::RadioStation::glide_slope && st.ident == ils.localizer->ident &&
            sim::distance_nm(st.at, ils.localizer->at) < 5.0)
            ils.glide_slope = &st;
    return ils;
}

// Feet right of the line through `on` along `course`.
double right_of_line_ft(sim::LatLon on, double course, sim::LatLon p) {
    const double d = sim::distance_nm(on, p) * sim::feet_per_nm;
    return d * std::sin((sim::course_deg(on, p) - course) * sim::degrees_to_radians);
}

double along_line_ft(sim::LatLon on, double course, sim::LatLon p) {
    const double d = sim::distance_nm(on, p) * sim::feet_per_nm;
    return d * std::cos((sim::course_deg(on, p) - course) * sim::degrees_to_radians);
}

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

Flown fly_approach(const Runway& r, const Entry& e) {
    Flown out;
    auto world = shipped_world();
    if (!world) return out;
    const sim::RunwayEnd* rwy = world->runway(r.airport, r.designator);
    EXPECT_TRUE(rwy) << r.airport << " " << r.designator;
    if (!rwy) return out;
    const Ils ils = ils_of(*world, *rwy, r.localizer_mhz);
    EXPECT_TRUE(ils.localizer) << r.airport << " " << r.designator << " " << r.localizer_mhz;
    if (!ils.localizer) return out;
    out.found = true;
    out.course_deg = ils.localizer->course_deg;
    out.elevation_ft = rwy->elevation_ft;
    const double heading = rwy->heading_deg();
    // The glide slope lies threshold_crossing_ft / tan(angle) past the landing threshold.
    out.landing_threshold = rwy->threshold;
    if (ils.glide_slope) {
        const double in_ft = sim::threshold_crossing_ft / std::tan(ils.glide_slope->glide_deg * sim::degrees_to_radians);
        out.landing_threshold = sim::travel(ils.glide_slope->at, heading + 180.0, in_ft / sim::feet_per_nm);
    }
    const double displaced_ft = along_line_ft(rwy->threshold, heading, out.landing_threshold);

    // The start: out along the approach course (the localizer's), abeam the landing threshold.
    const sim::LatLon antenna = ils.localizer->at;
    const double to_threshold_nm = along_line_ft(antenna, out.course_deg + 180.0, out.landing_threshold) / sim::feet_per_nm;
    const sim::LatLon on_course = sim::travel(antenna, out.course_deg + 180.0, to_threshold_nm + e.out_nm);
    const sim::LatLon start = sim::travel(on_course, out.course_deg + 90.0, e.right_nm);
    if (e.height_ft) {
        out.start_altitude_ft = rwy->elevation_ft + *e.height_ft;
    } else {
        const sim::RadioStation* gs = ils.glide_slope;
        EXPECT_TRUE(gs) << "a height on the glide path needs a glide slope";
        if (!gs) return out;
        const double angle = (gs->glide_deg + e.dots_above * dot_deg) * sim::degrees_to_radians;
        out.start_altitude_ft = gs->elevation_ft + std::tan(angle) * sim::distance_nm(start, gs->at) * sim::feet_per_nm;
    }

    sim::Aircraft a;
    a.log = [&out](const std::string& line) { out.notes.push_back(line); };
    a.use_world(world);
    sim::RadioTuning radios = a.state().radios;
    EXPECT_TRUE(sim::set_knob(radios, sim::RadioKnob::nav1, r.localizer_mhz));
    a.tune(radios);
    sim::Placement p;
    p.lat = start.lat, p.lon = start.lon;
    p.altitude_ft = out.start_altitude_ft;
    p.ias_kt = e.ias_kt, p.on_ground = false;
    p.heading_deg = out.course_deg + (e.right_nm > 0 ? -e.toward_deg : e.toward_deg);
    p.flaps = e.flaps, p.gear_down = e.gear_down;
    p.wind_from_deg = sim::wrap_360(heading + e.wind_from_deg), p.wind_kt = e.wind_kt;
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
