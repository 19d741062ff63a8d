// The link in the host's place: "--sim flightgear" feeds the modules' tokens from the property
// server and sends their key events there, with the airspeed indicator as the module, and the plans
// the FMC loads go to the route manager in their order.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "fake_props_server.h"
#include "flightplan/formats/route_text.h"
#include "flightplan/planning/pln_writer.h"
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

// The route manager's legs a plan file should make in FlightGear: its departure (runway), every
// point between by ident (or by position where the ident is not a navaid's name), its destination
// (runway). The stand-in learns the plan's airports and points where the plan puts them.
std::vector<std::string> expected_legs(const std::string& plan, FakePropsServer& server) {
    const auto route = planner::parse_route_text(plan);
    const auto runways = planner::parse_plan_runways(plan);
    std::vector<std::string> legs;
    for (std::size_t i = 0; i < route.size(); ++i) {
        const auto& p = route[i];
        if (p.type == "TOC" || p.type == "TOD") continue;
        const bool letters = std::all_of(p.ident.begin(), p.ident.end(), [](char c) { return std::isalpha(static_cast<unsigned char>(c)); });
        const std::string runway = i == 0 ? runways.departure : i + 1 == route.size() ? runways.arrival : "";
        server.route_manager([&](FakeRouteManager& rm) {
            if (p.type == "APT") rm.know_airport(p.ident, p.at.lat, p.at.lon, {runway});
            else if (letters) rm.know_point(p.ident, p.at.lat, p.at.lon);
        });
        legs.push_back(!runway.empty() ? p.ident + "-" + runway : letters ? p.ident : "(position)");
    }
    return legs;
}

// FlightGear names a leg given by position for its whole degrees: "W118N033".
bool named_by_position(const std::string& id) {
    return id.size() == 8 && (id[0] == 'E' || id[0] == 'W') && (id[4] == 'N' || id[4] == 'S') &&
           std::all_of(id.begin() + 1, id.begin() + 4, ::isdigit) && std::all_of(id.begin() + 5, id.end(), ::isdigit);
}

std::vector<std::string> route_manager_legs(FakePropsServer& server) {
    return server.route_manager([](FakeRouteManager& rm) {
        std::vector<std::string> legs;
        for (const auto& l : rm.legs()) legs.push_back(named_by_position(l.id) ? "(position)" : l.id);
        return legs;
    });
}

std::string read_file(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
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

TEST(FlightGearSession, ThePlansTheFmcLoadsGoToTheRouteManagerInTheirOrder) {
    FakePropsServer server;
    panelhost::SessionOptions options;
    options.sim = "flightgear=127.0.0.1:" + std::to_string(server.port());
    // A FlightGear route file as the plan: the host converts it for the FMC.
    options.plan = std::string(std::getenv("PANEL_TEST_DATA")) + "/plans/ksfo-klax.fgfp";
    PanelRun run("[Window00]\nsize=300,300\nposition=0,0\nvisible=1\ngauge00=fmcomputer!fmcomputer, 0, 0\n", "", options);
    const auto plan_file = run.dir() / "out" / "root" / "NavData" / "FlightPlans" / "ksfo-klax.pln";
    const std::string plan = read_file(plan_file);
    const auto first = expected_legs(plan, server);
    ASSERT_EQ(first.front(), "KSFO-" + planner::parse_plan_runways(plan).departure);
    ASSERT_EQ(first[1], "SFO");
    ASSERT_EQ(first.back(), "KLAX-" + planner::parse_plan_runways(plan).arrival);
    auto load_first_plan = [&] {
        run.cycles(18);
        // MENU, its LOAD line, then the LOAD page's first line: the only plan.
        for (auto [x, y] : {std::pair{45, 234}, std::pair{16, 43}, std::pair{16, 43}}) {
            ASSERT_TRUE(run.panel().click_gauge("fmcomputer", x, y));
            run.cycles(18);
        }
    };
    const std::string current = "/autopilot/route-manager/current-wp";
    load_first_plan();
    EXPECT_EQ(run.block_text("fltplanMap1", 0, 11), "[DEPARTURE]");
    ASSERT_TRUE(cycle_until(run, [&] { return route_manager_legs(server) == first && server.value(current) == "1"; }))
        << ::testing::PrintToString(route_manager_legs(server)) << " current " << server.value(current);
    EXPECT_EQ(server.value("/autopilot/route-manager/active"), "true");

    // FlightGear flies on; then the FMC loads another plan between the same airports: without SFO
    // and OSI, to the other runway.
    server.route_manager([](FakeRouteManager& rm) { rm.set("/autopilot/route-manager/current-wp", "4"); });
    std::string second = plan;
    const std::size_t records = second.find("[WAYPOINTS]") + 13, step = planner::pln_record_length + 2;
    second.erase(records + step, 2 * step);
    const std::string arrival_runway = "RUNWAY=" + planner::parse_plan_runways(plan).arrival;
    second.replace(second.find(arrival_runway), arrival_runway.size(), "RUNWAY=25L");
    {
        std::ofstream out(plan_file, std::ios::binary | std::ios::trunc);
        out << second;
    }
    const auto again = expected_legs(second, server);
    ASSERT_EQ(again.size(), first.size() - 2);
    ASSERT_EQ(again.back(), "KLAX-25L");
    load_first_plan();
    EXPECT_EQ(run.block_text("fltplanMap0", 0, 11), "[DEPARTURE]");
    ASSERT_TRUE(cycle_until(run, [&] { return route_manager_legs(server) == again && server.value(current) == "1"; }))
        << ::testing::PrintToString(route_manager_legs(server)) << " current " << server.value(current);
    EXPECT_EQ(server.value("/autopilot/route-manager/active"), "true");
}
