#include <gtest/gtest.h>

#include "dmegauge/layout.h"
#include "gauge_pixels.h"
#include "host/tokens.h"

namespace token = gauge::token;

namespace {

using gauge_test::element;
using gauge_test::shows;
using namespace dme_layout;

const char* kPanel = "[Window00]\nsize=550,100\ngauge00=dmegauge!dmegauge, 10, 10\n";
const std::string kDme = "dmegauge";

// Elements in drawing order after the face.
enum Element {
    unlit_units = 1, unlit_tens, unlit_hundreds, glideslope_light, gpws_light, third_light,
    lit_plate, lit_units, lit_tens, lit_hundreds,
};

constexpr std::uint32_t kDigit = 0xECECE6;     // the drums' white digits
constexpr std::uint32_t kNightLit = 0xFFDE96;  // the lit plate's legend

int digit_pixels(PanelRun& run, int opening_left) {
    return gauge_test::count_colour(run, kDme, kDrumsX + opening_left, kOpeningTop, kOpeningWidth, kOpeningHeight,
                                    kDigit);
}

bool hidden(PanelRun& run, Element e) { return element(run, kDme, e).hidden; }

TEST(Dme, DrumsStandForTheDistance) {
    PanelRun run(kPanel, "", gauge_test::without_aircraft());
    auto& vars = run.session().variables();
    struct Case {
        double distance, units, tens, hundreds;
    };
    const Case cases[] = {
        {123.4, 5.2, 2, 1}, {250, 1.8, 5, 1}, {99.95, 11.75, 9, 0}, {-3, 1.8, 0, 0}, {-150, 1.8, 0, 1},
    };
    for (const Case& c : cases) {
        vars.set_double(token::dme2_distance, c.distance);
        run.cycles(1);
        for (Element units : {unlit_units, lit_units}) EXPECT_NEAR(element(run, kDme, units).value, c.units, 1e-9) << c.distance;
        EXPECT_EQ(element(run, kDme, lit_tens).value, c.tens) << c.distance;
        EXPECT_EQ(element(run, kDme, lit_hundreds).value, c.hundreds) << c.distance;
    }
}

TEST(Dme, DigitsShowInTheOpeningsAndTensHideWithoutAValidDistance) {
    PanelRun run(kPanel, "", gauge_test::without_aircraft());
    auto& vars = run.session().variables();
    vars.set_double(token::dme2_distance, 120);
    vars.set_double(token::dme2_valid, 1);
    run.cycles(2);
    for (int left : {kHundredsLeft, kTensLeft, kUnitsLeft}) EXPECT_GT(digit_pixels(run, left), 20) << left;
    vars.set_double(token::dme2_valid, 0);
    run.cycles(2);
    EXPECT_EQ(digit_pixels(run, kTensLeft), 0);
    EXPECT_EQ(digit_pixels(run, kHundredsLeft), 0);
    EXPECT_GT(digit_pixels(run, kUnitsLeft), 20) << "the units drum stays";
}

TEST(Dme, UnpublishedNightLightingUsesTheLitGroup) {
    PanelRun run(kPanel, "", gauge_test::without_aircraft());
    run.session().variables().set_double(token::dme2_valid, 1);
    run.cycles(2);
    for (Element e : {unlit_units, unlit_tens, unlit_hundreds}) EXPECT_TRUE(hidden(run, e)) << e;
    for (Element e : {lit_plate, lit_units, lit_tens, lit_hundreds}) EXPECT_FALSE(hidden(run, e)) << e;
    EXPECT_TRUE(shows(run, kDme, 4099, kPlateX, kPlateY)) << "the lit legend plate";
    EXPECT_GT(gauge_test::count_colour(run, kDme, kPlateX, kPlateY, kPlateWidth, kPlateHeight, kNightLit), 10);
    EXPECT_GT(digit_pixels(run, kUnitsLeft), 20);
}

TEST(Dme, NightLightingOffUsesTheUnlitDrums) {
    PanelRun run(kPanel, "at 0 named Light 0\nat 0 reload\nat 0 set 58 1\nat 1 named Light 1\n", gauge_test::without_aircraft());
    run.session().run_for(0.5);
    for (Element e : {unlit_units, unlit_tens, unlit_hundreds}) EXPECT_FALSE(hidden(run, e)) << e;
    for (Element e : {lit_plate, lit_units, lit_tens, lit_hundreds}) EXPECT_TRUE(hidden(run, e)) << e;
    EXPECT_EQ(gauge_test::count_colour(run, kDme, kPlateX, kPlateY, kPlateWidth, kPlateHeight, kNightLit), 0);
    EXPECT_GT(digit_pixels(run, kTensLeft), 20);
    run.session().run_for(1.0);
    EXPECT_FALSE(hidden(run, lit_units)) << "the bound value is followed";
    EXPECT_TRUE(hidden(run, unlit_units));
}

struct Descent {
    const char* name;
    double height, vertical_speed, gear;
    bool warns;
};

TEST(Dme, GroundProximityLightFlashes) {
    const Descent cases[] = {
        {"gear up, low, descending", 304.9, -100, 0, true},
        {"at 305 the low rule stops", 305, -100, 0, false},
        {"at 305 the sink rule still warns", 305, -5001, 0, true},
        {"sinking fast, gear down", 762.9, -6000, 16383, true},
        {"at 763 nothing warns", 763, -6000, 0, false},
        {"gear down, low, descending slowly", 100, -100, 16383, false},
        {"climbing", 100, 0, 0, false},
    };
    PanelRun run(kPanel, "", gauge_test::without_aircraft());
    auto& vars = run.session().variables();
    vars.set_double(token::ground_elevation, 10 * 256.0);  // ground at 10 m
    for (const Descent& c : cases) {
        vars.set_double(token::altitude_m, 10 + c.height);
        vars.set_double(token::vertical_speed, c.vertical_speed);
        vars.set_double(token::gear_lever, c.gear);
        vars.set_double(token::tick_count, 13);  // lit phase
        run.cycles(2);
        EXPECT_EQ(shows(run, kDme, 20480, kGroundProximityX, kGroundProximityY), c.warns) << c.name;
        vars.set_double(token::tick_count, 17);  // dark phase
        run.cycles(2);
        EXPECT_FALSE(shows(run, kDme, 20480, kGroundProximityX, kGroundProximityY)) << c.name;
    }
}

TEST(Dme, GlideslopeLightFlashesOnlyBetween15And305Metres) {
    PanelRun run(kPanel, "", gauge_test::without_aircraft());
    auto& vars = run.session().variables();
    vars.set_double(token::tick_count, 0);
    vars.set_double(token::glide_slope_deviation, -60);
    const std::pair<double, bool> cases[] = {{100, true}, {15, false}, {15.1, true}, {305, false}};
    for (auto [h, warns] : cases) {
        vars.set_double(token::altitude_m, h);
        run.cycles(2);
        EXPECT_EQ(shows(run, kDme, 24576, kGlideslopeX, kGlideslopeY), warns) << h;
    }
    vars.set_double(token::glide_slope_deviation, -55);
    vars.set_double(token::altitude_m, 100);
    run.cycles(2);
    EXPECT_FALSE(shows(run, kDme, 24576, kGlideslopeX, kGlideslopeY)) << "on the lower edge of the beam";
}

TEST(Dme, ThirdLightSteadyFromItsThreeInputs) {
    PanelRun run(kPanel, "", gauge_test::without_aircraft());
    auto& vars = run.session().variables();
    struct Case {
        double a, b, c;
        bool on;
    };
    const Case cases[] = {{0, 6001, 4001, true}, {0, 6001, 1999, true}, {0, 6001, 3000, false},
                          {0, 5999, -3, true},   {0, 6000, -3, false},  {0, 6000, 5000, false},
                          {1, 6001, 4001, false}};
    for (const Case& c : cases) {
        vars.set_double(token::ap_altitude_hold, c.a);
        vars.set_double(token::third_light_first_input, c.b);
        vars.set_double(token::third_light_second_input, c.c);
        for (double tick : {0.0, 5.0}) {
            vars.set_double(token::tick_count, tick);
            run.cycles(2);
            EXPECT_EQ(shows(run, kDme, 28672, kThirdX, kThirdY), c.on) << c.b << " " << c.c << " tick " << tick;
        }
    }
}

}  // namespace
