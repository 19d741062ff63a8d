// The FMC's route as an X-Plane plan: read back by the planner's own .fms reader with the same
// points, latitude/longitude and approach points as the user's own, nothing for a route without
// its airports, and the file written whole into the folder X-Plane's FMS lists.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "flightplan/formats/fms_format.h"
#include "simlink/xplane/fms_output.h"

using namespace simlink::xp;

namespace {

std::vector<planner::RoutePoint> route() {
    return {{"APT", "KSFO", {37.619, -122.375}}, {"VOR", "SFO", {37.619, -122.374}},
            {"TOC", "*****", {37.2, -122.1}},    {"INT", "37N12", {37.0, -122.0}},
            {"INT", "SANTY", {36.5, -121.6}},    {"TOD", "*****", {34.5, -119.0}},
            {"INT", "FF24R", {33.90, -118.62}},  {"APT", "KLAX", {33.943, -118.408}}};
}

}  // namespace

TEST(FmsOutput, TheRouteReadsBackPointForPoint) {
    const std::string text = fms_text(route());
    ASSERT_FALSE(text.empty());
    auto plan = planner::read_fms(text, "out.fms");
    ASSERT_TRUE(plan) << plan.error() << "\n" << text;
    std::vector<std::string> idents;
    for (const auto& w : plan->waypoints) idents.push_back(w.place.ident);
    ASSERT_EQ(plan->waypoints.size(), 6u) << text;
    EXPECT_EQ(plan->waypoints.front().place.ident, "KSFO");
    EXPECT_EQ(plan->waypoints.back().place.ident, "KLAX");
    EXPECT_EQ(plan->waypoints[1].place.ident, "SFO");
    EXPECT_EQ(plan->waypoints[3].place.ident, "SANTY");
    EXPECT_TRUE(plan->waypoints[2].user_point);  // 37N12, by its position
    EXPECT_NEAR(plan->waypoints[2].place.at.lat, 37.0, 1e-4);
    EXPECT_TRUE(plan->waypoints[4].user_point);  // the approach point
    EXPECT_NEAR(plan->waypoints[4].place.at.lon, -118.62, 1e-4);
}

TEST(FmsOutput, NothingWithoutBothAirports) {
    auto r = route();
    r.pop_back();
    EXPECT_EQ(fms_text(r), "");
    EXPECT_EQ(fms_text({}), "");
    r = route();
    r.front().ident = "../x";
    EXPECT_EQ(fms_text(r), "");  // no airport ident: no file name made of it
    EXPECT_FALSE(write_fms_plan("/tmp", r));
}

TEST(FmsOutput, WrittenIntoTheFmsPlansFolder) {
    const auto folder = std::filesystem::temp_directory_path() / "xplane_fms_output_test";
    std::filesystem::remove_all(folder);
    auto path = write_fms_plan(folder.string(), route());
    ASSERT_TRUE(path) << path.error();
    EXPECT_EQ(*path, (folder / "Output/FMS plans/KSFO-KLAX.fms").string());
    std::ifstream in(*path);
    std::stringstream s;
    s << in.rdbuf();
    EXPECT_EQ(s.str(), fms_text(route()));
    EXPECT_FALSE(std::filesystem::exists(*path + ".part"));
    std::filesystem::remove_all(folder);
}
