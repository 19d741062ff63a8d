// Landings through the real host, on the flight display and the DME's warning lights: the
// approach mode's captures annunciated as they happen, the lights dark on the glide slope and
// flashing well below it or closing with the ground, a crash that ends the flight, and a scenario's
// heights measured above the landing field. At runways of several continents, high and low.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "host/tokens.h"
#include "panel_fixture.h"
#include "platform/shared_block.h"
#include "shipped_world.h"
#include "sim/approach.h"
#include "sim/units.h"

namespace {

// The flight display with the DME below it.
const char* kPanel =
    "[Window00]\nsize=560,360\nvisible=1\ngauge00=flightdisplay!flightdisplay, 0, 0\ngauge01=dmegauge!dmegauge, 0, 260\n";

constexpr std::uint32_t kWhite = 0xFFFFFF, kGreen = 0x00FF00;
constexpr int kCyclesPerSecond = 18;

struct Ils {
    const char *airport, *runway;
    double mhz;
};

const sim::World& world() {
    static std::shared_ptr<const sim::World> w = shipped_world();
    return *w;
}

const sim::RunwayEnd& runway(const Ils& ils) {
    const sim::RunwayEnd* r = world().runway(ils.airport, ils.runway);
    if (!r) throw std::runtime_error(std::string("no runway ") + ils.airport + " " + ils.runway);
    return *r;
}

// "aircraft" command words for a point out on the extended centre line, right of it by right_nm.
std::string out_on_final(const sim::RunwayEnd& r, double out_nm, double right_nm = 0) {
    const double course = r.heading_deg();
    sim::LatLon p = sim::travel(r.landing_threshold(), course + 180.0, out_nm);
    if (right_nm != 0) p = sim::travel(p, course + 90.0, right_nm);
    char text[96];
    std::snprintf(text, sizeof text, "lat=%.7f lon=%.7f", p.lat, p.lon);
    return text;
}

std::string number(double v, int decimals = 1) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, v);
    return text;
}

std::string read_file(const std::filesystem::path& p) {
    std::ifstream f(p, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

// Pixels of a colour in a box of the flight display's mode annunciations: the lateral column and
// the vertical one, the engaged row over the armed row.
struct Box {
    int x0, y0, x1, y1;
};
constexpr Box kLateralEngaged{96, 0, 121, 11}, kLateralArmed{96, 11, 121, 23};
constexpr Box kVerticalEngaged{136, 0, 166, 11}, kVerticalArmed{136, 11, 166, 23};

int ink(PanelRun& run, const Box& b, std::uint32_t rgb) {
    int n = 0;
    for (int y = b.y0; y < b.y1; ++y)
        for (int x = b.x0; x < b.x1; ++x) n += run.pixel(0, x, y) == rgb;
    return n;
}

// The DME's lights (elements 4 and 5 after the face: below glide slope, ground proximity) as
// drawn this cycle.
bool light_shown(PanelRun& run, int element) {
    panelhost::GaugeInstance* g = run.panel().find_gauge("dmegauge");
    return g && !g->elements[static_cast<std::size_t>(element)]->hidden;
}
constexpr int kBelowGlideSlope = 4, kGroundProximity = 5;

// How many of the next `seconds` of cycles showed the light: a flashing light about half of them.
int cycles_lit(PanelRun& run, int element, double seconds) {
    int lit = 0;
    for (int i = 0; i < seconds * kCyclesPerSecond; ++i) {
        run.cycles(1);
        lit += light_shown(run, element);
    }
    return lit;
}

const Ils kApproaches[] = {{"KSFO", "28R", 111.70}, {"EGLL", "27L", 109.50}, {"RJTT", "34L", 111.70},
                           {"YSSY", "16R", 109.50}};

// The approach mode armed 15 NM out and 1.5 NM to the side, wings level on an intercept heading, the crew's altitude hold
// on; the display is looked at three seconds into each phase, and the lights every cycle from the
// glide slope's capture to the flare.
TEST(LandingThroughTheHost, TheApproachsCapturesAreAnnunciatedAndItsLandingTold) {
    for (const Ils& ils : kApproaches) {
        SCOPED_TRACE(std::string(ils.airport) + " " + ils.runway);
        const sim::RunwayEnd& r = runway(ils);
        const std::string scenario = "at 0 radio nav1 " + number(ils.mhz, 2) + "\nat 0 aircraft " + out_on_final(r, 15, 1.5) +
                                     " alt-ft=" + number(r.elevation_ft + 3000) + " ias=190 hdg=" + number(r.heading_deg() - 30) +
                                     " on-ground=0 flaps=0.5 gear=down\nat 0 autopilot approach\n"
                                     "at 0 when approach=glide-slope aircraft flaps=1\n"
                                     "at 0 when approach=localizer snap localizer\nat 0 when approach=glide-slope snap glide-slope\n";
        PanelRun run(kPanel, scenario);
        run.cycles(2);
        sim::AircraftState& s = run.session().aircraft().state();
        s.autopilot.altitude_hold = true;
        ASSERT_EQ(s.approach, sim::ApproachPhase::armed);

        run.cycles(5 * kCyclesPerSecond);  // past the display's start-up
        ASSERT_EQ(s.approach, sim::ApproachPhase::armed);
        EXPECT_GT(ink(run, kLateralEngaged, kGreen), 10) << "LVL: the wings held level";
        EXPECT_GT(ink(run, kLateralArmed, kWhite), 10) << "LOC armed";
        EXPECT_GT(ink(run, kVerticalEngaged, kGreen), 10) << "ALT";

        auto fly_to = [&](sim::ApproachPhase phase, double limit_s) {
            for (int i = 0; i < limit_s * kCyclesPerSecond && s.approach < phase; ++i) run.cycles(1);
            return s.approach >= phase;
        };
        ASSERT_TRUE(fly_to(sim::ApproachPhase::localizer, 400));
        run.cycles(3 * kCyclesPerSecond);
        EXPECT_GT(ink(run, kLateralArmed, kGreen), 10) << "LOC captured";
        EXPECT_EQ(ink(run, kLateralArmed, kWhite), 0);
        EXPECT_EQ(ink(run, kLateralEngaged, kGreen), 0) << "no HDG or LVL";
        if (s.approach == sim::ApproachPhase::localizer && s.autopilot.altitude_hold && s.reception.nav[0].glide_slope) {
            EXPECT_GT(ink(run, kVerticalArmed, kWhite), 10) << "G / S armed";
        }

        ASSERT_TRUE(fly_to(sim::ApproachPhase::glide_slope, 400));
        run.cycles(3 * kCyclesPerSecond);
        EXPECT_GT(ink(run, kLateralArmed, kGreen), 10) << "LOC";
        EXPECT_GT(ink(run, kVerticalArmed, kGreen), 10) << "G / S captured";
        EXPECT_EQ(ink(run, kVerticalEngaged, kGreen), 0) << "ALT gone";
        int lights = 0;
        for (int i = 0; i < 400 * kCyclesPerSecond && s.approach < sim::ApproachPhase::flare; ++i) {
            run.cycles(1);
            lights += light_shown(run, kBelowGlideSlope) + light_shown(run, kGroundProximity);
        }
        EXPECT_EQ(lights, 0) << "dark all the way down the glide slope";

        ASSERT_TRUE(fly_to(sim::ApproachPhase::stopped, 200));
        run.cycles(2);
        ASSERT_TRUE(run.session().write_outputs());
        const std::string landing = read_file(run.dir() / "out" / "landing.txt");
        const std::string name = r.airport + " " + r.designator;
        EXPECT_NE(landing.find("touchdown on " + name + ": "), std::string::npos) << landing;
        EXPECT_NE(landing.find("stopped on " + name + ": "), std::string::npos) << landing;
        EXPECT_EQ(landing.find("crash"), std::string::npos) << landing;
        EXPECT_FALSE(run.session().crash());
        std::printf("%s", landing.c_str());
    }
}

// The aircraft put again `height_ft` above its ground (the lights' ground, not the field's, which
// can stand higher or lower on final) where the scenario left it.
void put_above_ground(PanelRun& run, double height_ft, bool gear_down, std::optional<double> throttle) {
    sim::Aircraft& a = run.session().aircraft();
    sim::Placement p;
    p.altitude_ft = a.state().ground_elevation_ft + height_ft;
    p.gear_down = gear_down;
    p.throttle = throttle;
    a.place(p);
}

// Low on final, well below the glide slope and level: BELOW GLIDE SLOPE flashes; with the gear up
// and sinking, GPWS flashes.
TEST(LandingThroughTheHost, TheWarningLightsFlashWellBelowTheSlopeAndClosingWithTheGround) {
    const Ils kRunways[] = {{"KSFO", "28R", 111.70}, {"KDEN", "16R", 111.90}, {"EGLL", "27L", 109.50},
                            {"KJFK", "31L", 111.35}, {"KSEA", "16L", 110.30}};
    for (const Ils& ils : kRunways) {
        SCOPED_TRACE(std::string(ils.airport) + " " + ils.runway);
        const sim::RunwayEnd& r = runway(ils);
        const std::string on_final = "at 0 radio nav1 " + number(ils.mhz, 2) + "\nat 0 aircraft " + out_on_final(r, 5) +
                                     " hdg=" + number(r.heading_deg()) + " alt-ft=" + number(r.elevation_ft + 500) +
                                     " on-ground=0 ";
        {
            PanelRun run(kPanel, on_final + "ias=160 flaps=0.75 gear=down\n");
            run.cycles(2);
            put_above_ground(run, 500, true, std::nullopt);
            run.cycles(3 * kCyclesPerSecond);
            ASSERT_LT(run.session().variables().get_double(gauge::token::glide_slope_deviation), -100) << "well below";
            const int lit = cycles_lit(run, kBelowGlideSlope, 2);
            EXPECT_GT(lit, 10) << "flashing";
            EXPECT_LT(lit, 2 * kCyclesPerSecond - 10) << "flashing, not steady";
            EXPECT_EQ(cycles_lit(run, kGroundProximity, 2), 0) << "level, the gear down";
        }
        {
            PanelRun run(kPanel, on_final + "ias=200 flaps=0\n");
            run.cycles(2);
            put_above_ground(run, 800, false, 0.0);
            run.cycles(3 * kCyclesPerSecond);
            ASSERT_LT(run.session().aircraft().state().vertical_speed_fpm, -100) << "sinking at idle";
            EXPECT_GT(cycles_lit(run, kGroundProximity, 2), 10) << "gear up, low, sinking";
        }
    }
}

// Into the ground short of the runway: one line, the aircraft stays where it hit, and the flight's
// outputs say so; what the scenario still waited for is no news.
TEST(LandingThroughTheHost, IntoTheGroundShortIsACrashThatEndsTheFlight) {
    const Ils kRunways[] = {{"KLAX", "24R", 108.50}, {"KDEN", "16R", 111.90}, {"EGLL", "27L", 109.50},
                            {"KJFK", "31L", 111.35}, {"RJTT", "34L", 111.70}};
    for (const Ils& ils : kRunways) {
        SCOPED_TRACE(std::string(ils.airport) + " " + ils.runway);
        const sim::RunwayEnd& r = runway(ils);
        PanelRun run(kPanel, "at 0 aircraft " + out_on_final(r, 4) + " hdg=" + number(r.heading_deg()) +
                                 " on-ground=0 alt-ft=" + number(r.elevation_ft + 900) +
                                 " ias=150 flaps=1 gear=down throttle=0\nat 1 when approach=stopped snap stopped\n");
        for (int i = 0; i < 150 * kCyclesPerSecond && !run.session().crash(); ++i) run.cycles(1);
        ASSERT_TRUE(run.session().crash());
        const std::string& crash = *run.session().crash();
        EXPECT_NE(crash.find("crash: touched down "), std::string::npos) << crash;
        EXPECT_NE(crash.find(" short of " + r.airport + " " + r.designator + "'s landing threshold"), std::string::npos) << crash;
        const sim::LatLon wreck = run.session().aircraft().state().position;
        run.cycles(5 * kCyclesPerSecond);
        EXPECT_EQ(run.session().aircraft().state().position.lat, wreck.lat) << "the wreck moves no more";
        EXPECT_EQ(run.session().aircraft().state().position.lon, wreck.lon);
        ASSERT_TRUE(run.session().write_outputs());
        EXPECT_TRUE(run.session().warnings().empty()) << run.session().warnings().front();
        EXPECT_EQ(read_file(run.dir() / "out" / "landing.txt"), crash + "\n");
        const std::string csv = read_file(run.dir() / "out" / "flight.csv");
        EXPECT_EQ(csv.substr(csv.size() - 3), ",1\n") << "the last row is the crash's";
        // The header, a row a second from 0, the crash's row, and no more.
        const long rows = std::count(csv.begin(), csv.end(), '\n');
        EXPECT_NEAR(static_cast<double>(rows - 3), std::stod(crash.substr(2)), 1.0);
        ASSERT_TRUE(run.session().missed_landing());
        EXPECT_NE(run.session().missed_landing()->find(crash), std::string::npos);
    }
}

// One coordinate as a plan's waypoint record writes it: "N37 37 07.23", "W122 22 30.03".
std::string coordinate(double deg, bool longitude) {
    const char hemisphere = longitude ? (deg < 0 ? 'W' : 'E') : (deg < 0 ? 'S' : 'N');
    const double a = std::fabs(deg);
    const int d = static_cast<int>(a), m = static_cast<int>((a - d) * 60);
    char text[24];
    std::snprintf(text, sizeof text, longitude ? "%c%03d %02d %05.2f" : "%c%02d %02d %05.2f", hemisphere, d, m,
                  ((a - d) * 60 - m) * 60);
    return text;
}

// A plan to the runway's airport published as the FMC does (fltplanMap1 first), for the host to
// follow while the block is kept.
plat::SharedBlock publish_plan_to(const sim::RunwayEnd& r) {
    std::string record = "APT  " + r.airport;
    record.resize(46, ' ');
    record += coordinate(r.threshold.lat, false);
    record.resize(60, ' ');
    record += coordinate(r.threshold.lon, true);
    record.resize(103, ' ');
    const std::string text = "[WAYPOINTS]\r\n" + record + "\r\n";
    auto block = plat::SharedBlock::create_or_open("fltplanMap1", 4096);
    EXPECT_TRUE(block) << block.error();
    if (!block) return {};
    if (auto view = block->map(plat::Access::read_write)) std::memcpy(view->as<char>(), text.c_str(), text.size() + 1);
    return std::move(block).value();
}

// Level at 1,500 ft above the runway's field, 12 NM out on its final, where the nearest airport
// (the aircraft's ground) may stand higher or lower: "height<1530" holds and "height<1470" does not
// once NAV1 receives the ILS; with NAV1 elsewhere and the FMC's plan to that field, the same.
TEST(LandingThroughTheHost, HeightsAreMeasuredAboveTheLandingField) {
    const Ils kRunways[] = {{"KDEN", "16R", 111.90}, {"KSFO", "28R", 111.70}, {"EDDF", "25C", 111.55},
                            {"KSEA", "16L", 110.30}, {"YSSY", "16R", 109.50}, {"KLAX", "24R", 108.50}};
    int grounds_apart = 0;
    for (const Ils& ils : kRunways) {
        for (bool by_plan : {false, true}) {
            SCOPED_TRACE(std::string(ils.airport) + " " + ils.runway + (by_plan ? ", the plan's destination" : ", the ILS"));
            const sim::RunwayEnd& r = runway(ils);
            const std::string radio = by_plan ? "at 0 radio nav1 115.80\n" : "at 0 radio nav1 " + number(ils.mhz, 2) + "\n";
            PanelRun run(kPanel, radio + "at 0 aircraft " + out_on_final(r, 12) + " hdg=" + number(r.heading_deg()) +
                                     " on-ground=0 alt-ft=" + number(r.elevation_ft + 1500) +
                                     " ias=180 flaps=0.5 gear=down\n"
                                     "at 0.5 when height<1530 named Below1530 1\nat 0.5 when height<1470 named Below1470 1\n");
            plat::SharedBlock plan;
            if (by_plan) plan = publish_plan_to(r);
            run.cycles(3 * kCyclesPerSecond);
            const double ground = run.session().aircraft().state().ground_elevation_ft;
            std::printf("%s %s: field %.0f ft, the aircraft's ground %.0f ft\n", ils.airport, ils.runway, r.elevation_ft, ground);
            EXPECT_TRUE(run.session().variables().named("Below1530")) << "1,500 ft above the field";
            EXPECT_FALSE(run.session().variables().named("Below1470"));
            grounds_apart += std::fabs(ground - r.elevation_ft) > 100;
        }
    }
    EXPECT_GE(grounds_apart, 4) << "the field and the ground apart by more than 100 ft on most finals";
}

}  // namespace
