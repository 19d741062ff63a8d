// The link in the host's place: "--sim flightgear" feeds the modules' tokens from the property
// server and sends their key events there, with the airspeed indicator as the module.

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "fake_props_server.h"
#include "panel_fixture.h"

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
    ASSERT_TRUE(cycle_until(run, [&] { return vars.get_double(61) == 222.0 && vars.get_double(116) == 250.0; }));
    // The indicator's autopilot speed up: 66037 with 251, as a write of FlightGear's speed setting.
    ASSERT_TRUE(run.panel().click_gauge("airspeed", 20, 150));
    ASSERT_TRUE(cycle_until(run, [&] { return server.value("/autopilot/settings/target-speed-kt") == "251"; }));
    EXPECT_TRUE(cycle_until(run, [&] { return vars.get_double(116) == 251.0; }));
}

TEST(FlightGearSession, ABadSimOptionIsRefused) {
    panelhost::SessionOptions options;
    options.sim = "flightgear=host:99999";
    EXPECT_THROW(PanelRun(kPanel, "", options), std::runtime_error);
}
