// Engines and fuel, gear and flaps, the world's variation and elevation, the published tokens, and
// repeatability.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "host/key_events.h"
#include "host/tokens.h"
#include "sim/aero.h"
#include "sim/engines.h"
#include "sim/systems.h"
#include "sim/units.h"
#include "sim/world.h"
#include "sim_test_util.h"

namespace event = gauge::event;
namespace token = gauge::token;

using namespace simtest;

TEST(Engines, N1FollowsTheThrottleWithALagAndFuelBurns) {
    sim::Aircraft a = airborne(10000, 250);
    a.state().controls.throttle.fill(0);
    fly(a, 20);
    const double idle_n1 = a.state().engines[0].n1;
    EXPECT_NEAR(idle_n1, sim::idle_n1, 0.5);
    const double fuel = sim::fuel_total_lb(a.state());
    send(a, event::engine1_climb_thrust), send(a, event::engine2_climb_thrust);
    fly(a, 1);
    EXPECT_GT(a.state().engines[0].n1, idle_n1 + 5);
    EXPECT_LT(a.state().engines[0].n1, 80.0) << "spools, does not jump";
    fly(a, 15);
    const sim::Engine& e = a.state().engines[0];
    EXPECT_NEAR(e.n1, sim::idle_n1 + sim::climb_thrust * (sim::full_n1 - sim::idle_n1), 0.5);
    EXPECT_GT(e.epr, 1.8);
    EXPECT_GT(e.egt_rankine, 1100.0);
    EXPECT_GT(e.fuel_flow_pph, 3000.0);
    EXPECT_GT(e.n2, 90.0);
    const double burnt = fuel - sim::fuel_total_lb(a.state());
    EXPECT_GT(burnt, 10.0);
    EXPECT_LT(burnt, 60.0);
    EXPECT_LT(a.state().fuel_lb[1], 12000.0) << "the centre tank feeds first";
    EXPECT_EQ(a.state().fuel_lb[0], 9000.0);
    simtest::MapSink sink;
    a.publish(sink);
    EXPECT_NEAR(sink.values[token::centre_tank] * sim::pounds_per_gallon, a.state().fuel_lb[1], 1e-9);
    EXPECT_DOUBLE_EQ(sink.values[token::engine1_n1], e.n1);
    EXPECT_DOUBLE_EQ(sink.values[token::engine1_epr], e.epr);
}

TEST(Engines, EnginesRunDownWithoutFuel) {
    sim::Aircraft a = airborne(10000, 250);
    a.state().fuel_lb = {0.5, 0, 0.5};
    fly(a, 30);
    EXPECT_EQ(sim::fuel_total_lb(a.state()), 0.0);
    EXPECT_LT(a.state().engines[0].n1, 1.0);
    EXPECT_EQ(a.state().engines[0].fuel_flow_pph, 0.0);
}

TEST(Systems, GearAndFlapsFollowTheirLevers) {
    sim::Aircraft a = airborne(3000, 200);
    send(a, event::gear_toggle);  // the gear panel's click: lever down from up
    EXPECT_TRUE(a.state().controls.gear_down);
    fly(a, sim::gear_travel_s / 2);
    simtest::MapSink sink;
    a.publish(sink);
    EXPECT_EQ(sink.values[token::gear_lever], 16383.0);
    EXPECT_NEAR(sink.values[token::nose_gear], 16383.0 / 2, 300.0) << "halfway";
    fly(a, sim::gear_travel_s);
    a.publish(sink);
    EXPECT_EQ(sink.values[token::nose_gear], 16383.0);
    EXPECT_EQ(sink.values[token::right_gear], 16383.0);
    a.state().controls.flaps = 1.0;
    fly(a, sim::flap_travel_s / 3);
    a.publish(sink);
    EXPECT_NEAR(sink.values[token::flap_handle], 16383.0 / 3, 300.0);
}

TEST(World, VariationOfTheNearestVorAndElevationOfTheNearestAirport) {
    std::string why;
    auto world = sim::World::load_shared(data_dir(), &why);
    ASSERT_TRUE(world) << why;
    EXPECT_GT(world->vor_count(), 5u);
    EXPECT_EQ(world->field_count(), 3u) << "KSFO, KLAX, KSNS; the heliport and the broken one are left out";
    sim::Aircraft a;
    a.log = nullptr;
    a.use_world(world);
    sim::Placement p;
    p.lat = 34.52, p.lon = -119.78, p.altitude_ft = 9000, p.ias_kt = 250, p.heading_deg = 100, p.on_ground = false;
    a.place(p);  // over San Marcus VOR, 14 degrees east
    simtest::MapSink sink;
    a.publish(sink);
    EXPECT_EQ(sink.values[token::magnetic_variation], 14.0);
    EXPECT_DOUBLE_EQ(sink.values[token::magnetic_heading], 86.0) << "magnetic = true - variation";
    EXPECT_DOUBLE_EQ(sink.values[token::magnetic_heading] - sink.values[token::true_heading], -sink.values[token::magnetic_variation]);
    EXPECT_NEAR(sink.values[token::ground_elevation] / 256.0 * sim::feet_per_metre, 126.0, 1e-6) << "KLAX is nearest";
    p.lat = 37.62, p.lon = -122.37;  // over San Francisco VOR, 17 degrees east
    a.place(p);
    a.publish(sink);
    EXPECT_EQ(sink.values[token::magnetic_variation], 17.0);
    EXPECT_NEAR(sink.values[token::ground_elevation] / 256.0 * sim::feet_per_metre, 13.0, 1e-6);
}

// The runway nearest p as a look at every runway finds it, by the flat-earth distance from the
// nearest point between its ends (its threshold alone when longer than 0.1 degree); the first of
// equally near ones.
double elevation_by_every_runway(const std::vector<sim::RunwayEnd>& runways, sim::LatLon p) {
    double best_rank = 0, elevation = 0;
    bool found = false;
    for (const sim::RunwayEnd& r : runways) {
        const double k = std::cos(p.lat * sim::degrees_to_radians);
        const double ax = sim::wrap_180(r.threshold.lon - p.lon) * k, ay = r.threshold.lat - p.lat;
        const double dx = sim::wrap_180(r.far_end.lon - p.lon) * k - ax, dy = r.far_end.lat - p.lat - ay;
        const double length2 = dx * dx + dy * dy;
        const double f = length2 > 0 && length2 < 0.01 ? std::clamp(-(ax * dx + ay * dy) / length2, 0.0, 1.0) : 0.0;
        const double rank = (ax + f * dx) * (ax + f * dx) + (ay + f * dy) * (ay + f * dy);
        if (!found || rank < best_rank) found = true, best_rank = rank, elevation = r.elevation_ft;
    }
    return elevation;
}

// Airports of a few runways each in every latitude, runways listed twice (the first counts), a
// damaged row reaching across a degree, points on, near and far from the runways, across the
// date line and near the poles: the elevation is always that of the runway a look at every one
// finds nearest.
TEST(World, ElevationOfTheNearestRunwayAsAmongEveryRunway) {
    std::mt19937 random(5);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::vector<sim::RunwayEnd> runways;
    for (int airport = 0; airport < 400; ++airport) {
        const double lat = -85 + 170 * unit(random), lon = -180 + 360 * unit(random);
        for (int i = 0; i < 3; ++i) {
            sim::RunwayEnd r;
            r.threshold = {lat + 0.03 * (unit(random) - 0.5), lon + 0.03 * (unit(random) - 0.5)};
            const double length = 0.04 * unit(random), heading = 6.3 * unit(random);
            r.far_end = {r.threshold.lat + length * std::cos(heading), r.threshold.lon + length * std::sin(heading)};
            r.elevation_ft = static_cast<double>(runways.size());
            runways.push_back(r);
            if (i == 0 && airport % 7 == 0) {
                r.elevation_ft = -1;  // the same runway again, later in the list
                runways.push_back(r);
            }
        }
    }
    sim::RunwayEnd damaged;
    damaged.threshold = {10.0, 20.0};
    damaged.far_end = {11.5, 20.2};
    damaged.elevation_ft = 99999;
    runways.push_back(damaged);
    const sim::World world({}, {}, {}, runways);
    for (int i = 0; i < 4000; ++i) {
        const sim::RunwayEnd& near = runways[random() % runways.size()];
        const double spread = i % 4 == 0 ? 30.0 : i % 4 == 1 ? 1.0 : 0.01;
        sim::LatLon p{std::clamp(near.threshold.lat + spread * (unit(random) - 0.5), -89.9, 89.9),
                      sim::wrap_180(near.threshold.lon + spread * (unit(random) - 0.5))};
        if (i % 50 == 0) p = near.threshold;
        if (i % 50 == 1) p = {10.9, 20.1};  // along the damaged row, far from its threshold
        ASSERT_EQ(world.elevation_ft_at(p), elevation_by_every_runway(runways, p)) << p.lat << ", " << p.lon;
    }
    EXPECT_EQ(world.elevation_ft_at(runways[0].threshold), 0.0) << "the first of a runway listed twice";
}

TEST(World, MissingFilesAreNamed) {
    auto w = sim::World::load("/nonexistent-folder");
    ASSERT_FALSE(w);
    EXPECT_NE(w.error().find("/nonexistent-folder: no such folder"), std::string::npos) << w.error();
}

TEST(Publish, TokensInTheirReadersUnits) {
    sim::Aircraft a = airborne(10000, 250, 180);
    a.state().vertical_speed_fpm = 1200;
    a.state().bank_deg = 10;
    a.state().pitch_deg = 3;
    simtest::MapSink sink;
    a.publish(sink);
    auto& v = sink.values;
    EXPECT_NEAR(v[71] * 8.998425275576774e-06, 37.0, 1e-9);
    EXPECT_NEAR(v[72] * 1.2789770768341246e-12 - 360.0, -122.0, 1e-9);
    EXPECT_NEAR(v[73] * 3.280839895013123, 10000.0, 1e-6);
    EXPECT_EQ(v[74], 10000.0);
    EXPECT_NEAR(v[65] * 0.780288, 1200.0, 1e-6) << "the flight display's factor shows feet per minute";
    EXPECT_NEAR(v[64] / 20480.0, sim::mach(a.state()), 1e-12);
    EXPECT_EQ(v[80], -10.0) << "right bank is negative";
    EXPECT_EQ(v[78], -3.0) << "nose up is negative";
    EXPECT_EQ(v[335], 0.0) << "English units";
    EXPECT_EQ(v[3], 12.0);
    EXPECT_EQ(v[60], 0.0);
    fly(a, 61.5);
    a.publish(sink);
    EXPECT_EQ(v[4], 1.0);
    EXPECT_EQ(v[5], 1.0) << "the clock runs with simulated time";
}

TEST(Determinism, SameEventsSameFlight) {
    auto flight = [] {
        sim::Aircraft a = airborne(6000, 230, 10);
        send(a, event::ap_master_on), send(a, event::heading_hold_on), send(a, event::autothrottle_arm),
            send(a, event::speed_hold_on);
        for (int i = 0; i < 600; ++i) {
            if (i % 7 == 0) send(a, event::heading_bug_up);
            if (i % 11 == 0) send(a, event::altitude_up), send(a, event::vertical_speed_up);
            a.step(cycle_s);
        }
        return a.state();
    };
    const sim::AircraftState x = flight(), y = flight();
    EXPECT_EQ(x.position.lat, y.position.lat);
    EXPECT_EQ(x.position.lon, y.position.lon);
    EXPECT_EQ(x.altitude_ft, y.altitude_ft);
    EXPECT_EQ(x.true_heading_deg, y.true_heading_deg);
    EXPECT_EQ(x.ias_kt, y.ias_kt);
}
