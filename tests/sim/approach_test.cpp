// The approach mode and the automatic landing, closed loop, at ILS runways of the shipped world data
// on every continent, high fields and displaced thresholds among them: each kind of entry (an
// intercept at 30 degrees, from the side, above the glide slope, on it, slow, fast, from a small
// offset) in calm air, 35 kt across from either side, a 10 kt tailwind and a quartering headwind.
// Every one must capture the localizer and the glide slope, never go below the altitude it was
// given without the glide slope, and land in the touchdown zone on the centre line to a stop on
// the runway.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

#include "approach_flight.h"
#include "sim/approach.h"

using namespace simtest;

namespace {

const std::vector<Runway> kRunways = {
    {"KSFO", "28R", 111.70}, {"KSEA", "16R", 110.75}, {"KDEN", "16R", 111.90},  // Denver: 5,431 ft
    {"KJFK", "31R", 111.50},                                                     // displaced 314 m
    {"EGLL", "09L", 110.30},                                                     // displaced 306 m
    {"EDDF", "25R", 111.35}, {"MMMX", "05R", 109.10},  // Mexico City: 7,316 ft, displaced 455 m
    {"SKBO", "13R", 110.70},                           // Bogota: 8,361 ft
    {"SBGR", "09L", 110.70}, {"VHHH", "07R", 109.30}, {"RJTT", "34R", 108.90},
    {"YSSY", "16R", 109.50},
};

struct NamedEntry {
    const char* name;
    Entry entry;
};

Entry entry(double out_nm, double right_nm, double toward_deg, double height_ft, double ias_kt, double flaps,
            bool gear_down) {
    Entry e;
    e.out_nm = out_nm, e.right_nm = right_nm, e.toward_deg = toward_deg, e.height_ft = height_ft;
    e.ias_kt = ias_kt, e.flaps = flaps, e.gear_down = gear_down;
    return e;
}

std::vector<NamedEntry> entries() {
    std::vector<NamedEntry> list = {
        {"intercept", entry(12, 1.0, 30, 2500, 190, 0.5, true)},
        {"side", entry(12, -2.5, 90, 2500, 200, 0.3, false)},
        {"above", entry(9, 0.3, 20, 0, 180, 0.5, true)},
        {"on_slope", entry(7, 0, 0, 0, 170, 0.75, true)},
        {"slow", entry(11, -0.6, 20, 2000, 150, 1.0, true)},
        {"fast", entry(14, 1.5, 45, 3000, 250, 0, false)},
        {"small_offset", entry(8, 0.2, 0, 2000, 180, 0.5, true)},
    };
    list[2].entry.height_ft.reset(), list[2].entry.dots_above = 1.3;
    list[3].entry.height_ft.reset(), list[3].entry.dots_above = 0;
    list[4].entry.speed_setting_kt = 140;
    return list;
}

struct Wind {
    const char* name;
    double from_deg, kt;  // from the runway's heading
};

const Wind kWinds[] = {{"calm", 0, 0}, {"35kt_right", 90, 35}, {"35kt_left", -90, 35}, {"10kt_tail", 180, 10},
                       {"20kt_quartering", -30, 20}};

struct Case {
    Runway runway;
    NamedEntry entry;
    Wind wind;
};

// Each runway with every entry, the winds taken in turn so that every runway and every entry meets
// each of them.
std::vector<Case> cases() {
    std::vector<Case> list;
    const auto named = entries();
    for (std::size_t r = 0; r < kRunways.size(); ++r)
        for (std::size_t e = 0; e < named.size(); ++e)
            list.push_back({kRunways[r], named[e], kWinds[(r + e) % std::size(kWinds)]});
    return list;
}

void PrintTo(const Case& c, std::ostream* os) { *os << c.runway.airport << ' ' << c.runway.designator << ' ' << c.entry.name << ' ' << c.wind.name; }

class ApproachAt : public testing::TestWithParam<Case> {};

TEST_P(ApproachAt, LandsOnTheRunway) {
    const Case& c = GetParam();
    Entry e = c.entry.entry;
    e.wind_from_deg = c.wind.from_deg, e.wind_kt = c.wind.kt;
    const Flown f = fly_approach(c.runway, e);
    ASSERT_TRUE(f.found);
    std::printf("%s, %s: %s\n", describe(c.runway, e).c_str(), c.wind.name, describe(f).c_str());
    for (const std::string& note : f.notes) std::printf("  said: %s\n", note.c_str());
    EXPECT_TRUE(f.localizer_captured);
    EXPECT_TRUE(f.glide_slope_captured);
    EXPECT_GE(f.lowest_without_glide_slope_ft, std::min(f.start_altitude_ft, f.altitude_setting_ft) - 30.0)
        << "no lower than the altitude it was given without the glide slope";
    ASSERT_TRUE(f.touchdown) << "flown for " << f.seconds << " s";
    EXPECT_GE(f.touchdown_past_threshold_ft, 1000.0);
    EXPECT_LE(f.touchdown_past_threshold_ft, 2500.0);
    // Some localizers of the data lie a few metres off the runway's centre line, or a fraction of a
    // degree across it; a crosswind adds a little drift as the crab comes out.
    EXPECT_LE(std::fabs(f.touchdown_right_m), 8.0);
    EXPECT_GT(f.touchdown->sink_fpm, 60.0);
    EXPECT_LT(f.touchdown->sink_fpm, 360.0);
    EXPECT_GE(f.lowest_height_off_runway_ft, 20.0) << "over the ground before the threshold";
    EXPECT_TRUE(f.stopped);
    EXPECT_TRUE(f.stopped_on_runway);
    EXPECT_TRUE(f.notes.empty()) << f.notes.front();
}

std::string case_name(const testing::TestParamInfo<Case>& info) {
    return info.param.runway.airport + "_" + info.param.runway.designator + "_" + info.param.entry.name + "_" +
           info.param.wind.name;
}

INSTANTIATE_TEST_SUITE_P(Runways, ApproachAt, testing::ValuesIn(cases()), case_name);

}  // namespace
