// The route manager's writes for a plan, and what FlightGear's route manager (the stand-in, which
// follows its rules) holds after them: departure, points, destination in the plan's order, the
// runways the plan names, active, the first point after the departure current, whatever route it
// held before.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <set>
#include <thread>

#include "fake_props_server.h"
#include "simlink/flightgear/route_manager.h"

using simlink::fg::route_manager_writes;

namespace {

using Route = std::vector<planner::RoutePoint>;
using Idents = std::vector<std::string>;

const std::string rm_path = "/autopilot/route-manager/";

void send(FakeRouteManager& rm, const std::vector<simlink::fg::PropertyWrite>& writes) {
    for (const auto& w : writes) ASSERT_TRUE(rm.set(w.path, w.value)) << w.path;
}

}  // namespace

TEST(RouteManagerWrites, ForgetClearNameAppendThenTheDestination) {
    const Route route = {{"APT", "KSFO", {37.6, -122.4}},  {"VOR", "SFO", {37.6, -122.37}},
                         {"TOC", "*****", {37.0, -122.0}}, {"INT", "37N12", {37.0, -122.0}},
                         {"TOD", "*****", {34.5, -119.0}}, {"APT", "KLAX", {33.9, -118.4}}};
    std::vector<std::string> got;
    for (const auto& x : route_manager_writes(route, {"28L", "24R"})) got.push_back(x.path.substr(rm_path.size()) + " " + x.value);
    EXPECT_EQ(got, (std::vector<std::string>{"input @CLEAR", "departure/airport ", "destination/airport ",
                                             "departure/airport KSFO", "departure/runway 28L", "input SFO",
                                             "input -122.000000,37.000000", "destination/airport KLAX",
                                             "destination/runway 24R", "input @ACTIVATE", "current-wp 1"}));
}

TEST(RouteManagerWrites, WhatIsNotSent) {
    EXPECT_TRUE(route_manager_writes({}).empty());
    EXPECT_TRUE(route_manager_writes({{"VOR", "SFO", {}}, {"APT", "KLAX", {}}}).empty()) << "no departure airport";
    EXPECT_TRUE(route_manager_writes({{"APT", "K SFO", {}}, {"APT", "KLAX", {}}}).empty()) << "a blank would split the request";
    EXPECT_TRUE(route_manager_writes({{"APT", "KS", {}}, {"APT", "KLAX", {}}}).empty()) << "FlightGear takes no 2-letter airport";
    EXPECT_FALSE(route_manager_writes({{"APT", "0S9", {}}, {"APT", "KLAX", {}}}).empty()) << "digits in an airport's ident";
    // Runway texts that are no designators are left out; the airport alone is named.
    for (const char* bad : {"", "A1", "123", "25X", "25RR", "2 5", "ALL"}) {
        const auto w = route_manager_writes({{"APT", "KSFO", {}}, {"APT", "KLAX", {}}}, {bad, bad});
        for (const auto& x : w) EXPECT_EQ(x.path.find("runway"), std::string::npos) << "'" << bad << "'";
    }
    const auto w = route_manager_writes({{"APT", "KSFO", {}}, {"APT", "KLAX", {}}}, {"9", "36C"});
    EXPECT_EQ(w[4].value, "9");
    EXPECT_EQ(w[6].value, "36C");
}

// The general rule, over many plans: airports anywhere with runways named or not (or unknown to
// FlightGear), now and then a circuit back home, named points (whose idents repeat on the other side
// of the earth), latitude/longitude points and top of climb and descent, sent to a route manager
// that held nothing, this plan's airports with another route flown part way, another plan, or the
// plan's airports with a point the user added.
TEST(RouteManagerWrites, TheRouteManagerHoldsEveryPlanInItsOrder) {
    std::mt19937 rng(28);
    auto uniform = [&](double a, double b) { return std::uniform_real_distribution<double>(a, b)(rng); };
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    const std::vector<std::string> designators = {"01L", "19R", "09", "27", "36C", "18", "13R", "31L", "4", "22"};
    struct Airport {
        std::string ident;
        sim::LatLon at;
        std::vector<std::string> runways;
    };

    for (int trial = 0; trial < 300; ++trial) {
        SCOPED_TRACE("plan " + std::to_string(trial));
        FakeRouteManager rm;
        std::set<std::string> used;
        auto fresh_ident = [&](int letters, bool digit) {
            for (;;) {
                std::string s;
                for (int i = 0; i < letters; ++i) s += static_cast<char>(digit && i == 0 ? '0' + pick(10) : 'A' + pick(26));
                if (used.insert(s).second) return s;
            }
        };
        std::vector<Airport> airports;
        for (int i = 0; i < 4; ++i) {
            Airport a{fresh_ident(pick(4) == 0 ? 3 : 4, pick(5) == 0), {uniform(-60, 60), uniform(-180, 180)}, {}};
            if (i == 1) a.at = {airports[0].at.lat + uniform(-20, 20), airports[0].at.lon + uniform(-30, 30)};
            for (const auto& d : designators)
                if (pick(2)) a.runways.push_back(d);
            rm.know_airport(a.ident, a.at.lat, a.at.lon, a.runways);
            airports.push_back(a);
        }
        const Airport& dep = airports[0];
        const Airport& dest = airports[pick(4) == 0 ? 0 : 1];
        Route route = {{"APT", dep.ident, dep.at}};
        std::vector<sim::LatLon> between;  // the points the route manager should hold, in order
        const int points = pick(12);
        for (int i = 0; i < points; ++i) {
            const double f = (i + 1.0) / (points + 1);
            const sim::LatLon at{dep.at.lat + (dest.at.lat - dep.at.lat) * f + uniform(-0.5, 0.5),
                                 dep.at.lon + (dest.at.lon - dep.at.lon) * f + uniform(-0.5, 0.5)};
            if (pick(6) == 0) route.push_back({pick(2) ? "TOC" : "TOD", "*****", at});
            between.push_back(at);
            if (pick(4) == 0) {
                route.push_back({"INT", std::to_string(pick(90)) + "N" + std::to_string(pick(180)), at});
                continue;
            }
            const planner::RoutePoint p{pick(3) ? "INT" : "VOR", fresh_ident(3 + pick(3), false), at};
            rm.know_point(p.ident, at.lat, at.lon);
            rm.know_point(p.ident, -at.lat, at.lon > 0 ? at.lon - 180 : at.lon + 180);
            route.push_back(p);
        }
        route.push_back({"APT", dest.ident, dest.at});
        auto runway = [&](const Airport& a) -> std::string {
            const int r = pick(4);
            if (r == 0 || a.runways.empty()) return "";
            if (r == 1) return "35R";  // no airport here has it
            return a.runways[static_cast<std::size_t>(pick(static_cast<int>(a.runways.size())))];
        };
        const planner::PlanRunways runways{runway(dep), runway(dest)};
        auto leg = [](const Airport& a, const std::string& r) { return r.empty() || r == "35R" ? a.ident : a.ident + "-" + r; };

        switch (pick(4)) {
            case 0: break;
            case 1:
                send(rm, route_manager_writes({route.front(), {"INT", "0N0", {0, 0}}, {"INT", "1N1", {1, 1}}, route.back()},
                                               {dep.runways.empty() ? "" : dep.runways[0], dest.runways.empty() ? "" : dest.runways[0]}));
                rm.set(rm_path + "current-wp", "2");
                break;
            case 2:
                send(rm, route_manager_writes({{"APT", airports[2].ident, {}}, {"APT", airports[3].ident, {}}}));
                break;
            case 3:
                rm.set(rm_path + "departure/airport", dep.ident);
                rm.set(rm_path + "destination/airport", dest.ident);
                rm.set(rm_path + "input", "5,5");
                break;
        }
        send(rm, route_manager_writes(route, runways));

        const auto legs = rm.legs();
        ASSERT_EQ(legs.size(), between.size() + 2);
        EXPECT_EQ(legs.front().id, leg(dep, runways.departure));
        EXPECT_EQ(legs.back().id, leg(dest, runways.arrival));
        for (std::size_t i = 0; i < between.size(); ++i) {
            EXPECT_NEAR(legs[i + 1].lat, between[i].lat, 1e-6) << "leg " << i + 1;
            EXPECT_NEAR(legs[i + 1].lon, between[i].lon, 1e-6) << "leg " << i + 1;
        }
        EXPECT_TRUE(rm.active());
        EXPECT_EQ(rm.current(), 1);
    }
}
