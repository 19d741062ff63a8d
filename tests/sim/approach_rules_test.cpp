// The approach mode's rules, each where it matters, over the shipped world data: the altitude held
// until the glide slope, the captures from below, on and above the beam and the refusal beyond 1.5
// dots, the wait beyond the beam's range, lateral guidance only on a localizer without a glide
// slope or off the runway's axis, an approach armed with no localizer to fly, the localizer joined
// from small offsets without swinging across, and the brakes held after the stop.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "approach_cases.h"
#include "approach_flight.h"
#include "sim/aero.h"
#include "sim/approach.h"
#include "sim/units.h"

using namespace simtest;

namespace {

const Runway kSfo28R{"KSFO", "28R", 111.70};
const Runway kDen16R{"KDEN", "16R", 111.90};
const Runway kLhr09L{"EGLL", "09L", 110.30};
const Runway kSan27Loc{"KSAN", "27", 110.90};     // a localizer without a glide slope
const Runway kSfo28RLda{"KSFO", "28R", 110.75};   // an LDA with a glide slope, offset from the runway
const Runway kDca19Lda{"KDCA", "19", 109.90};     // an LDA with a glide slope, 10 degrees across

int notes_with(const Flown& f, const std::string& text) {
    return static_cast<int>(std::count_if(f.notes.begin(), f.notes.end(),
                                          [&](const std::string& n) { return n.find(text) != std::string::npos; }));
}

Entry on_centre(double out_nm, double dots_above) {
    Entry e;
    e.out_nm = out_nm, e.right_nm = 0, e.toward_deg = 0, e.dots_above = dots_above;
    e.ias_kt = 180, e.flaps = 0.5;
    return e;
}

}  // namespace

TEST(ApproachMode, HoldsTheAltitudeAndTheSpeedBetweenTheLocalizerAndTheGlideSlope) {
    // Slow for its flaps, the speed setting slower still, without the altitude hold (the autopilot
    // keeping the vertical speed it has), from beyond the glide slope's range: what once sank at
    // 1,100 ft/min into the ground short of the runway.
    for (const Runway& r : {kSfo28R, kDen16R, kLhr09L}) {
        SCOPED_TRACE(r.airport);
        Entry e;
        e.out_nm = 16, e.right_nm = 0.8, e.toward_deg = 30, e.height_ft = 3000;
        e.ias_kt = 165, e.flaps = 0.5, e.speed_setting_kt = 150, e.altitude_hold = false;
        double captured_at_ft = 0, lowest = 1e9, highest = 0, slowest = 1e9, fastest_sink = 0;
        int steps_on_localizer = 0;
        e.each_step = [&](sim::Aircraft& a) {
            const sim::AircraftState& s = a.state();
            if (s.approach != sim::ApproachPhase::localizer) return;
            if (++steps_on_localizer == 1) captured_at_ft = s.altitude_ft;
            lowest = std::min(lowest, s.altitude_ft), highest = std::max(highest, s.altitude_ft);
            fastest_sink = std::max(fastest_sink, -s.vertical_speed_fpm);
            if (steps_on_localizer > 18 * 40) slowest = std::min(slowest, s.ias_kt);
        };
        const Flown f = fly_approach(r, e);
        ASSERT_GT(steps_on_localizer, 18 * 60) << "a minute and more on the localizer before the glide slope";
        EXPECT_GT(lowest, captured_at_ft - 50);
        EXPECT_LT(highest, captured_at_ft + 50);
        EXPECT_LT(fastest_sink, 200.0);
        EXPECT_GE(slowest, sim::slowest_approach_speed_kt(sim::weight_lb(f.final_state), 0.5) - 2.0)
            << "the autothrottle holds the speed the flaps need, not the slower setting";
        EXPECT_LE(f.glide_capture_deviation, 0.0) << "from below";
        EXPECT_TRUE(f.stopped_on_runway);
    }
}

TEST(ApproachMode, CapturesTheGlideSlopeFromAboveWithinOneAndAHalfDots) {
    for (const Runway& r : {kSfo28R, kDen16R, kLhr09L})
        for (double dots : {0.5, 1.0, 1.35}) {
            SCOPED_TRACE(r.airport + " " + std::to_string(dots) + " dots above");
            const Flown f = fly_approach(r, on_centre(8, dots));
            EXPECT_TRUE(f.glide_slope_captured);
            EXPECT_GT(f.glide_capture_deviation, 0.0) << "met from above";
            EXPECT_TRUE(f.stopped_on_runway);
            EXPECT_GE(f.touchdown_past_threshold_ft, 1000.0);
            EXPECT_TRUE(f.notes.empty());
        }
}

TEST(ApproachMode, TooHighToCaptureSaysSoOnceAndHoldsItsAltitude) {
    for (const Runway& r : {kSfo28R, kDen16R}) {
        SCOPED_TRACE(r.airport);
        Entry e = on_centre(8, 1.8);
        e.seconds = 300;
        const Flown f = fly_approach(r, e);
        EXPECT_TRUE(f.localizer_captured);
        EXPECT_FALSE(f.glide_slope_captured);
        ASSERT_EQ(f.notes.size(), 1u);
        EXPECT_EQ(notes_with(f, "too high to capture"), 1) << f.notes[0];
        EXPECT_GT(f.lowest_before_glide_slope_ft, std::min(f.start_altitude_ft, f.altitude_setting_ft) - 50);
        EXPECT_FALSE(f.touchdown);
    }
}

TEST(ApproachMode, BeyondTheGlideSlopesRangeItWaitsLevel) {
    Entry e;
    e.out_nm = 20, e.right_nm = 0, e.toward_deg = 0, e.height_ft = 3000;
    double first_heard_nm = 0;
    e.each_step = [&](sim::Aircraft& a) {
        const sim::NavReception& nav = a.state().reception.nav[0];
        if (nav.glide_slope && first_heard_nm == 0) first_heard_nm = nav.glide_nm;
    };
    const Flown f = fly_approach(kSfo28R, e);
    EXPECT_GT(first_heard_nm, 9.0);
    EXPECT_LE(first_heard_nm, 10.0) << "heard within the data's 10 NM";
    EXPECT_GE(f.lowest_without_glide_slope_ft, std::min(f.start_altitude_ft, f.altitude_setting_ft) - 30);
    EXPECT_LE(f.glide_capture_deviation, 0.0) << "the beam came down to it";
    EXPECT_TRUE(f.stopped_on_runway);
}

TEST(ApproachMode, WithoutAGlideSlopeOrOffTheRunwaysAxisItFliesTheLocalizerOnly) {
    struct Aid {
        Runway runway;
        const char* said;
    };
    for (const Aid& aid : {Aid{kSan27Loc, "without a glide slope"}, Aid{kSfo28RLda, "off the runway's centre line"},
                           Aid{kDca19Lda, "off the runway's centre line"}}) {
        SCOPED_TRACE(aid.runway.airport + " " + std::to_string(aid.runway.localizer_mhz));
        Entry e;
        e.out_nm = 10, e.right_nm = 1.0, e.toward_deg = 30, e.height_ft = 2000, e.seconds = 360;
        double closest_m = 1e9;
        bool altitude_hold_kept = true;
        e.each_step = [&](sim::Aircraft& a) {
            const sim::AircraftState& s = a.state();
            if (s.approach != sim::ApproachPhase::localizer) return;
            altitude_hold_kept = altitude_hold_kept && s.autopilot.altitude_hold;
            const sim::NavReception& nav = s.reception.nav[0];
            if (nav.received && nav.station_nm > 1.0)
                closest_m = std::min(closest_m, std::fabs(nav.deviation) / 127 * 2.5 * sim::degrees_to_radians *
                                                    nav.station_nm * sim::metres_per_nm);
        };
        const Flown f = fly_approach(aid.runway, e);
        EXPECT_TRUE(f.localizer_captured);
        EXPECT_FALSE(f.glide_slope_captured);
        EXPECT_LT(closest_m, 10.0) << "on the localizer's course";
        EXPECT_TRUE(altitude_hold_kept) << "the crew's vertical mode stays theirs";
        EXPECT_GT(f.lowest_before_glide_slope_ft, f.start_altitude_ft - 50) << "no descent";
        EXPECT_FALSE(f.touchdown) << "no landing";
        for (const std::string& n : f.notes) std::printf("  said: %s\n", n.c_str());
        ASSERT_EQ(f.notes.size(), 1u);
        EXPECT_EQ(notes_with(f, aid.said), 1) << f.notes[0];
    }
}

TEST(ApproachMode, ArmedWithNoLocalizerOnNav1ItStaysArmedAndSaysSoOnce) {
    struct Tuning {
        double mhz;
        const char* said;
    };
    // San Francisco's VOR; then a localizer's frequency no station near San Francisco uses.
    for (const Tuning& t : {Tuning{115.80, "tuned to no localizer"}, Tuning{111.90, "hears no localizer yet"}}) {
        SCOPED_TRACE(t.mhz);
        Entry e;
        e.out_nm = 12, e.right_nm = 1.0, e.toward_deg = 30, e.height_ft = 3000, e.seconds = 120;
        bool always_armed = true;
        e.each_step = [&](sim::Aircraft& a) { always_armed = always_armed && a.state().approach == sim::ApproachPhase::armed; };
        e.nav1_mhz = t.mhz;
        const Flown f = fly_approach(kSfo28R, e);
        EXPECT_TRUE(always_armed);
        ASSERT_EQ(f.notes.size(), 1u);
        EXPECT_EQ(notes_with(f, t.said), 1) << f.notes[0];
    }
}

TEST(ApproachMode, JoinsTheLocalizerFromSmallOffsetsWithoutSwingingAcross) {
    int flown = 0;
    for (const Runway& r : {kSfo28R, kDen16R, kLhr09L, ils_runways()[9]})
        for (double offset : {0.1, 0.2, 0.3})
            for (double side : {1.0, -1.0})
                for (double toward : {0.0, 10.0})
                    for (const Wind& w : {winds()[0], winds()[1], winds()[3]}) {
                        Entry e;
                        e.out_nm = 9, e.right_nm = side * offset, e.toward_deg = toward, e.height_ft = 2200;
                        e.ias_kt = 180, e.wind_from_deg = w.from_deg, e.wind_kt = w.kt;
                        e.seconds = 150;  // the localizer's part
                        const Flown f = fly_approach(r, e);
                        SCOPED_TRACE(describe(r, e));
                        EXPECT_TRUE(f.localizer_captured);
                        EXPECT_LE(f.crossings, 1);
                        EXPECT_LE(f.overshoot_m, 30.0);
                        ++flown;
                    }
    EXPECT_EQ(flown, 4 * 3 * 2 * 2 * 3);
}

TEST(ApproachMode, StoppedItStaysStoppedInATailwind) {
    for (double tail_kt : {10.0, 25.0}) {
        SCOPED_TRACE(tail_kt);
        Entry e = on_centre(6, 0);
        e.wind_from_deg = 180, e.wind_kt = tail_kt;
        const Flown f = fly_approach(kSfo28R, e);
        ASSERT_TRUE(f.stopped_on_runway);
        sim::Aircraft a;
        a.log = nullptr;
        a.use_world(shipped_world());
        a.state() = f.final_state;
        const sim::LatLon stopped_at = a.state().position;
        for (int i = 0; i < 18 * 300; ++i) a.step(1.0 / 18);
        EXPECT_LT(sim::distance_nm(stopped_at, a.state().position) * sim::feet_per_nm, 1.0) << "five minutes later";
        EXPECT_EQ(a.state().controls.brakes, 1.0) << "the brakes held";
        EXPECT_EQ(a.state().approach, sim::ApproachPhase::stopped);
    }
}

TEST(ApproachMode, AGlideSlopeLostLevelsOffWhereItWasAndSaysSo) {
    Entry e = on_centre(8, 0);
    e.seconds = 240;
    double lost_at_ft = 0, lowest_after = 1e9;
    e.each_step = [&](sim::Aircraft& a) {
        sim::AircraftState& s = a.state();
        if (lost_at_ft == 0 && s.approach == sim::ApproachPhase::glide_slope && sim::height_above_field_ft(s) < 1500) {
            sim::RadioTuning t = s.radios;
            sim::set_knob(t, sim::RadioKnob::nav1, 115.80);  // the beam gone, as a failed receiver would leave it
            a.tune(t);
            lost_at_ft = s.altitude_ft;
        } else if (lost_at_ft > 0) {
            lowest_after = std::min(lowest_after, s.altitude_ft);
        }
    };
    const Flown f = fly_approach(kSfo28R, e);
    ASSERT_GT(lost_at_ft, 0.0);
    EXPECT_GT(lowest_after, lost_at_ft - 100) << "levelled off where the beam was lost";
    EXPECT_FALSE(f.touchdown);
    ASSERT_EQ(f.notes.size(), 1u);
    EXPECT_EQ(notes_with(f, "glide slope lost"), 1) << f.notes[0];
}
