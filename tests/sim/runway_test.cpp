// Runways of the shipped world data: their landing thresholds, displaced or not, their pavement, and
// the runway each ILS localizer serves.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "shipped_world.h"
#include "sim/runway.h"
#include "sim/units.h"
#include "sim/world.h"
#include "worlddata/data_file.h"
#include "worlddata/xplane.h"

namespace {

const std::string kNavdata = std::string(PANEL_SOURCE_DIR) + "/data/navdata";

struct Displaced {
    const char *airport, *runway;
    double displaced_m, width_m;
};

// Several continents, displaced and not; the apt.dat values.
constexpr Displaced kRunways[] = {
    {"KJFK", "13R", 794.01, 46.02}, {"KJFK", "31L", 1011.02, 46.02}, {"KLAX", "25R", 292.00, 46.02},
    {"KLAX", "24R", 0, 46.02},      {"EGLL", "09L", 306.02, 49.99},  {"YSSY", "16R", 85.04, 45.11},
    {"NZAA", "05R", 387.10, 46.33}, {"KSFO", "28R", 0, 60.96},       {"LOWI", "08", 103.02, 45.11},
    {"EHAM", "18L", 566.01, 49.99}, {"KDEN", "16R", 0, 60.96},       {"LFPG", "27L", 600.15, 45.11},
};

TEST(Runways, LandingThresholdsLieTheirDisplacementDownTheRunway) {
    auto world = shipped_world();
    ASSERT_TRUE(world);
    for (const Displaced& d : kRunways) {
        SCOPED_TRACE(std::string(d.airport) + " " + d.runway);
        const sim::RunwayEnd* r = world->runway(d.airport, d.runway);
        ASSERT_TRUE(r);
        EXPECT_NEAR(r->displaced_threshold_ft, d.displaced_m * sim::feet_per_metre, 0.01);
        EXPECT_NEAR(r->width_ft, d.width_m * sim::feet_per_metre, 0.01);
        EXPECT_NEAR(r->landing_distance_ft(), r->length_ft() - r->displaced_threshold_ft, 1e-6);
        const sim::LatLon landing = r->landing_threshold();
        EXPECT_NEAR(sim::distance_nm(r->threshold, landing) * sim::feet_per_nm, r->displaced_threshold_ft, 1.0);
        const sim::RunwayPosition at = sim::runway_position(*r, landing);
        EXPECT_NEAR(at.past_threshold_ft, r->displaced_threshold_ft, 1.0);
        EXPECT_NEAR(at.past_landing_threshold_ft, 0.0, 1.0);
        EXPECT_NEAR(at.right_of_centre_ft, 0.0, 1.0);
        const sim::LatLon beyond = sim::travel(landing, r->heading_deg(), 1000.0 / sim::feet_per_nm);
        EXPECT_NEAR(sim::runway_position(*r, beyond).past_landing_threshold_ft, 1000.0, 1.0);
    }
}

TEST(Runways, ThePavementIsTheRunwaysOwnWidthAndLength) {
    auto world = shipped_world();
    ASSERT_TRUE(world);
    for (const Displaced& d : kRunways) {
        SCOPED_TRACE(std::string(d.airport) + " " + d.runway);
        const sim::RunwayEnd& r = *world->runway(d.airport, d.runway);
        const double course = r.heading_deg();
        const sim::LatLon middle = sim::between(r.threshold, r.far_end, 0.5);
        auto across = [&](double right_ft) { return sim::travel(middle, course + 90.0, right_ft / sim::feet_per_nm); };
        EXPECT_TRUE(sim::on_pavement(r, middle));
        EXPECT_TRUE(sim::on_pavement(r, across(r.width_ft / 2 - 5)));
        EXPECT_TRUE(sim::on_pavement(r, across(-r.width_ft / 2 + 5)));
        EXPECT_FALSE(sim::on_pavement(r, across(r.width_ft / 2 + 5)));
        EXPECT_FALSE(sim::on_pavement(r, across(-r.width_ft / 2 - 5)));
        EXPECT_FALSE(sim::on_pavement(r, sim::travel(r.threshold, course + 180.0, 50.0 / sim::feet_per_nm)));
        EXPECT_FALSE(sim::on_pavement(r, sim::travel(r.far_end, course, 50.0 / sim::feet_per_nm)));
    }
}

// Every ILS localizer of the data, from its antenna and course, leads to the runway its row names.
TEST(Runways, EveryIlsLocalizerLeadsToItsOwnRunway) {
    auto world = shipped_world();
    ASSERT_TRUE(world);
    auto nav = worlddata::read_data_file(worlddata::find_data_file(kNavdata, "nav.dat"));
    ASSERT_TRUE(nav) << nav.error();
    int ils = 0, found = 0, wrong = 0;
    for (const worlddata::Navaid& n : worlddata::parse_nav(*nav, 810)) {
        if (n.kind != worlddata::Navaid::localizer || n.name.find("ILS") == std::string::npos) continue;
        if (!world->runway(n.airport, n.runway)) continue;  // a runway the airport file does not hold
        ++ils;
        const sim::RunwayEnd* r = world->runway_of_localizer({n.lat, n.lon}, n.course);
        if (!r) continue;
        ++found;
        // A few rows of the data give a localizer the course of the runway's other end.
        if (r->airport != n.airport || r->designator != n.runway) {
            ++wrong;
            std::printf("%s of %s %s (course %.0f) leads to %s %s\n", n.ident.c_str(), n.airport.c_str(), n.runway.c_str(),
                        n.course, r->airport.c_str(), r->designator.c_str());
        }
    }
    std::printf("%d ILS localizers: %d lead to a runway, %d of them to another than their own\n", ils, found, wrong);
    EXPECT_GT(ils, 1000);
    EXPECT_GE(found, ils * 97 / 100);
    EXPECT_LE(wrong, ils / 200);
}

}  // namespace
