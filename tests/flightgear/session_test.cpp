// The link in the host's place: "--sim flightgear" feeds the modules' tokens from the property
// server and sends their key events there, with the airspeed indicator as the module.

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "fake_props_server.h"
#include "host/tokens.h"
#include "panel_fixture.h"

namespace token = gauge::token;

namespace {

constexpr const char* kPanel = "[Window00]\nsize=200,200\nposition=0,0\nvisible=1\ngauge00=airspeed!airspeed, 0, 0\n";

template <class F>
bool cycle_until(PanelRun& run, F done) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < end) {
        run.cycles(1);
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

}  // namespace

TEST(FlightGearSession, TokensComeFromFlightGearAndKeyEventsGoThere) {
    FakePropsServer server;
    server.set("/velocities/airspeed-kt", "222");
    server.set("/autopilot/settings/target-speed-kt", "250");
    panelhost::SessionOptions options;
    options.sim = "flightgear=127.0.0.1:" + std::to_string(server.port());
    PanelRun run(kPanel, "", options);
    auto& vars = run.session().variables();
    ASSERT_TRUE(cycle_until(run, [&] { return vars.get_double(token::indicated_airspeed) == 222.0 && vars.get_double(token::ap_speed) == 250.0; }));
    // The indicator's autopilot speed up: 66037 with 251, as a write of FlightGear's speed setting.
    ASSERT_TRUE(run.panel().click_gauge("airspeed", 20, 150));
    ASSERT_TRUE(cycle_until(run, [&] { return server.value("/autopilot/settings/target-speed-kt") == "251"; }));
    EXPECT_TRUE(cycle_until(run, [&] { return vars.get_double(token::ap_speed) == 251.0; }));
}

TEST(FlightGearSession, ABadSimOptionIsRefused) {
    panelhost::SessionOptions options;
    options.sim = "flightgear=host:99999";
    EXPECT_THROW(PanelRun(kPanel, "", options), std::runtime_error);
}

TEST(FlightGearSession, ThePlanTheFmcLoadsGoesToTheRouteManager) {
    FakePropsServer server;
    panelhost::SessionOptions options;
    options.sim = "flightgear=127.0.0.1:" + std::to_string(server.port());
    // A FlightGear route file as the plan: the host converts it for the FMC.
    options.plan = std::string(std::getenv("PANEL_TEST_DATA")) + "/plans/ksfo-klax.fgfp";
    PanelRun run("[Window00]\nsize=300,300\nposition=0,0\nvisible=1\ngauge00=fmcomputer!fmcomputer, 0, 0\n", "", options);
    run.cycles(18);
    // MENU, its LOAD line, then the LOAD page's first line: the only plan.
    for (auto [x, y] : {std::pair{45, 234}, std::pair{16, 43}, std::pair{16, 43}}) {
        ASSERT_TRUE(run.panel().click_gauge("fmcomputer", x, y));
        run.cycles(18);
    }
    EXPECT_EQ(run.block_text("fltplanMap1", 0, 11), "[DEPARTURE]");
    const std::string input = "/autopilot/route-manager/input ";
    ASSERT_TRUE(cycle_until(run, [&] {
        const auto sets = server.sets();
        return !sets.empty() && sets.back() == input + "@ACTIVATE";
    })) << ::testing::PrintToString(server.sets());
    std::vector<std::string> route;
    for (const auto& s : server.sets())
        if (s.rfind("/autopilot/route-manager/", 0) == 0) route.push_back(s);
    EXPECT_EQ(route, (std::vector<std::string>{input + "@CLEAR", "/autopilot/route-manager/departure/airport KSFO",
                                               "/autopilot/route-manager/destination/airport KLAX", input + "SFO",
                                               input + "OSI", input + "SAPID", input + "SANTY", input + "MOVER",
                                               input + "SNS", input + "PRB", input + "RZS",
                                               // the planner's approach to the runway, by position
                                               input + "-118.738297,33.903083", input + "-118.618739,33.915467",
                                               input + "@ACTIVATE"}));
}
