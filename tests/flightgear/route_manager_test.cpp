// The route manager's commands for a plan: the airports named, every point between appended in
// order (a latitude/longitude point by its position), top of climb and descent left out.

#include <gtest/gtest.h>

#include "simlink/flightgear/route_manager.h"

using simlink::fg::route_manager_writes;

TEST(RouteManager, ClearNameAppendActivate) {
    const std::vector<planner::RoutePoint> route = {{"APT", "KSFO", {37.6, -122.4}},  {"VOR", "SFO", {37.6, -122.37}},
                                                {"TOC", "*****", {37.0, -122.0}}, {"INT", "37N12", {37.0, -122.0}},
                                                {"TOD", "*****", {34.5, -119.0}}, {"APT", "KLAX", {33.9, -118.4}}};
    const auto w = route_manager_writes(route);
    std::vector<std::string> got;
    for (const auto& x : w) got.push_back(x.path + " " + x.value);
    EXPECT_EQ(got,
              (std::vector<std::string>{
                  "/autopilot/route-manager/input @CLEAR", "/autopilot/route-manager/departure/airport KSFO",
                  "/autopilot/route-manager/destination/airport KLAX", "/autopilot/route-manager/input SFO",
                  "/autopilot/route-manager/input -122.000000,37.000000", "/autopilot/route-manager/input @ACTIVATE"}));
}

TEST(RouteManager, NothingForARouteWithoutItsAirports) {
    EXPECT_TRUE(route_manager_writes({}).empty());
    EXPECT_TRUE(route_manager_writes({{"VOR", "SFO", {}}, {"APT", "KLAX", {}}}).empty());
    EXPECT_TRUE(route_manager_writes({{"APT", "K SFO", {}}, {"APT", "KLAX", {}}}).empty());
}
