// The FMC's screen through the real host: pages, their texts and columns, keys and page numbers.
#include <gtest/gtest.h>

#include <cmath>

#include "fmc_test_support.h"
#include "host/tokens.h"

namespace token = gauge::token;

using namespace fmctest;

namespace {

const std::string kDashes = "------------------------------";

TEST(FmcScreen, FreshInstallShowsMenuAndTheSwitchesOnTheExecLine) {
    FmcRun fmc({"thirteen.pln"});
    EXPECT_EQ(fmc.line(0), "             MENU          1/1");
    EXPECT_EQ(fmc.line(1), kDashes);
    EXPECT_EQ(fmc.line(2), "LOAD A FLIGHT PLAN");
    EXPECT_EQ(fmc.line(4), "AIRCRAFT PERFORMANCE");
    EXPECT_EQ(fmc.line(6), "POSITION");
    EXPECT_EQ(fmc.line(13), kDashes) << "EXEC off";

    fmc.press(kSpd);  // on -> off
    fmc.press(kExec);
    EXPECT_EQ(fmc.line(13), "----EXEC---HRZ---VRT----------");
    const auto& events = fmc.run().panel().key_events();
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.front().id, 65860u) << "autothrottle armed: variable 123 reads 0";

    fmc.press(kVrt);
    EXPECT_EQ(fmc.line(13), "----EXEC---HRZ----------------");
    fmc.press(kSpd);
    EXPECT_EQ(fmc.line(13), "----EXEC---HRZ----------------") << "SPD HOLD stays off while VRT is off";
    fmc.press(kVrt);
    fmc.press(kSpd);
    EXPECT_EQ(fmc.line(13), "----EXEC---HRZ---VRT---SPD----");
    fmc.press(kExec);
    EXPECT_EQ(fmc.line(13), kDashes);
}

TEST(FmcScreen, ThirteenWaypointsMakeThreeLegsPagesAndNextPageClamps) {
    FmcRun fmc({"thirteen.pln"});
    fmc.load_from_menu(1);
    EXPECT_EQ(fmc.line(0), "            ROUTE          1/1");
    fmc.press(kLegs);
    EXPECT_EQ(fmc.line(0), "         ACT RTE LEGS      1/3");
    EXPECT_EQ(fmc.line(1), "168\xB0         6.0 NM");
    EXPECT_EQ(fmc.line(2), "SY             280/ 3000") << "climb speed before the TOC";
    EXPECT_EQ(fmc.line(3), "220\xB0         18.3 NM");
    EXPECT_EQ(fmc.line(4), "*TOC*          253/35000") << "cruise speed from the TOC on (Mach 0.78 at 35000)";
    EXPECT_EQ(fmc.line(7), "250\xB0         55.9 NM") << "a whole distance does not run into the hours";
    EXPECT_EQ(fmc.line(9), "220\xB0         34.4 NM");
    fmc.press(kNextPage);
    EXPECT_EQ(fmc.line(0), "         ACT RTE LEGS      2/3");
    EXPECT_EQ(fmc.line(2), "WG             253/35000");
    EXPECT_EQ(fmc.line(8), "*TOD*          250/35000") << "descent speed from the TOD on";
    fmc.press(kNextPage);
    EXPECT_EQ(fmc.line(0), "         ACT RTE LEGS      3/3");
    EXPECT_EQ(fmc.line(2), "YMML           250/  434");
    EXPECT_EQ(fmc.line(1), "260\xB0         1.2 NM") << "distance read within its columns, not into the hours";
    EXPECT_EQ(fmc.line(4), "") << "the third page has one line";
    fmc.press(kNextPage);
    EXPECT_EQ(fmc.line(0), "         ACT RTE LEGS      3/3") << "NEXT PAGE clamps at the last page";

    fmc.press(left_key(2));
    EXPECT_EQ(fmc.line(0), "         ACT RTE LEGS      3/3") << "a legs key beside an empty line is ignored";
    fmc.press(left_key(1));
    EXPECT_EQ(fmc.line(0), "       WAYPOINT DETAILS       ");
    EXPECT_EQ(fmc.line(2), "APT  YMML ");
    EXPECT_EQ(fmc.line(3), "MELBOURNE TULLAMARINE    ");
    EXPECT_EQ(fmc.line(6), "Freq: 120.50");
    EXPECT_EQ(fmc.line(8), "S37 40 23.88  ");
    EXPECT_EQ(fmc.line(12), "> BACK                   ");
    fmc.press(kPrevPage);
    fmc.press(kPrevPage);
    EXPECT_EQ(fmc.line(0), "       WAYPOINT DETAILS       ") << "PREV PAGE does nothing over the details";
    fmc.press(left_key(1));
    EXPECT_EQ(fmc.line(0), "         ACT RTE LEGS      3/3") << "the details close on the page they came from";
    EXPECT_EQ(fmc.line(2), "YMML           250/  434");
    fmc.press(kPrevPage);
    EXPECT_EQ(fmc.line(0), "         ACT RTE LEGS      2/3");
}

TEST(FmcScreen, RouteAndPerformancePages) {
    FmcRun fmc({"thirteen.pln"});
    fmc.load_from_menu(1);
    EXPECT_EQ(fmc.line(4), "YSSY               YMML ");
    EXPECT_EQ(fmc.line(6), "16R                  27 ");
    EXPECT_EQ(fmc.line(8), "155                  274");
    EXPECT_EQ(fmc.line(10), "13000              07500 ");
    EXPECT_EQ(fmc.line(12), "---.--            120.50") << "no departure ATIS, the arrival's on the right";
    EXPECT_EQ(fmc.line(3), "DEPARTURE              ARRIVAL");
    fmc.press(kMenu);
    fmc.press(left_key(2));
    EXPECT_EQ(fmc.line(0), "     AIRCRAFT PERFORMANCE  1/1");
    EXPECT_EQ(fmc.line(2), "SPEC: Boeing 737-800");
    EXPECT_EQ(fmc.line(4), "253/0.78      KNOTS/MACH");
    EXPECT_EQ(fmc.line(6), "35000                FEET");
    EXPECT_EQ(fmc.line(8), "2500      FT/MIN     1800");
    EXPECT_EQ(fmc.line(10), "280       KNOTS       250");
}

// Numbers no aircraft has, as a damaged plan may hold them: each is pinned to a million either way
// rather than converted with undefined results, and the guidance works with them.
TEST(FmcScreen, PerformanceOfADamagedPlanIsPinned) {
    FmcRun fmc({"wild_numbers.pln"});
    fmc.load_from_menu(1);
    fmc.press(kMenu);
    fmc.press(left_key(2));
    // The screen's 24 columns cut the longer lines.
    EXPECT_EQ(fmc.line(4), "1000000/1492.65      KNOT") << "CRUISE_SPEED=1e30";
    EXPECT_EQ(fmc.line(8), "-1000000      FT/MIN     ") << "CLIMB_RATE=-99999999999";
    EXPECT_EQ(fmc.line(10), "1000000       KNOTS      ") << "CLIMB_SPEED=99999999999";
    fmc.set(token::ap_master, 1);
    fmc.press(kExec);
    fmc.cycles(3);
    EXPECT_EQ(fmc.line(13).find("EXCEPTION"), std::string::npos) << fmc.line(13);
}

TEST(FmcScreen, PositionRefFollowsTheAircraft) {
    FmcRun fmc({});
    fmc.set(token::latitude, raw_latitude(-33.5) * (1 + 1e-12));
    fmc.set(token::longitude, raw_longitude(151.25) * (1 + 1e-12));
    fmc.set(token::indicated_airspeed, 250);
    fmc.set(token::wind_speed, 40);
    fmc.set(token::true_heading, 10);
    fmc.set(token::wind_direction, 130);  // from 120 degrees relative to the heading: not taken off
    fmc.press(kMenu);
    fmc.press(left_key(3));
    EXPECT_EQ(fmc.line(0), "         POSITION REF      1/1");
    EXPECT_EQ(fmc.line(2), "");
    EXPECT_EQ(fmc.line(4), "S33\xB0" "30.0  E151\xB0" "15.0  250");
    EXPECT_EQ(fmc.line(10), fmc.line(4)) << "IRS R copies FMC POS";
    fmc.set(token::wind_direction, 70);  // a head wind component of 40 cos 60 = 20 kt
    fmc.set(token::indicated_airspeed, 251);
    fmc.cycles(2);
    EXPECT_EQ(fmc.line(4), "S33\xB0" "30.0  E151\xB0" "15.0  231");
}

TEST(FmcScreen, LoadPageListsPlansCutToTheirNames) {
    FmcRun empty({});
    empty.press(kMenu);
    empty.press(left_key(1));
    EXPECT_EQ(empty.line(0), "      LOAD A FLIGHT PLAN   1/1");
    EXPECT_EQ(empty.line(2), "NO FLIGHT PLAN AVAILABLE");
    EXPECT_EQ(empty.line(4), "");
    empty.press(left_key(1));
    EXPECT_EQ(empty.line(0), "      LOAD A FLIGHT PLAN   1/1") << "no plan behind the message";
}

}  // namespace

namespace {

TEST(FmcScreen, ScreenTextIsDrawnGreenOnTheDarkScreen) {
    FmcRun fmc({"thirteen.pln"});
    fmc.load_from_menu(1);
    fmc.press(kLegs);
    int green = 0, other = 0;
    for (int y = 8; y < 21; ++y)
        for (int x = 30; x < 250; ++x) {
            const std::uint32_t p = fmc.run().pixel(0, x, y);
            if (p == 0x00FF00u) ++green;
            else if (p != 0) ++other;
        }
    EXPECT_GT(green, 60) << "the title's ink";
    EXPECT_EQ(fmc.run().pixel(0, 31, 215), 0x080808u) << "the dark screen below the EXEC line";
    EXPECT_NE(fmc.run().pixel(0, 34, 236), fmc.run().pixel(0, 20, 236)) << "the MENU key stands out of the bezel";
    ASSERT_TRUE(fmc.run().session().snapshot("legs-"));
}

}  // namespace
