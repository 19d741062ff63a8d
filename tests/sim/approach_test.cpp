// The approach mode and the automatic landing, closed loop, the aircraft alone over the shipped
// world data, at the runways and entries of approach_cases.h. Every one must capture the localizer
// and the glide slope, never go below the altitude it was given without the glide slope, and land
// in the touchdown zone on the centre line to a stop on the runway.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

#include "approach_cases.h"
#include "approach_flight.h"
#include "sim/approach.h"

using namespace simtest;

namespace {

class ApproachAt : public testing::TestWithParam<Case> {};

TEST_P(ApproachAt, LandsOnTheRunway) {
    const Case& c = GetParam();
    const Entry e = c.flown();
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

std::string name_of(const testing::TestParamInfo<Case>& info) { return case_name(info.param); }

INSTANTIATE_TEST_SUITE_P(Runways, ApproachAt, testing::ValuesIn(cases()), name_of);

}  // namespace
