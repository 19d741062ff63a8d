// The attitude section and the mode annunciations, read from the rendered picture.

#include <gtest/gtest.h>

#include "host/tokens.h"
#include "pfd_fixture.h"

namespace token = gauge::token;

using namespace pfdtest;

namespace {

// Geometry at 256 x 256: xc 108, yc 128, r 64; the attitude rectangle 44, 64 .. 173, 193.
constexpr int xc = 108, yc = 128, r = 64;

TEST(FlightDisplayAttitude, PitchTenPutsTheHorizonTwentyFiveAbove) {
    PanelRun run(kPanelAlone, "", quiet());
    set(run, 78, 10);
    run.cycles(kPastStartup);
    // Left of the ladder's rungs and labels: horizon line, sky above, ground below.
    EXPECT_EQ(run.pixel(0, 60, yc - 25), kWhite);
    EXPECT_EQ(run.pixel(0, 60, yc - 33), kSky);
    EXPECT_EQ(run.pixel(0, 60, yc - 20), kGround);
    EXPECT_EQ(run.pixel(0, 60, yc + 40), kGround);
    // Outside the rounded window's corner nothing of the attitude is drawn.
    EXPECT_NE(run.pixel(0, xc - r, yc - r), kSky);
}

TEST(FlightDisplayAttitude, LevelAttitudeSplitsAtTheCentre) {
    PanelRun run(kPanelAlone, "", quiet());
    run.cycles(kPastStartup);
    EXPECT_EQ(run.pixel(0, 60, yc), kWhite);
    EXPECT_EQ(run.pixel(0, 60, yc - 8), kSky);
    EXPECT_EQ(run.pixel(0, 60, yc + 30), kGround);
    // The right wing of the aircraft symbol is grey inside its white outline (the horizon line
    // crosses it at yc).
    EXPECT_EQ(run.pixel(0, xc + r - 8, yc - 1), kGrey);
    EXPECT_EQ(run.pixel(0, xc + r - 8, yc - 2), kWhite);
}

TEST(FlightDisplayAttitude, BankTurnsTheHorizon) {
    PanelRun run(kPanelAlone, "", quiet());
    set(run, 80, 20);
    run.cycles(kPastStartup);
    // The horizon turns clockwise by the bank: 50 pixels out it stands 18 pixels lower on the
    // right and 18 higher on the left.
    EXPECT_EQ(run.pixel(0, xc + 50, yc + 12), kSky);
    EXPECT_EQ(run.pixel(0, xc - 50, yc - 12), kGround);
    EXPECT_EQ(run.pixel(0, xc + 50, yc + 24), kGround);
    EXPECT_EQ(run.pixel(0, xc - 50, yc - 24), kSky);
}

TEST(FlightDisplayAttitude, HeadingErrorMovesTheLateralBar) {
    PanelRun run(kPanelWithSwitch, "", quiet());
    set(run, 81, 90);
    set(run, 107, 100);
    set(run, 74, 5000);
    set(run, 109, 5000);
    run.cycles(kPastStartup);
    run.panel().click_gauge("Lumiscope-Brightline-FDSW", 50, 20);  // FD mode 1
    run.cycles(3);
    // trunc(atan(0.1745) x 20 x 64 x 0.05) = 11 pixels right of xc.
    EXPECT_EQ(run.pixel(0, xc + 11, yc - 30), kMagenta);
    EXPECT_NE(run.pixel(0, xc + 10, yc - 30), kMagenta);
    EXPECT_NE(run.pixel(0, xc + 12, yc - 30), kMagenta);
    // No altitude error: the vertical bar lies across the centre.
    EXPECT_EQ(run.pixel(0, xc - 40, yc), kMagenta);
    // FD off: no bars.
    run.panel().click_gauge("Lumiscope-Brightline-FDSW", 20, 30);
    run.cycles(3);
    EXPECT_NE(run.pixel(0, xc + 11, yc - 30), kMagenta);
}

// Values no aircraft flies must still give the picture their sign asks for: the conversions to
// pixels stop far outside the display instead of wrapping around the int range.
TEST(FlightDisplayAttitude, AbsurdPitchShowsAllSkyOrAllGround) {
    for (const double pitch : {-8.4e8, -1e300}) {
        PanelRun run(kPanelAlone, "", quiet());
        set(run, 78, pitch);
        run.cycles(kPastStartup);
        EXPECT_EQ(run.pixel(0, 60, yc - 30), kSky) << pitch;
        EXPECT_EQ(run.pixel(0, 60, yc + 40), kSky) << pitch << ": nose far up, no ground";
    }
    PanelRun run(kPanelAlone, "", quiet());
    set(run, 78, 8.4e8);
    run.cycles(kPastStartup);
    EXPECT_EQ(run.pixel(0, 60, yc - 40), kGround);
    EXPECT_EQ(run.pixel(0, 60, yc + 30), kGround);
}

TEST(FlightDisplayAttitude, AbsurdDeviationsPutTheBarsAtTheirOwnEnd) {
    struct Case {
        double deviation;
        int x, y;  // where the localizer and glide-slope bars must stand
    };
    for (const Case c : {Case{4.3e9, xc + r - 1, yc + r - 1}, Case{-4.3e9, xc - r, yc - r},
                         Case{1e300, xc + r - 1, yc + r - 1}}) {
        PanelRun run(kPanelAlone, "at 0 poke PassData 0 FDMode=2\n", quiet());
        auto& v = run.session().variables();
        v.set_int(token::nav1_flags, 0x80);  // a localizer on NAV1
        v.set_double(token::glide_slope_available, 1.0);
        v.set_double(token::nav1_deviation, c.deviation);
        v.set_double(token::glide_slope_deviation, c.deviation);
        run.cycles(kPastStartup);
        EXPECT_EQ(run.pixel(0, c.x, yc - 30), kMagenta) << "localizer bar, deviation " << c.deviation;
        EXPECT_NE(run.pixel(0, xc, yc - 30), kMagenta);
        EXPECT_EQ(run.pixel(0, xc - 40, c.y), kMagenta) << "glide-slope bar, deviation " << c.deviation;
        EXPECT_NE(run.pixel(0, xc - 40, yc), kMagenta);
    }
}

// Annunciation boxes: lateral column around xc, vertical around xc + 2r/3; engaged row 0..11,
// armed row 11..22; "CMD" / "FD" above the attitude window.
struct Box {
    int x0, y0, x1, y1;
};
constexpr Box kAboveWindow{90, 44, 126, 64};
constexpr Box kLateralEngaged{96, 0, 121, 11}, kLateralArmed{96, 11, 121, 23};
constexpr Box kVerticalEngaged{136, 0, 166, 11}, kVerticalArmed{136, 11, 166, 23};

int ink(PanelRun& run, const Box& b, std::uint32_t rgb) { return count(run, b.x0, b.y0, b.x1, b.y1, rgb); }

TEST(FlightDisplayModes, AutopilotWithNavigationHoldOnly) {
    PanelRun run(kPanelAlone, "", quiet());
    set(run, 103, 1);
    set(run, 105, 1);
    run.cycles(kPastStartup);
    EXPECT_GT(ink(run, kAboveWindow, kGreen), 10) << "CMD";
    EXPECT_GT(ink(run, kLateralArmed, kGreen), 10) << "NAV armed, in green";
    EXPECT_EQ(ink(run, kLateralEngaged, kGreen), 0);
    EXPECT_EQ(ink(run, kLateralArmed, kWhite), 0);
}

TEST(FlightDisplayModes, HeadingHoldShowsNavigationArmedInWhite) {
    PanelRun run(kPanelAlone, "", quiet());
    set(run, 103, 1);
    set(run, 106, 1);
    set(run, 105, 1);
    set(run, 108, 1);
    run.cycles(kPastStartup);
    EXPECT_GT(ink(run, kLateralEngaged, kGreen), 10) << "HDG";
    EXPECT_GT(ink(run, kLateralArmed, kWhite), 10) << "NAV armed";
    EXPECT_GT(ink(run, kVerticalEngaged, kGreen), 10) << "ALT";
}

TEST(FlightDisplayModes, FlightDirectorWithGlideslopeAndNoNavigation) {
    PanelRun run(kPanelAlone, "at 0 poke PassData 0 FDMode=2\n", quiet());
    set(run, 44, 1);
    run.session().variables().set_int(token::nav1_flags, 8);
    run.cycles(kPastStartup);
    EXPECT_GT(ink(run, kAboveWindow, kOrange), 10) << "FD";
    EXPECT_GT(ink(run, kVerticalEngaged, kOrange), 10) << "G / S";
    EXPECT_EQ(ink(run, kLateralEngaged, kOrange), 0) << "no NAV with bit 3";
    EXPECT_EQ(ink(run, kVerticalArmed, kOrange), 0);
}

TEST(FlightDisplayModes, TheHostsIlsReceiverDrivesTheFlightDirector) {
    // The host's own aircraft on San Francisco's 28R approach, half a degree left of the localizer's
    // centre line and 0.35 degree above the glide slope, NAV1 on the ILS: the FD bars show both.
    PanelRun run(kPanelAlone,
                 "at 0 poke PassData 0 FDMode=2\nat 0 radio nav1 111.70\n"
                 "at 4 aircraft lat=37.56603 lon=-122.24736 alt-ft=2175 ias=160 hdg=298 on-ground=0 flaps=0.5\n");
    run.cycles(kPastStartup);
    auto& v = run.session().variables();
    ASSERT_EQ(v.get_int(token::nav1_flags), 0x81) << "an ILS with its DME";
    ASSERT_EQ(v.get_double(token::glide_slope_available), 1.0);
    const double lateral = v.get_double(token::nav1_deviation), vertical = v.get_double(token::glide_slope_deviation);
    EXPECT_NEAR(lateral, 25.4, 1.0);
    EXPECT_NEAR(vertical, 63.5, 3.0);
    const int x = xc + static_cast<int>(r * lateral / 127), y = yc + static_cast<int>(r * vertical / 127);
    EXPECT_EQ(run.pixel(0, x, yc - 30), kMagenta) << "the localizer bar, right of centre";
    EXPECT_NE(run.pixel(0, xc, yc - 30), kMagenta);
    EXPECT_EQ(run.pixel(0, xc - 40, y), kMagenta) << "the glide-slope bar, below centre: fly down";
    EXPECT_GT(ink(run, kVerticalEngaged, kOrange), 10) << "G / S";
    EXPECT_GT(ink(run, kLateralEngaged, kOrange), 10) << "NAV";
}

}  // namespace
