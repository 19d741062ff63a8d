// The approach mode and the automatic landing, closed loop: the aircraft alone over the shipped
// world data, put 15 NM out near the extended centre line of a runway with an ILS, below the glide
// slope, with the approach armed; the crew's part is the flaps to full at the glide slope's capture.
// It must capture the localizer and then the glide slope from below and end stopped on the runway.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "reports/landing_figures.h"
#include "sim/aircraft.h"
#include "sim/approach.h"
#include "sim/runway.h"
#include "sim/units.h"
#include "sim/world.h"
#include "sim_test_util.h"

using namespace simtest;

namespace {

std::shared_ptr<const sim::World> shipped_world() {
    std::string why;
    auto w = sim::World::load_shared(std::string(PANEL_SOURCE_DIR) + "/data/navdata", &why);
    EXPECT_TRUE(w) << why;
    return w;
}

struct Approach {
    std::string airport, runway;
    double ils_mhz;
    double wind_from_offset_deg = 0, wind_kt = 0;  // relative to the runway's heading
    double start_right_nm = 0.8;                    // off the centre line, seen inbound
};

struct Outcome {
    bool localizer_captured = false, glide_slope_captured = false;
    double glide_capture_deviation = 0;  // the needle when the glide slope was captured
    double max_sink_below_100ft = 0;
    std::optional<reports::LandingFigures> landing;
    bool stopped = false, stopped_on_runway = false;
    double stop_past_threshold_ft = 0, stop_off_centre_m = 0;
    double seconds = 0;
};

Outcome fly_approach(const Approach& ap) {
    Outcome out;
    auto world = shipped_world();
    if (!world) return out;
    const sim::RunwayEnd* rwy = world->runway(ap.airport, ap.runway);
    EXPECT_TRUE(rwy) << ap.airport << " " << ap.runway;
    if (!rwy) return out;
    sim::Aircraft a;
    a.log = nullptr;
    a.use_world(world);
    sim::RadioTuning radios = a.state().radios;
    EXPECT_TRUE(sim::set_knob(radios, sim::RadioKnob::nav1, ap.ils_mhz));
    a.tune(radios);

    const double course = rwy->heading_deg();
    const sim::LatLon out_there = sim::travel(rwy->threshold, course + 180.0, 15.0);
    const sim::LatLon start = sim::travel(out_there, course + 90.0, ap.start_right_nm);
    sim::Placement p;
    p.lat = start.lat, p.lon = start.lon;
    p.altitude_ft = rwy->elevation_ft + 3000.0;
    p.ias_kt = 190, p.heading_deg = course + (ap.start_right_nm > 0 ? -30.0 : 30.0), p.on_ground = false;
    p.flaps = 0.5, p.gear_down = true;
    p.wind_from_deg = sim::wrap_360(course + ap.wind_from_offset_deg), p.wind_kt = ap.wind_kt;
    a.place(p);
    sim::AircraftState& s = a.state();
    s.autopilot.master = s.autopilot.altitude_hold = s.autopilot.heading_hold = true;
    s.autopilot.vertical_speed_fpm = 1000;
    sim::arm_approach(s);

    for (int i = 0; i < 18 * 900 && s.approach != sim::ApproachPhase::stopped; ++i) {
        const sim::ApproachPhase before = s.approach;
        a.step(cycle_s);
        if (before == sim::ApproachPhase::armed && s.approach == sim::ApproachPhase::localizer) out.localizer_captured = true;
        if (before == sim::ApproachPhase::localizer && s.approach == sim::ApproachPhase::glide_slope) {
            out.glide_slope_captured = true;
            out.glide_capture_deviation = s.reception.nav[0].glide_deviation;
            s.controls.flaps = 1.0;
        }
        if (!s.on_ground && sim::height_above_field_ft(s) < 100)
            out.max_sink_below_100ft = std::max(out.max_sink_below_100ft, -s.vertical_speed_fpm);
    }
    out.seconds = a.elapsed();
    if (s.touchdown) out.landing = reports::landing_figures(*rwy, *s.touchdown);
    out.stopped = s.on_ground && s.ground_speed_kt < sim::stopped_kt;
    out.stopped_on_runway = sim::on_runway(*rwy, s.position);
    const sim::RunwayPosition at = sim::runway_position(*rwy, s.position);
    out.stop_past_threshold_ft = at.past_threshold_ft;
    out.stop_off_centre_m = at.right_of_centre_ft * sim::metres_per_foot;
    return out;
}

void expect_landed(const Outcome& o, const std::string& what) {
    SCOPED_TRACE(what);
    EXPECT_TRUE(o.localizer_captured);
    EXPECT_TRUE(o.glide_slope_captured);
    EXPECT_LE(o.glide_capture_deviation, 0.0) << "captured from below";
    ASSERT_TRUE(o.landing);
    const reports::LandingFigures& f = *o.landing;
    std::printf("%s: %s; stopped %.0f ft past the threshold, %.1f m off the centre line, after %.0f s\n", what.c_str(),
                reports::format_landing(f).c_str(), o.stop_past_threshold_ft, o.stop_off_centre_m, o.seconds);
    EXPECT_GE(f.past_threshold_ft, 500.0);
    EXPECT_LE(f.past_threshold_ft, 3000.0);
    EXPECT_LE(std::fabs(f.from_centre_line_m), 10.0);
    EXPECT_LT(f.sink_fpm, 600.0);
    EXPECT_GT(f.sink_fpm, 0.0);
    EXPECT_TRUE(o.stopped);
    EXPECT_TRUE(o.stopped_on_runway);
    EXPECT_LE(std::fabs(o.stop_off_centre_m), 10.0);
}

}  // namespace

TEST(ApproachAndLanding, San_Francisco_28R_in_still_air) {
    expect_landed(fly_approach({"KSFO", "28R", 111.70}), "KSFO 28R, calm");
}

TEST(ApproachAndLanding, Los_Angeles_24R_in_still_air_from_the_other_side) {
    expect_landed(fly_approach({"KLAX", "24R", 108.50, 0, 0, -0.8}), "KLAX 24R, calm");
}

TEST(ApproachAndLanding, San_Francisco_28R_with_15_kt_across_from_the_right) {
    expect_landed(fly_approach({"KSFO", "28R", 111.70, 90, 15}), "KSFO 28R, 15 kt from the right");
}

TEST(ApproachAndLanding, Los_Angeles_24R_with_15_kt_across_from_the_left) {
    expect_landed(fly_approach({"KLAX", "24R", 108.50, -90, 15}), "KLAX 24R, 15 kt from the left");
}
