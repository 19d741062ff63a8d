// The aircraft through the real host: the scenario's aircraft command, a module's key event acting
// on it, the flight outputs, and the extra host window.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <sstream>

#include "host/key_events.h"
#include "host/tokens.h"
#include "flightplan/formats/route_text.h"
#include "panel_fixture.h"
#include "platform/canvas/bitmap.h"
#include "platform/shared_block.h"
#include "platform/window_registry.h"
#include "reports/flight_record.h"
#include "reports/track_picture.h"
#include "sim/earth.h"

namespace event = gauge::event;
namespace token = gauge::token;

namespace {

const char* kAirspeedPanel = "[Window00]\nsize=200,200\nposition=0,0\nvisible=1\ngauge00=airspeed!airspeed, 0, 0\n";

std::string read_file(const std::filesystem::path& p) {
    std::ifstream f(p, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

std::string shipped_plan(const char* name) {
    return read_file(std::filesystem::path(PANEL_SOURCE_DIR) / "data/root/NavData/FlightPlans" / name);
}

}  // namespace

TEST(HostAircraft, ScenarioPlacesTheAircraft) {
    PanelRun run(kAirspeedPanel, "at 1 aircraft lat=-33.5 lon=151.25 alt-ft=9000 ias=240 hdg=45 on-ground=0\n");
    run.cycles(18);
    auto& v = run.session().variables();
    EXPECT_NEAR(v.get_double(token::latitude) * 8.998425275576774e-06, 37.61, 0.01) << "parked at San Francisco until t = 1";
    run.cycles(2);
    EXPECT_NEAR(v.get_double(token::latitude) * 8.998425275576774e-06, -33.5, 0.01);
    EXPECT_NEAR(v.get_double(token::longitude) * 1.2789770768341246e-12, 151.25, 0.01);
    EXPECT_NEAR(v.get_double(token::altitude_ft), 9000.0, 5.0);
    EXPECT_NEAR(v.get_double(token::indicated_airspeed), 240.0, 1.0);
    EXPECT_NEAR(v.get_double(token::true_heading), 45.0, 1e-6);
    EXPECT_EQ(v.get_double(token::on_ground), 0.0);
    EXPECT_EQ(v.get_double(token::ap_altitude), 9000.0) << "the altitude setting starts at the placed altitude";
}

TEST(HostAircraft, BadAircraftCommandsNameTheirWord) {
    auto bad = panelhost::parse_scenario("at 0 aircraft lat=91\n", "s.txt");
    ASSERT_FALSE(bad);
    EXPECT_NE(bad.error().find("lat=91"), std::string::npos) << bad.error();
    bad = panelhost::parse_scenario("at 0 aircraft speed=3\n", "s.txt");
    ASSERT_FALSE(bad);
    EXPECT_NE(bad.error().find("speed"), std::string::npos);
    bad = panelhost::parse_scenario("at 0 aircraft on-ground=yes\n", "s.txt");
    EXPECT_FALSE(bad);
}

TEST(HostAircraft, AModulesKeyEventMovesTheAutopilot) {
    // The airspeed indicator's autopilot speed arrow sends 66037 with its new value.
    PanelRun run(kAirspeedPanel, "at 0 aircraft lat=37 lon=-122 alt-ft=5000 ias=250 hdg=0 on-ground=0\nat 0.5 click airspeed 20 150\n");
    run.cycles(18);
    EXPECT_EQ(run.session().aircraft().state().autopilot.speed_kt, 251.0);
    EXPECT_EQ(run.session().variables().get_double(token::ap_speed), 251.0);
}

TEST(HostAircraft, TheScenarioTakesOverATokenFromTheAircraft) {
    PanelRun run(kAirspeedPanel, "at 0.5 set 61 123\n");
    run.cycles(30);
    EXPECT_EQ(run.session().variables().get_double(token::indicated_airspeed), 123.0);
}

TEST(HostAircraft, FlightOutputsOneRowPerSecondAndTheTrack) {
    const std::string plan = shipped_plan("KSFO-KLAX.pln");
    ASSERT_FALSE(plan.empty());
    // The FMC's publication, as it would leave it.
    auto block = plat::SharedBlock::create_or_open("fltplanMap1", plan.size());
    ASSERT_TRUE(block);
    auto view = block->map(plat::Access::read_write);
    ASSERT_TRUE(view);
    std::memcpy(view->data(), plan.data(), plan.size());
    view->as<char>()[plan.size() - 1] = 0;
    PanelRun run(kAirspeedPanel, "at 0 aircraft lat=37.62 lon=-122.37 alt-ft=5000 ias=250 hdg=160 on-ground=0\n");
    run.cycles(18 * 10);
    ASSERT_TRUE(run.session().write_outputs());
    const std::string csv = read_file(run.dir() / "out/flight.csv");
    std::istringstream lines(csv);
    std::string header, row, last;
    std::getline(lines, header);
    EXPECT_EQ(header, reports::flight_csv_header);
    int rows = 0;
    while (std::getline(lines, row)) ++rows, last = row;
    EXPECT_EQ(rows, 10);
    EXPECT_EQ(last.rfind("9,", 0), 0u) << last;
    EXPECT_TRUE(std::filesystem::file_size(run.dir() / "out/track.png") > 1000);
}

TEST(TrackPicture, RouteAndTrackAreDrawn) {
    const auto route = planner::parse_route_text(shipped_plan("NZAA-NSFA.pln"));
    ASSERT_EQ(route.size(), 7u);  // with the approach to NSFA 08
    std::vector<reports::FlightSample> track;
    for (int i = 0; i <= 100; ++i) {
        reports::FlightSample s;
        s.t = i;
        s.position = sim::between(route.front().at, route.back().at, i / 100.0);
        track.push_back(s);
    }
    const plat::Bitmap picture = reports::draw_track(route, track);
    int green = 0, white = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            std::uint32_t p;
            std::memcpy(&p, picture.scanline(y) + 4 * x, 4);
            p &= 0xFFFFFF;
            green += p == 0x28DC5A;
            white += p == 0xFAFAFA;
        }
    EXPECT_GT(green, 400) << "the route across the date line, in one piece";
    EXPECT_GT(white, 400);
}

TEST(HostWindow, AnExtraTopLevelWindowForTheHostCheck) {
    panelhost::SessionOptions options;
    options.host_window_class = "FS98MAIN";
    options.host_window_title = "Microsoft Flight Simulator 2000";
    {
        PanelRun run(kAirspeedPanel, "", options);
        EXPECT_NE(plat::find_window("FS98MAIN", "Microsoft Flight Simulator 2000"), 0u);
        EXPECT_NE(plat::find_window("FS98MAIN", "Microsoft Flight Simulator"), 0u) << "the host's own stays";
    }
    EXPECT_EQ(plat::find_window("FS98MAIN", "Microsoft Flight Simulator 2000"), 0u);
}

// A fresh root whose one plan is entry 0 of the LOAD page.
panelhost::SessionOptions root_with_plan(const std::string& name, const std::string& plan) {
    const auto root = std::filesystem::temp_directory_path() / "panel_tests" / name;
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root / "NavData/FlightPlans");
    std::ofstream(root / "NavData/FlightPlans/KSFO-KLAX.pln", std::ios::binary) << plan;
    panelhost::SessionOptions options;
    options.root = root.string();
    return options;
}

TEST(ClosedLoop, TheFmcFliesAShippedPlanThroughTheAircraft) {
    const std::string plan = shipped_plan("KSFO-KLAX.pln");
    const panelhost::SessionOptions options = root_with_plan("closed_loop_root", plan);
    // Airborne just past San Francisco VOR, on the way to Woodside; MENU, LOAD, plan 0, EXEC.
    PanelRun run("[Window00]\nsize=300,300\nposition=0,0\nvisible=1\ngauge00=fmcomputer!fmcomputer, 0, 0\n",
                 "at 0 aircraft lat=37.600 lon=-122.366 alt-ft=2000 ias=250 hdg=162 on-ground=0\n"
                 "at 1 click fmcomputer 45 234\nat 2 click fmcomputer 16 43\nat 3 click fmcomputer 16 43\n"
                 "at 4 click fmcomputer 83 260\n",
                 options);
    const auto waypoints = planner::parse_route_text(plan);
    ASSERT_EQ(waypoints.size(), 14u) << "to 24R at Los Angeles, with its intercept point and final fix";
    std::vector<double> closest(waypoints.size(), 1e9);
    double highest = 0;
    double disengaged_nm = -1;
    for (int s = 0; s < 4000 && disengaged_nm < 0; ++s) {
        run.cycles(18);
        const sim::AircraftState& a = run.session().aircraft().state();
        for (std::size_t i = 0; i < waypoints.size(); ++i)
            closest[i] = std::min(closest[i], sim::distance_nm(a.position, waypoints[i].at));
        highest = std::max(highest, a.altitude_ft);
        if (s > 10 && !a.autopilot.master) disengaged_nm = sim::distance_nm(a.position, waypoints.back().at);
    }
    for (std::size_t i = 2; i < waypoints.size(); ++i)
        EXPECT_LT(closest[i], 3.0) << waypoints[i].type << " " << waypoints[i].ident;
    EXPECT_NEAR(highest, 24000.0, 100.0) << "the cruise altitude of the plan";
    ASSERT_GE(disengaged_nm, 0.0) << "EXEC never let go";
    EXPECT_LT(disengaged_nm, 3.0);
}

TEST(ClosedLoop, TheFmcsWorkersTurnAndClimbTheAircraft) {
    const std::string plan = shipped_plan("KSFO-KLAX.pln");
    const panelhost::SessionOptions options = root_with_plan("closed_loop_workers_root", plan);
    // Past San Francisco VOR but pointing 60 degrees left of the leg to Woodside, so the heading
    // worker has a long turn to dial in while the vertical worker raises the altitude setting.
    PanelRun run("[Window00]\nsize=300,300\nposition=0,0\nvisible=1\ngauge00=fmcomputer!fmcomputer, 0, 0\n",
                 "at 0 aircraft lat=37.600 lon=-122.366 alt-ft=2000 ias=250 hdg=100 on-ground=0\n"
                 "at 1 click fmcomputer 45 234\nat 2 click fmcomputer 16 43\nat 3 click fmcomputer 16 43\n"
                 "at 4 click fmcomputer 83 260\n",
                 options);
    const auto waypoints = planner::parse_route_text(plan);
    ASSERT_EQ(waypoints[2].ident, "OSI");
    double closest = 1e9;
    for (int s = 0; s < 300 && closest > 1.0; ++s) {
        run.cycles(18);
        closest = std::min(closest, sim::distance_nm(run.session().aircraft().state().position, waypoints[2].at));
    }
    const sim::AircraftState& a = run.session().aircraft().state();
    EXPECT_LT(closest, 3.0) << "Woodside";
    EXPECT_TRUE(a.autopilot.master);
    EXPECT_GT(a.altitude_ft, 4000.0) << "climbing towards Woodside's 6228 ft";
    EXPECT_GE(a.autopilot.altitude_ft, 6000.0);
    // The workers' events, sent off the panel thread, carry the module's name and their pacing.
    int right = 0, altitude_up = 0;
    double last_right = -1;
    for (const auto& e : run.panel().key_events()) {
        if (e.id == event::heading_bug_up) {
            EXPECT_EQ(e.gauge, "fmcomputer");
            if (last_right >= 0 && e.t - last_right < 0.5) {
                EXPECT_NEAR(e.t - last_right, 0.2, 1e-9);
            }
            last_right = e.t;
            ++right;
        }
        if (e.id == event::altitude_up) ++altitude_up;
    }
    EXPECT_GT(right, 40) << "the turn from 100 to Woodside's course, a degree a step";
    EXPECT_GT(altitude_up, 30) << "2000 ft to 6200 ft, 100 ft a step";
}

TEST(HostAircraft, WhenHoldsACommandBackUntilTheAircraftMeetsIt) {
    // Throttles closed at 250 kt: the flaps wait for 230 kt, whenever that comes; a condition never
    // met is a warning at the end, its command not run.
    PanelRun run(kAirspeedPanel,
                 "at 0 aircraft lat=37 lon=-122 alt-ft=5000 ias=250 hdg=0 on-ground=0 throttle=0\n"
                 "at 1 when ias<230 aircraft flaps=0.3\n"
                 "at 1 when approach=localizer aircraft gear=down\n");
    double flaps_at_kt = 0;
    for (int i = 0; i < 18 * 60 && flaps_at_kt == 0; ++i) {
        run.cycles(1);
        if (run.session().aircraft().state().controls.flaps > 0) flaps_at_kt = run.session().aircraft().state().ias_kt;
    }
    EXPECT_GT(flaps_at_kt, 228.0);
    EXPECT_LT(flaps_at_kt, 230.0);
    EXPECT_FALSE(run.session().aircraft().state().controls.gear_down);
    ASSERT_TRUE(run.session().write_outputs());
    ASSERT_EQ(run.session().warnings().size(), 1u);
    EXPECT_NE(run.session().warnings()[0].find(":3: 'when approach=localizer' never held"), std::string::npos)
        << run.session().warnings()[0];
}

TEST(HostAircraft, BadConditionsNameTheirWord) {
    for (const char* line : {"at 1 when ias=200 snap x\n", "at 1 when speed<200 snap x\n", "at 1 when approach=final snap x\n",
                             "at 1 when height<abc snap x\n", "at 1 when ias<200\n"}) {
        auto bad = panelhost::parse_scenario(line, "s.txt");
        ASSERT_FALSE(bad) << line;
        EXPECT_EQ(bad.error().rfind("s.txt:1: ", 0), 0u) << bad.error();
    }
    auto bad = panelhost::parse_scenario("at 1 when approach=final snap x\n", "s.txt");
    EXPECT_NE(bad.error().find("no approach phase 'final'"), std::string::npos) << bad.error();
    auto good = panelhost::parse_scenario("at 2 when height<1000 click airspeed 20 150\n", "s.txt");
    ASSERT_TRUE(good) << good.error();
    const auto* click = std::get_if<panelhost::ClickCommand>(&good->commands[0].action);
    ASSERT_TRUE(click);
    EXPECT_EQ(click->gauge, "airspeed");
    EXPECT_EQ(good->commands[0].when.kind, panelhost::ConditionKind::height_below);
    EXPECT_EQ(good->commands[0].when.value, 1000.0);
}

TEST(HostAircraft, AScenariosLandingThatDidNotHappenFailsTheRun) {
    // Waiting for the stop is what makes a scenario one that lands; ten seconds at 5,000 ft end
    // with no touchdown, and the run says so.
    const std::string cruise = "at 0 aircraft lat=37 lon=-122 alt-ft=5000 ias=250 hdg=0 on-ground=0 throttle=0.6\n";
    {
        PanelRun run(kAirspeedPanel, cruise + "at 1 when approach=stopped snap stopped\n");
        run.session().run_for(10);
        ASSERT_TRUE(run.session().write_outputs());
        const auto missed = run.session().missed_landing();
        ASSERT_TRUE(missed);
        EXPECT_EQ(*missed, "the scenario's landing did not happen: the aircraft never touched down");
    }
    {
        PanelRun run(kAirspeedPanel, cruise + "at 1 when approach=localizer snap localizer\n");
        run.session().run_for(10);
        ASSERT_TRUE(run.session().write_outputs());
        EXPECT_FALSE(run.session().missed_landing()) << "a scenario that does not wait for the stop flies no landing";
    }
}
