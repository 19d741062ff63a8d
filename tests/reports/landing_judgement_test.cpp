// The verdict on touchdowns and the roll after them, over runways of the shipped world data on
// several continents, displaced thresholds and short runways among them, and a sample of all.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "reports/landing_judgement.h"
#include "shipped_world.h"
#include "sim/units.h"

namespace {

const char* const kNamed[][2] = {
    {"KSFO", "28R"}, {"KLAX", "25R"}, {"KJFK", "13R"}, {"KJFK", "31L"}, {"EGLL", "09L"}, {"EGLL", "27L"},
    {"EDDF", "25C"}, {"KDEN", "16R"}, {"KSEA", "16L"}, {"YSSY", "16R"}, {"NZAA", "05R"}, {"RJTT", "34L"},
    {"LOWI", "08"},  {"EHAM", "18L"}, {"LFPG", "26R"}, {"KBOS", "04R"},
};

// The named runways and every 400th paved runway end of the world at least 5,000 ft long that
// lies clear of any other (crossing runways would take a touchdown beside one as on the other).
std::vector<const sim::RunwayEnd*> runways(const sim::World& world) {
    std::vector<const sim::RunwayEnd*> out;
    for (const auto& n : kNamed)
        if (const sim::RunwayEnd* r = world.runway(n[0], n[1])) out.push_back(r);
    EXPECT_EQ(out.size(), std::size(kNamed));
    for (std::size_t i = 0; i < world.runways().size(); i += 400) {
        const sim::RunwayEnd& r = world.runways()[i];
        if (r.landing_distance_ft() >= 5000) out.push_back(&r);
    }
    return out;
}

sim::Touchdown touchdown_at(const sim::RunwayEnd& r, double past_landing_threshold_ft, double right_ft = 0,
                            double sink_fpm = 200) {
    const double course = r.heading_deg();
    sim::LatLon p = sim::travel(r.landing_threshold(), past_landing_threshold_ft >= 0 ? course : course + 180.0,
                                std::fabs(past_landing_threshold_ft) / sim::feet_per_nm);
    if (right_ft != 0) p = sim::travel(p, right_ft > 0 ? course + 90.0 : course - 90.0, std::fabs(right_ft) / sim::feet_per_nm);
    sim::Touchdown t;
    t.t = 100;
    t.position = p;
    t.true_heading_deg = course;
    t.sink_fpm = sink_fpm;
    t.ias_kt = t.ground_speed_kt = 140;
    return t;
}

std::string name(const sim::RunwayEnd& r) { return r.airport + " " + r.designator; }

bool says(const reports::TouchdownVerdict& v, const std::string& words) {
    return v.crash && v.crash->find(words) != std::string::npos;
}

TEST(LandingJudgement, TheTouchdownZoneIsThreeThousandFeetOrAThirdOfAShortRunway) {
    sim::RunwayEnd r{"TEST", "09", {0, 0}, sim::travel({0, 0}, 90, 12000 / sim::feet_per_nm), 0};
    EXPECT_NEAR(reports::touchdown_zone_length_ft(r), 3000, 1e-9);
    r.displaced_threshold_ft = 4500;  // 7,500 ft to land on
    EXPECT_NEAR(reports::touchdown_zone_length_ft(r), 2500, 1.0);
    r.far_end = sim::travel({0, 0}, 90, 9000 / sim::feet_per_nm);
    r.displaced_threshold_ft = 0;
    EXPECT_NEAR(reports::touchdown_zone_length_ft(r), 3000, 1.0);
}

TEST(LandingJudgement, GoodTouchdownsInTheZoneEndNothing) {
    auto world = shipped_world();
    ASSERT_TRUE(world);
    for (const sim::RunwayEnd* r : runways(*world)) {
        SCOPED_TRACE(name(*r));
        const double zone = reports::touchdown_zone_length_ft(*r);
        for (double past : {1.0, 1000.0, zone, 2 * zone - 10})
            for (double right : {0.0, r->width_ft / 2 - 10, -(r->width_ft / 2 - 10)}) {
                const reports::TouchdownVerdict v = reports::judge_touchdown(*world, touchdown_at(*r, past, right), true);
                EXPECT_EQ(v.runway, r) << past << " ft, " << right << " ft right";
                EXPECT_FALSE(v.crash) << past << " ft, " << right << " ft right: " << v.crash.value_or("");
                EXPECT_FALSE(v.hard);
            }
        const reports::TouchdownVerdict firm = reports::judge_touchdown(*world, touchdown_at(*r, 1200, 0, 650), true);
        EXPECT_FALSE(firm.crash);
        EXPECT_TRUE(firm.hard) << "above 600 ft/min";
    }
}

TEST(LandingJudgement, TouchdownsOutsideTheZoneOffThePavementTooHardOrGearUpAreCrashes) {
    auto world = shipped_world();
    ASSERT_TRUE(world);
    for (const sim::RunwayEnd* r : runways(*world)) {
        SCOPED_TRACE(name(*r));
        const double zone = reports::touchdown_zone_length_ft(*r);
        auto judge = [&](double past, double right = 0, double sink = 200, bool gear = true) {
            return reports::judge_touchdown(*world, touchdown_at(*r, past, right, sink), gear);
        };
        const auto long_one = judge(2 * zone + 50);
        EXPECT_TRUE(says(long_one, "past " + name(*r) + "'s landing threshold, far beyond its")) << long_one.crash.value_or("none");
        EXPECT_TRUE(says(judge(1200, 0, 760), "harder than the landing gear holds"));
        EXPECT_TRUE(says(judge(1200, 0, 200, false), "with the gear not down"));
        EXPECT_TRUE(says(judge(1200, r->width_ft / 2 + 20), "touched down beside " + name(*r)));
        EXPECT_TRUE(says(judge(1200, -(r->width_ft / 2 + 20)), "left of its centre line"));
        if (r->displaced_threshold_ft > 200) {
            EXPECT_TRUE(says(judge(-100), "100 ft short of " + name(*r) + "'s landing threshold")) << "on the displaced part";
        }
        // Short of the pavement, on the extended centre line: how far short of which runway.
        const auto short_one = judge(-2.5 * sim::feet_per_nm);
        EXPECT_FALSE(short_one.runway);
        EXPECT_TRUE(says(short_one, "2.5 NM short of " + name(*r) + "'s landing threshold")) << short_one.crash.value_or("none");
        if (r->displaced_threshold_ft == 0) {
            const auto near_one = judge(-300);
            EXPECT_FALSE(near_one.runway);
            EXPECT_TRUE(says(near_one, "300 ft short of " + name(*r))) << near_one.crash.value_or("none");
        }
    }
}

TEST(LandingJudgement, FarFromAnyRunwayIsOffAnyRunway) {
    auto world = shipped_world();
    ASSERT_TRUE(world);
    sim::Touchdown t;
    t.position = {36.5, -121.0};  // open country south of San Francisco
    t.true_heading_deg = 120;
    t.sink_fpm = 100;
    const reports::TouchdownVerdict v = reports::judge_touchdown(*world, t, true);
    EXPECT_FALSE(v.runway);
    ASSERT_TRUE(v.crash);
    EXPECT_EQ(*v.crash, "touched down off any runway");
}

TEST(LandingJudgement, RollingOffThePavementIsACrash) {
    auto world = shipped_world();
    ASSERT_TRUE(world);
    for (const sim::RunwayEnd* r : runways(*world)) {
        SCOPED_TRACE(name(*r));
        const double course = r->heading_deg();
        EXPECT_FALSE(reports::judge_roll(*r, sim::between(r->threshold, r->far_end, 0.7), 60));
        const auto end = reports::judge_roll(*r, sim::travel(r->far_end, course, 30 / sim::feet_per_nm), 25);
        ASSERT_TRUE(end);
        EXPECT_EQ(*end, "ran off the end of " + name(*r) + " at 25 kt");
        const sim::LatLon middle = sim::between(r->threshold, r->far_end, 0.5);
        const auto side = reports::judge_roll(*r, sim::travel(middle, course - 90, (r->width_ft / 2 + 10) / sim::feet_per_nm), 80);
        ASSERT_TRUE(side);
        EXPECT_NE(side->find("ran off " + name(*r) + " at 80 kt"), std::string::npos) << *side;
        EXPECT_NE(side->find("left of its centre line"), std::string::npos) << *side;
    }
}

}  // namespace
