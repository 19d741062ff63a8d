// "--sim xplane" through the real host: the engine readouts, the flight display and the navigation
// display show what the stand-in X-Plane sends, and the FMC loaded with a plan and EXEC'd turns
// X-Plane's heading dial toward the first leg; "--xplane-folder" gets the plan the FMC loads.

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "fake_xplane.h"
#include "flightplan/formats/fms_format.h"
#include "host/tokens.h"
#include "panel_fixture.h"
#include "panelhost/command_line.h"
#include "sim/earth.h"

namespace token = gauge::token;

namespace {

template <class F>
bool cycle_until(PanelRun& run, F done, int seconds = 10) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < end) {
        run.cycles(1);
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

panelhost::SessionOptions linked_to(const FakeXPlane& x) {
    panelhost::SessionOptions options;
    options.sim = "xplane=127.0.0.1:" + std::to_string(x.port());
    return options;
}

// The window's pixels in a box, for telling whether a display has changed.
std::vector<std::uint32_t> pixels(PanelRun& run, int x, int y, int w, int h) {
    std::vector<std::uint32_t> out;
    for (int yy = y; yy < y + h; ++yy)
        for (int xx = x; xx < x + w; ++xx) out.push_back(run.pixel(0, xx, yy));
    return out;
}

int differing(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b) {
    int n = 0;
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) n += a[i] != b[i];
    return n;
}

// The engine gauge's text windows, in its list order.
constexpr std::size_t kEpr1Text = 14, kN1Text = 16;

}  // namespace

TEST(XPlaneSession, ReadoutsShowWhatXPlaneSends) {
    FakeXPlane x;
    x.set("sim/cockpit2/engine/indicators/N1_percent[0]", 55);
    x.set("sim/cockpit2/engine/indicators/EPR_ratio[0]", 1.6f);
    x.set("sim/cockpit2/gauges/indicators/airspeed_kts_pilot", 250);
    x.set("sim/flightmodel/position/latitude", 37.6f);
    x.set("sim/flightmodel/position/longitude", -122.4f);
    PanelRun run("[Window00]\nsize=940,420\nposition=0,0\nvisible=1\ngauge00=enginegauge!enginegauge, 0, 0\n"
                 "gauge01=flightdisplay!flightdisplay, 200, 0\ngauge02=navdisplay!navdisplay, 466, 0\n",
                 "", linked_to(x));
    auto& vars = run.session().variables();
    ASSERT_TRUE(cycle_until(run, [&] { return vars.get_double(token::indicated_airspeed) == 250.0; }));
    auto& engine = *run.panel().find_gauge("enginegauge");
    ASSERT_TRUE(cycle_until(run, [&] { return engine.elements.at(kN1Text)->shown_text == " 55.0"; }));
    EXPECT_EQ(engine.elements.at(kEpr1Text)->shown_text, "1.60");
    // The flight display follows X-Plane's bank, the navigation display its heading, once their
    // self tests are over.
    run.cycles(18 * 20);
    const auto pfd = pixels(run, 200, 0, 266, 266), nd = pixels(run, 466, 0, 300, 300);
    x.set("sim/cockpit2/gauges/indicators/roll_AHARS_deg_pilot", 25);
    x.set("sim/cockpit2/gauges/indicators/heading_AHARS_deg_mag_pilot", 90);
    x.set("sim/flightmodel/position/psi", 95);
    ASSERT_TRUE(cycle_until(run, [&] { return vars.get_double(token::bank) == -25.0 && vars.get_double(token::true_heading) == 95.0; }));
    run.cycles(36);
    EXPECT_GT(differing(pfd, pixels(run, 200, 0, 266, 266)), 500);
    EXPECT_GT(differing(nd, pixels(run, 466, 0, 300, 300)), 200);
}

TEST(XPlaneSession, TheFmcExecutedTurnsTheHeadingDialTowardTheFirstLeg) {
    FakeXPlane x;
    // South-west of San Francisco's VOR, the plan's first point, heading north.
    const double lat = 37.45, lon = -122.6;
    x.set("sim/flightmodel/position/latitude", static_cast<float>(lat));
    x.set("sim/flightmodel/position/longitude", static_cast<float>(lon));
    x.set("sim/cockpit2/gauges/indicators/altitude_ft_pilot", 5000);
    x.set("sim/cockpit2/gauges/indicators/airspeed_kts_pilot", 250);
    x.set("sim/cockpit2/gauges/indicators/heading_AHARS_deg_mag_pilot", 0);
    x.set("sim/flightmodel/position/psi", 0);
    auto options = linked_to(x);
    options.plan = std::string(std::getenv("PANEL_TEST_DATA")) + "/plans/ksfo-klax.fgfp";
    PanelRun run("[Window00]\nsize=300,300\nposition=0,0\nvisible=1\ngauge00=fmcomputer!fmcomputer, 0, 0\n", "", options);
    ASSERT_TRUE(cycle_until(run, [&] { return run.session().variables().get_double(token::altitude_ft) == 5000.0; }));
    // MENU, its LOAD line, the LOAD page's first line (the only plan), then EXEC.
    for (auto [px, py] : {std::pair{45, 234}, std::pair{16, 43}, std::pair{16, 43}, std::pair{83, 260}}) {
        ASSERT_TRUE(run.panel().click_gauge("fmcomputer", px, py));
        run.cycles(18);
    }
    const double to_first = sim::course_deg({lat, lon}, {37.6194, -122.3739});
    const auto dial = [&] { return x.value("sim/cockpit2/autopilot/heading_dial_deg_mag_pilot"); };
    EXPECT_TRUE(cycle_until(run, [&] { return std::fabs(std::remainder(dial() - to_first, 360.0)) < 30.0; }, 20))
        << "dial " << dial() << ", course to the first point " << to_first;
}

TEST(XPlaneSession, ThePlanTheFmcLoadsIsWrittenForXPlanesFms) {
    const auto folder = std::filesystem::temp_directory_path() / "xplane_session_folder";
    std::filesystem::remove_all(folder);
    panelhost::SessionOptions options;
    options.xplane_folder = folder.string();
    options.plan = std::string(std::getenv("PANEL_TEST_DATA")) + "/plans/ksfo-klax.fgfp";
    PanelRun run("[Window00]\nsize=300,300\nposition=0,0\nvisible=1\ngauge00=fmcomputer!fmcomputer, 0, 0\n", "", options);
    run.cycles(18);
    for (auto [px, py] : {std::pair{45, 234}, std::pair{16, 43}, std::pair{16, 43}}) {
        ASSERT_TRUE(run.panel().click_gauge("fmcomputer", px, py));
        run.cycles(18);
    }
    run.cycles(36);
    const auto written = folder / "Output/FMS plans/KSFO-KLAX.fms";
    ASSERT_TRUE(std::filesystem::exists(written));
    std::ifstream in(written);
    std::stringstream text;
    text << in.rdbuf();
    auto plan = planner::read_fms(text.str(), written.string());
    ASSERT_TRUE(plan) << plan.error();
    std::vector<std::string> idents;
    for (const auto& w : plan->waypoints) idents.push_back(w.place.ident);
    // The plan's points as the FMC loaded them; the planner's approach points go by position.
    ASSERT_GE(idents.size(), 10u);
    EXPECT_EQ(std::vector<std::string>(idents.begin(), idents.begin() + 9),
              (std::vector<std::string>{"KSFO", "SFO", "OSI", "SAPID", "SANTY", "MOVER", "SNS", "PRB", "RZS"}));
    EXPECT_EQ(idents.back(), "KLAX");
    std::filesystem::remove_all(folder);
}

TEST(XPlaneSession, TheFlightRecordFollowsXPlanesAircraft) {
    FakeXPlane x;
    x.set("sim/flightmodel/position/latitude", 47.45f);
    x.set("sim/flightmodel/position/longitude", -122.3f);
    x.set("sim/cockpit2/gauges/indicators/altitude_ft_pilot", 9000);
    x.set("sim/cockpit2/gauges/indicators/airspeed_kts_pilot", 280);
    x.set("sim/flightmodel/position/psi", 160);
    PanelRun run("[Window00]\nsize=200,200\nposition=0,0\nvisible=1\ngauge00=airspeed!airspeed, 0, 0\n", "", linked_to(x));
    ASSERT_TRUE(cycle_until(run, [&] { return run.session().variables().get_double(token::altitude_ft) == 9000.0; }));
    const sim::AircraftState a = run.session().flown_aircraft();
    EXPECT_NEAR(a.position.lat, 47.45, 1e-4);
    EXPECT_NEAR(a.position.lon, -122.3, 1e-4);  // west of Greenwich, not east of the date line
    EXPECT_EQ(a.ias_kt, 280.0);
    run.cycles(40);
    ASSERT_TRUE(run.session().write_outputs());
    std::ifstream csv(run.session().out() + "/flight.csv");
    std::string header, row, last;
    std::getline(csv, header);
    int rows = 0;
    while (std::getline(csv, row)) {
        last = row;
        ++rows;
    }
    EXPECT_GE(rows, 2);
    EXPECT_NE(last.find(",47.45"), std::string::npos) << last;
    EXPECT_NE(last.find(",-122.3"), std::string::npos) << last;
    EXPECT_NE(last.find(",9000.0,280.0,160.0,"), std::string::npos) << last;
    // The host's own aircraft, parked at the start, is not what the record shows.
    EXPECT_LT(run.session().aircraft().state().altitude_ft, 1000.0);
}

TEST(XPlaneSession, ABindingFileIsCheckedBeforeThePanelStarts) {
    const auto dir = std::filesystem::temp_directory_path() / "xplane_session_bindings";
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "broken") << "simulator xplane\nbase xplane\ntoken ap_heading number as_is sim/a\ntoken pich number as_is sim/b\n";
    std::ofstream(dir / "flightgear") << "simulator flightgear\nbase flightgear-generic\n";
    FakeXPlane x;
    for (const auto& [file, what] : {std::pair{std::string("broken"), std::string("broken:4: unknown token 'pich'")},
                                     std::pair{std::string("flightgear"), std::string("binds FlightGear, not X-Plane")},
                                     std::pair{std::string("absent"), std::string("cannot read the binding file")}}) {
        auto options = linked_to(x);
        options.sim_bindings = (dir / file).string();
        try {
            PanelRun run("[Window00]\nsize=200,200\nposition=0,0\nvisible=1\ngauge00=airspeed!airspeed, 0, 0\n", "", options);
            ADD_FAILURE() << file << " was taken";
        } catch (const std::runtime_error& e) {
            EXPECT_NE(std::string(e.what()).find(what), std::string::npos) << e.what();
        }
    }
    std::filesystem::remove_all(dir);
}

TEST(XPlaneSession, TheCommandLineTakesTheLinksOptions) {
    auto parse = [](std::vector<std::string> words) {
        words.insert(words.begin(), "panelhost");
        std::vector<char*> args;
        for (std::string& w : words) args.push_back(w.data());
        return panelhost::parse_command_line(args);
    };
    auto line = parse({"run", "--out", "o", "--sim", "xplane=10.0.0.5:49010", "--sim-bindings", "mine", "--xplane-folder",
                       "/opt/X-Plane 12"});
    ASSERT_TRUE(line) << line.error();
    EXPECT_EQ(line->session.sim, "xplane=10.0.0.5:49010");
    EXPECT_EQ(line->session.sim_bindings, "mine");
    EXPECT_EQ(line->session.xplane_folder, "/opt/X-Plane 12");
    EXPECT_EQ(line->session.clock, plat::ClockMode::real);  // a live simulator runs in real time
    auto alone = parse({"run", "--out", "o", "--sim-bindings", "mine"});
    ASSERT_FALSE(alone);
    EXPECT_EQ(alone.error(), "--sim-bindings goes with --sim");
    EXPECT_FALSE(parse({"run", "--out", "o", "--xplane-folder", ""}));
}
