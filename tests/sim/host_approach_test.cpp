// Approaches through the real host: scenarios that put the aircraft at an entry, tune NAV1, arm the
// approach and wait for the stop, run by the panel host with the flight display loaded. The host's
// verdict, its landing.txt and what the aircraft said are what a user sees.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "approach_cases.h"
#include "host_approach.h"

using namespace simtest;

TEST(HostApproach, LandsFromTheSideAtAHighField) {
    // Denver 16R, whose glide slope antenna the data puts 114 ft below the field.
    Entry e = entries()[1].entry;
    e.wind_from_deg = 90, e.wind_kt = 20;
    const HostFlown f = fly_through_host({"KDEN", "16R", 111.90}, e);
    ASSERT_TRUE(f.found);
    EXPECT_FALSE(f.missed) << *f.missed;
    ASSERT_TRUE(f.touchdown) << f.scenario;
    EXPECT_GE(f.touchdown_past_threshold_ft, 1000.0);
    EXPECT_LE(f.touchdown_past_threshold_ft, 2500.0);
    EXPECT_LE(std::fabs(f.touchdown_right_m), 8.0);
    EXPECT_EQ(f.phase, sim::ApproachPhase::stopped);
    ASSERT_EQ(f.landing_txt.size(), 2u);
    EXPECT_NE(f.landing_txt[0].find("touchdown on KDEN 16R"), std::string::npos) << f.landing_txt[0];
    EXPECT_NE(f.landing_txt[1].find("stopped on KDEN 16R"), std::string::npos) << f.landing_txt[1];
    EXPECT_TRUE(f.notes.empty());
}

TEST(HostApproach, ADisplacedThresholdInATailwind) {
    Entry e = entries()[0].entry;
    e.wind_from_deg = 180, e.wind_kt = 10;
    const HostFlown f = fly_through_host({"EGLL", "09L", 110.30}, e);
    EXPECT_FALSE(f.missed) << *f.missed;
    ASSERT_TRUE(f.touchdown);
    EXPECT_GE(f.touchdown_past_threshold_ft, 1000.0) << "past the landing threshold, 1,004 ft in";
    EXPECT_LE(f.touchdown_past_threshold_ft, 2500.0);
    EXPECT_EQ(f.phase, sim::ApproachPhase::stopped);
}

TEST(HostApproach, ALocalizerWithoutAGlideSlopeIsFlownLaterallyAndSaysSo) {
    Entry e;
    e.out_nm = 10, e.right_nm = 1.0, e.toward_deg = 30, e.height_ft = 2000, e.seconds = 300;
    const HostFlown f = fly_through_host({"KSAN", "27", 110.90}, e);
    ASSERT_TRUE(f.found);
    EXPECT_EQ(f.phase, sim::ApproachPhase::localizer);
    EXPECT_FALSE(f.touchdown);
    ASSERT_TRUE(f.missed);
    EXPECT_NE(f.missed->find("never touched down"), std::string::npos) << *f.missed;
    ASSERT_EQ(f.notes.size(), 1u);
    EXPECT_NE(f.notes[0].find("without a glide slope: lateral guidance only"), std::string::npos) << f.notes[0];
}
