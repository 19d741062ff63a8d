// The aircraft's radios over the test extract of the world: which station each receiver locks on,
// the needles it gives, and the tokens the panel reads.

#include <gtest/gtest.h>

#include <cmath>

#include "host/tokens.h"
#include "sim/radios.h"
#include "sim/units.h"
#include "sim/world.h"
#include "approach_cases.h"
#include "approach_flight.h"
#include "sim_test_util.h"

namespace token = gauge::token;

using namespace simtest;

namespace {

const sim::LatLon kIgwq{37.62953900, -122.39531100};             // 28R localizer, 111.70 on 297.903
// The 28R glide slope, 3.00 degrees, laid on the runway: 50 ft over the threshold at the field's
// 13 ft (its antenna's 4 ft below sea level in the data notwithstanding).
const sim::LatLon k28R{37.61351918, -122.35716907};
const sim::LatLon k10L{37.62872250, -122.39342127};
const sim::LatLon kIgwqGlideSlope =
    sim::travel(k28R, sim::course_deg(k28R, k10L), 50.0 / std::tan(3.0 * sim::degrees_to_radians) / sim::feet_per_nm);
constexpr double kField = 13.0;
const sim::LatLon kIgwqDme{37.63017800, -122.39460800};
const sim::LatLon kSfo{37.61947222, -122.37388889};  // 115.80, variation 17 E, range 40
const sim::LatLon kReiga{37.69233333, -121.68391667};  // NDB LV 374, range 50
const sim::LatLon kOuterMarker28L{37.57220300, -122.25990300};
const sim::LatLon kMiddleMarker28R{37.60938600, -122.34727200};

std::shared_ptr<const sim::World> world() {
    std::string why;
    auto w = sim::World::load_shared(data_dir(), &why);
    EXPECT_TRUE(w) << why;
    return w;
}

struct Radios {
    sim::Aircraft a;
    MapSink out;

    Radios() {
        a.log = nullptr;
        a.use_world(world());
    }
    void place(sim::LatLon at, double alt_ft, double heading = 0, bool on_ground = false) {
        sim::Placement p;
        p.lat = at.lat, p.lon = at.lon, p.altitude_ft = alt_ft, p.ias_kt = on_ground ? 0 : 180;
        p.heading_deg = heading, p.on_ground = on_ground;
        a.place(p);
        a.publish(out);
    }
    void tune(sim::RadioKnob knob, double value) {
        sim::RadioTuning t = a.state().radios;
        ASSERT_TRUE(sim::set_knob(t, knob, value));
        a.tune(t);
        a.publish(out);
    }
    int flags(int token) { return static_cast<int>(out.values[token]); }
};

// A point on the 28R approach: d NM from the localizer antenna, off degrees left of the centre line.
sim::LatLon on_final(double d, double off = 0) { return sim::travel(kIgwq, 297.903 - 180 + off, d); }
// The glide path's height over a point, and that height raised by deg degrees.
double glide_path_ft(sim::LatLon p, double deg = 0) {
    return kField + std::tan((3.0 + deg) * sim::degrees_to_radians) * sim::distance_nm(p, kIgwqGlideSlope) * sim::feet_per_nm;
}

}  // namespace

TEST(Radios, TheIlsOnItsApproachWithGlideSlopeAndDme) {
    Radios r;
    r.place(on_final(8), glide_path_ft(on_final(8)), 298);
    r.tune(sim::RadioKnob::nav1, 111.70);
    EXPECT_EQ(r.out.texts[47], "IGWQ") << "not the Los Angeles localizers on the same channel";
    EXPECT_EQ(r.flags(46), 0x81) << "DME and ILS, a station received";
    EXPECT_EQ(r.flags(24), 0x1170);
    EXPECT_NEAR(r.out.values[token::nav1_deviation], 0, 0.5);
    EXPECT_EQ(r.out.values[token::glide_slope_available], 1.0);
    EXPECT_NEAR(r.out.values[token::glide_slope_deviation], 0, 0.5);
    EXPECT_EQ(r.flags(42), 1) << "a localizer is always TO";
    const double ground = sim::distance_nm(on_final(8), kIgwqDme);
    const double height = (glide_path_ft(on_final(8)) - 17) / sim::feet_per_nm;
    EXPECT_NEAR(r.out.values[token::dme1_distance], std::sqrt(ground * ground + height * height), 1e-6) << "slant range";

    // Half a degree left of the centre line the course lies to the right: 0.5 of 2.5 degrees full scale.
    r.place(on_final(8, 0.5), glide_path_ft(on_final(8, 0.5), 0.35), 298);
    EXPECT_NEAR(r.out.values[token::nav1_deviation], 127 * 0.5 / 2.5, 0.5);
    EXPECT_NEAR(r.out.values[token::glide_slope_deviation], 63.5, 0.5) << "0.35 degree above the beam: half scale, positive";
    r.place(on_final(8, -3), glide_path_ft(on_final(8, -3), -1), 298);
    EXPECT_EQ(r.out.values[token::nav1_deviation], -127.0) << "beyond full scale the needle stops";
    EXPECT_LT(r.out.values[token::glide_slope_deviation], -100.0) << "below the beam: negative";

    // Outside the glide slope's 10 NM and its sector the localizer still guides.
    r.place(on_final(16), 4500, 298);
    EXPECT_EQ(r.out.texts[47], "IGWQ");
    EXPECT_EQ(r.out.values[token::glide_slope_available], 0.0);
    EXPECT_EQ(r.out.values[token::glide_slope_deviation], 0.0);
}

TEST(Radios, ALocalizerIsHeardOnlyInItsFrontSector) {
    Radios r;
    r.tune(sim::RadioKnob::nav1, 111.70);
    // West of the field, behind the localizer: the 28R localizer faces the other way.
    r.place(sim::travel(kIgwq, 297.9, 6), 3000, 118);
    EXPECT_EQ(r.out.texts[47], "");
    EXPECT_EQ(r.flags(46) & 0x08, 0x08) << "no station";
    EXPECT_EQ(r.flags(46) & 0x80, 0x80) << "still an ILS channel";
    EXPECT_EQ(r.flags(46) & 0x01, 0x01) << "the DME on the channel answers from every side";
    EXPECT_EQ(r.out.values[token::glide_slope_available], 0.0);
    // Abeam, 60 degrees off the course: not in the sector either.
    r.place(on_final(5, 60), 3000, 298);
    EXPECT_EQ(r.out.texts[47], "");
}

TEST(Radios, VorRadialsToAndFromAndTheStationsRange) {
    Radios r;
    r.tune(sim::RadioKnob::nav2, 115.80);
    r.tune(sim::RadioKnob::nav1, 115.80);
    // 20 NM out on the 150 radial (magnetic; true 167 with 17 degrees east).
    r.place(sim::travel(kSfo, 167, 20), 10000, 347);
    EXPECT_EQ(r.out.texts[47], "SFO") << "not Camarillo on the same frequency, out of its range";
    EXPECT_EQ(r.flags(46), 0x01) << "a VOR with its DME";
    r.tune(sim::RadioKnob::course1, 150);
    EXPECT_EQ(r.flags(42), 4) << "FROM";
    EXPECT_NEAR(r.out.values[token::nav1_deviation], 0, 0.5);
    r.tune(sim::RadioKnob::course1, 330);
    EXPECT_EQ(r.flags(42), 1) << "TO";
    EXPECT_NEAR(r.out.values[token::nav1_deviation], 0, 0.5);
    // Course 155 outbound with the aircraft on 150: left of the course, which lies to the right.
    r.tune(sim::RadioKnob::course1, 155);
    EXPECT_NEAR(r.out.values[token::nav1_deviation], 127 * 5 / 10.0, 1.0);
    r.tune(sim::RadioKnob::course1, 335);
    EXPECT_NEAR(r.out.values[token::nav1_deviation], -127 * 5 / 10.0, 1.0) << "inbound on 335 the same spot is right of course";
    EXPECT_NEAR(r.out.values[token::vor2_bearing], 0, 0.5) << "VOR2 needle: the station dead ahead";
    EXPECT_EQ(r.out.texts[56], "SFO");
    EXPECT_EQ(r.out.values[token::dme2_valid], 1.0);
    EXPECT_NEAR(r.out.values[token::dme2_distance], r.out.values[token::dme1_distance], 1e-9);

    r.place(sim::travel(kSfo, 167, 45), 30000, 347);
    EXPECT_EQ(r.out.texts[47], "") << "beyond the 40 NM the data gives";
    EXPECT_EQ(r.flags(46), 0x08);
    EXPECT_EQ(r.flags(42), 0);
    EXPECT_EQ(r.out.values[token::dme1_distance], 0.0);
    EXPECT_EQ(r.out.values[token::dme2_valid], 0.0);
    // Within range but below the radio horizon: on the ground 30 NM away.
    r.place(sim::travel(kSfo, 167, 30), 0, 347, true);
    EXPECT_EQ(r.out.texts[47], "");
    r.place(sim::travel(kSfo, 167, 30), 3000, 347);
    EXPECT_EQ(r.out.texts[47], "SFO");
    // Overhead, within the cone of silence: the deviation gate closes.
    r.place(sim::travel(kSfo, 167, 0.5), 12000, 347);
    EXPECT_EQ(r.out.values[token::nav1_deviation_gate], 30000.0);
    EXPECT_EQ(r.flags(42), 0);
}

TEST(Radios, DmeSpeedFollowsTheRangeRate) {
    Radios r;
    r.tune(sim::RadioKnob::nav1, 115.80);
    r.place(sim::travel(kSfo, 167, 30), 10000, 347);
    EXPECT_EQ(r.out.values[token::dme1_speed], 0.0) << "a new station's speed starts at 0";
    fly(r.a, 5);
    r.a.publish(r.out);
    const double before = r.out.values[token::dme1_distance];
    fly(r.a, 10);
    r.a.publish(r.out);
    const double rate = (before - r.out.values[token::dme1_distance]) / 10 * 3600;
    EXPECT_GT(rate, 200.0);
    EXPECT_NEAR(r.out.values[token::dme1_speed], rate, rate * 0.02);
}

TEST(Radios, AdfBearingRangeAndMarkers) {
    Radios r;
    r.tune(sim::RadioKnob::adf, 374);
    const sim::LatLon south = sim::travel(kReiga, 180, 30);
    r.place(south, 5000, 90);
    EXPECT_EQ(r.out.values[token::adf_active], 1.0);
    EXPECT_EQ(r.out.texts[19], "LV");
    EXPECT_NEAR(r.out.values[token::adf_bearing], 270.0, 0.5) << "station to the north, heading east: on the left";
    r.place(sim::travel(kReiga, 180, 55), 5000, 90);
    EXPECT_EQ(r.out.values[token::adf_active], 0.0) << "beyond its 50 NM";
    EXPECT_EQ(r.out.texts[19], "");

    r.place(kOuterMarker28L, 1800, 298);
    EXPECT_EQ(r.out.values[token::marker], 1.0);
    r.place(sim::travel(kOuterMarker28L, 118, 0.2), 1800, 298);
    EXPECT_EQ(r.out.values[token::marker], 1.0) << "inside the cone: 0.2 NM at 1800 ft above it";
    r.place(sim::travel(kOuterMarker28L, 118, 0.5), 1800, 298);
    EXPECT_EQ(r.out.values[token::marker], 0.0);
    r.place(kOuterMarker28L, 6000, 298);
    EXPECT_EQ(r.out.values[token::marker], 0.0) << "too high to hear it";
    r.place(kMiddleMarker28R, 250, 298);
    EXPECT_EQ(r.out.values[token::marker], 2.0);
}

TEST(Radios, KnobsWrapInTheirBandsAndRefuseWhatIsOutside) {
    sim::RadioTuning t;
    ASSERT_TRUE(sim::set_knob(t, sim::RadioKnob::nav1, 117.95));
    sim::turn_knob(t, sim::RadioKnob::nav1, 1, false);
    EXPECT_EQ(t.nav_channel[0], 10800);
    sim::turn_knob(t, sim::RadioKnob::nav1, -1, true);
    EXPECT_EQ(t.nav_channel[0], 11700);
    ASSERT_TRUE(sim::set_knob(t, sim::RadioKnob::nav2, 109.549));
    EXPECT_EQ(t.nav_channel[1], 10955) << "to the 50 kHz raster";
    sim::turn_knob(t, sim::RadioKnob::course2, -1, false);
    EXPECT_EQ(t.course_deg[1], 359.0);
    ASSERT_TRUE(sim::set_knob(t, sim::RadioKnob::adf, 1750));
    sim::turn_knob(t, sim::RadioKnob::adf, 1, false);
    EXPECT_EQ(t.adf_khz, 190);
    const sim::RadioTuning before = t;
    EXPECT_FALSE(sim::set_knob(t, sim::RadioKnob::nav1, 118.0));
    EXPECT_FALSE(sim::set_knob(t, sim::RadioKnob::nav1, 107.95));
    EXPECT_FALSE(sim::set_knob(t, sim::RadioKnob::adf, 100));
    EXPECT_FALSE(sim::set_knob(t, sim::RadioKnob::course1, std::nan("")));
    EXPECT_EQ(t.nav_channel, before.nav_channel);
    EXPECT_EQ(t.adf_khz, before.adf_khz);
    EXPECT_EQ(sim::nav_frequency_bcd(110.90), 0x1090);
    EXPECT_TRUE(sim::is_localizer_channel(10810));
    EXPECT_FALSE(sim::is_localizer_channel(10800));
    EXPECT_FALSE(sim::is_localizer_channel(11210)) << "above 111.95 every channel is a VOR's";
}

TEST(Radios, WithoutWorldDataNothingIsHeard) {
    sim::Aircraft a;
    a.log = nullptr;
    MapSink out;
    a.publish(out);
    EXPECT_EQ(static_cast<int>(out.values[token::nav1_flags]), 0x08);
    EXPECT_EQ(static_cast<int>(out.values[token::nav2_flags]), 0x08);
    EXPECT_EQ(out.texts[47], "");
    EXPECT_EQ(out.values[token::adf_active], 0.0);
    EXPECT_EQ(out.values[token::marker], 0.0);
}

TEST(Radios, EveryGlidePathCrossesTheLandingThresholdFiftyFeetUp) {
    // Whatever elevation the data gives the antenna (Denver 16R's lies 114 ft below the field) and
    // wherever the landing threshold is displaced to: the beam's centre, 2 NM before the threshold,
    // is 50 ft plus the slope's climb over 2 NM above the field.
    const auto shipped = simtest::shipped_world();
    ASSERT_TRUE(shipped);
    struct Landing {
        simtest::Runway runway;
        double displaced_m;  // as apt.dat gives it
        double glide_deg;    // as nav.dat gives it
    };
    const Landing landings[] = {
        {{"KSFO", "28R", 111.70}, 0, 3.0},      {{"KDEN", "16R", 111.90}, 0, 3.0},
        {{"KSEA", "16R", 110.75}, 0, 3.0},      {{"KJFK", "31R", 111.50}, 313.94, 3.0},
        {{"EGLL", "09L", 110.30}, 306.02, 3.0}, {{"MMMX", "05R", 109.10}, 455.07, 3.0},
        {{"SBGR", "09L", 110.70}, 150.88, 2.97}, {{"VHHH", "07R", 109.30}, 160.02, 3.0},
        {{"YSSY", "16R", 109.50}, 85.04, 3.0},  {{"KLAX", "25R", 109.90}, 292.0, 3.0},
    };
    for (const Landing& l : landings) {
        const simtest::Runway& r = l.runway;
        SCOPED_TRACE(r.airport + " " + r.designator);
        const sim::RunwayEnd* rwy = shipped->runway(r.airport, r.designator);
        ASSERT_TRUE(rwy);
        const double heading = rwy->heading_deg();
        const sim::LatLon threshold = sim::travel(rwy->threshold, heading, l.displaced_m / sim::metres_per_nm);
        const sim::LatLon before = sim::travel(threshold, heading + 180.0, 2.0);
        const double angle = l.glide_deg * sim::degrees_to_radians;
        sim::Aircraft a;
        a.log = nullptr;
        a.use_world(shipped);
        sim::RadioTuning t = a.state().radios;
        ASSERT_TRUE(sim::set_knob(t, sim::RadioKnob::nav1, r.localizer_mhz));
        a.tune(t);
        sim::Placement p;
        p.lat = before.lat, p.lon = before.lon, p.on_ground = false, p.ias_kt = 150, p.heading_deg = heading;
        p.altitude_ft = rwy->elevation_ft + 50.0 + std::tan(angle) * 2.0 * sim::feet_per_nm;
        a.place(p);
        const sim::NavReception& nav = a.state().reception.nav[0];
        ASSERT_TRUE(nav.glide_slope);
        EXPECT_NEAR(nav.glide_deviation, 0.0, 3.0) << "within 4 ft";
        EXPECT_TRUE(nav.localizer_glide_slope);
        EXPECT_TRUE(nav.localizer_on_runway_axis);
    }
}

TEST(Radios, ALocalizerKnowsItsGlideSlopeAndWhetherItLiesAlongItsRunway) {
    const auto shipped = simtest::shipped_world();
    ASSERT_TRUE(shipped);
    struct Aid {
        simtest::Runway runway;
        bool glide_slope, along;
    };
    for (const Aid& aid : {Aid{{"KSFO", "28R", 111.70}, true, true}, Aid{{"KSAN", "27", 110.90}, false, true},
                           Aid{{"KSFO", "28R", 110.75}, true, false}, Aid{{"KDCA", "19", 109.90}, true, false}}) {
        SCOPED_TRACE(aid.runway.airport + " " + std::to_string(aid.runway.localizer_mhz));
        simtest::EntryPoint e;
        e.height_ft = 2000;
        const auto start = simtest::start_of(*shipped, aid.runway, e);
        ASSERT_TRUE(start);
        EXPECT_EQ(start->localizer->with_glide_slope, aid.glide_slope);
        EXPECT_EQ(start->localizer->on_runway_axis, aid.along);
    }
}
