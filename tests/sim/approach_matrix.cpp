// The approach matrix through the real host: every runway and entry of approach_cases.h, each wind
// in turn, flown by `panelhost`'s session from a scenario as a user would write it. It takes a few
// minutes, so it is no part of ctest's run; run it by hand:
//
//   build/bin/approach_matrix [--gtest_filter=*KDEN*]
//
// Each approach prints a row of a table (lines starting "| "): runway, entry, wind, touchdown past
// the landing threshold, from the centre line, sink rate, and where it stopped as landing.txt says.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "approach_cases.h"
#include "host_approach.h"

using namespace simtest;

namespace {

class HostApproachAt : public testing::TestWithParam<Case> {};

std::string stop_of(const HostFlown& f) {
    for (const std::string& line : f.landing_txt)
        if (line.find("stopped") != std::string::npos) return line.substr(line.find("stopped"));
    return f.missed ? *f.missed : "no stop";
}

TEST_P(HostApproachAt, Lands) {
    const Case& c = GetParam();
    const HostFlown f = fly_through_host(c.runway, c.flown());
    ASSERT_TRUE(f.found);
    if (f.touchdown)
        std::printf("| %s %s | %s | %s | %.0f ft | %.1f m %s | %.0f ft/min | %s |\n", c.runway.airport.c_str(),
                    c.runway.designator.c_str(), c.entry.name, c.wind.name, f.touchdown_past_threshold_ft,
                    std::fabs(f.touchdown_right_m), f.touchdown_right_m >= 0 ? "R" : "L", f.touchdown->sink_fpm,
                    stop_of(f).c_str());
    else
        std::printf("| %s %s | %s | %s | - | - | - | %s%s%s |\n", c.runway.airport.c_str(), c.runway.designator.c_str(),
                    c.entry.name, c.wind.name, stop_of(f).c_str(), f.notes.empty() ? "" : "; said: ",
                    f.notes.empty() ? "" : f.notes.front().c_str());
    EXPECT_FALSE(f.missed) << *f.missed;
    ASSERT_TRUE(f.touchdown);
    EXPECT_GE(f.touchdown_past_threshold_ft, 1000.0);
    EXPECT_LE(f.touchdown_past_threshold_ft, 2500.0);
    EXPECT_LE(std::fabs(f.touchdown_right_m), 8.0);
    EXPECT_EQ(f.phase, sim::ApproachPhase::stopped);
}

std::string name_of(const testing::TestParamInfo<Case>& info) { return case_name(info.param); }

// The winds shifted from the aircraft's own matrix, so that the two together meet more pairs.
INSTANTIATE_TEST_SUITE_P(Runways, HostApproachAt, testing::ValuesIn(cases(2)), name_of);

}  // namespace
