// panelhost --plan with a plan of another simulator: the fresh root's FlightPlans folder holds it
// converted to the FMC's format, under its own name, as routeplan converts it; a damaged plan stops
// the host before it starts, naming the file and the line.

#include <gtest/gtest.h>

#include <filesystem>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "program_run.h"

namespace fs = std::filesystem;
using testrun::read_text;
using testrun::run_command;

namespace {

std::string plans(const std::string& name) {
    const char* d = std::getenv("PANEL_TEST_DATA");
    return std::string(d ? d : "tests/data") + "/plans/" + name;
}

TEST(PlanImport, AnotherToolsPlanBecomesTheFmcsOnlyPlan) {
    for (const char* name : {"ksfo-klax.fms", "ksfo-klax-fs9.pln", "ksfo-klax-msfs2024.pln",
                             "ksfo-klax-airports-as-points.fgfp", "ksfo-klax-simbrief.xml"}) {
        SCOPED_TRACE(name);
        const fs::path dir = fs::temp_directory_path() / ("plan_import_" + std::to_string(::getpid()));
        fs::remove_all(dir);
        std::string out;
        ASSERT_EQ(
            run_command(
                std::string(PANELHOST_BIN) + " run --plan " + plans(name) + " --seconds 0 --out " + dir.string(), &out),
            0)
            << out;
        const std::string converted = fs::path(name).stem().string() + ".pln";
        std::vector<std::string> listed;
        for (const auto& e : fs::directory_iterator(dir / "root/NavData/FlightPlans"))
            listed.push_back(e.path().filename().string());
        ASSERT_EQ(listed, std::vector<std::string>{converted});
        ASSERT_EQ(
            run_command(std::string(ROUTEPLAN_BIN) + " convert " + plans(name) + " " + (dir / "expected.pln").string()),
            0);
        EXPECT_EQ(read_text(dir / "root/NavData/FlightPlans" / converted), read_text(dir / "expected.pln"));
        fs::remove_all(dir);
    }
}

TEST(PlanImport, ADamagedPlanStopsTheHost) {
    const fs::path dir = fs::temp_directory_path() / ("plan_import_bad_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    std::string fms = read_text(plans("ksfo-klax.fms"));
    fms.replace(fms.find("NUMENR 10"), 9, "NUMENR 12");
    std::ofstream(dir / "bad.fms", std::ios::binary) << fms;
    std::string out;
    EXPECT_EQ(run_command(std::string(PANELHOST_BIN) + " run --plan " + (dir / "bad.fms").string() +
                              " --seconds 0 --out " + (dir / "out").string(),
                          &out),
              1);
    EXPECT_NE(out.find((dir / "bad.fms").string() + ":6: NUMENR says 12 waypoints, the file holds 10"),
              std::string::npos)
        << out;
    fs::remove_all(dir);
}

// run --fly: the plan flown gate to stop by the scenario written for it, the run ending once the
// aircraft has stopped; a plan from another tool as well as the FMC's own.
TEST(PlanFlown, FlyTakesOffFliesThePlanAndLandsOnItsRunway) {
    const fs::path dir = fs::temp_directory_path() / ("plan_flown_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    for (const std::string& plan : {std::string(PANEL_SHIPPED_PLANS) + "/KSFO-KLAX.pln", plans("ksfo-klax-fs9.pln")}) {
        SCOPED_TRACE(plan);
        std::string out;
        ASSERT_EQ(run_command(std::string(PANELHOST_BIN) + " run --fly --plan " + plan + " --out " + dir.string(), &out), 0)
            << out;
        // The runway the plan lands on, as the scenario names it: "... to KLAX 24R (panelhost run --fly)".
        const std::string scenario = read_text(dir / "fly.txt");
        const std::size_t to = scenario.find(" to KLAX ");
        ASSERT_NE(to, std::string::npos) << scenario;
        const std::string runway = scenario.substr(to + 9, scenario.find(' ', to + 9) - to - 9);
        EXPECT_NE(scenario.find("autopilot approach"), std::string::npos);
        const std::string landing = read_text(dir / "landing.txt");
        EXPECT_NE(landing.find("stopped on KLAX " + runway + ":"), std::string::npos) << landing;
        // No more than 250 kt below 10,000 ft, climbing or descending (flight.csv: altitude, ias).
        std::istringstream csv(read_text(dir / "flight.csv"));
        std::string row;
        std::getline(csv, row);
        double fastest_low = 0;
        while (std::getline(csv, row)) {
            double t = 0, lat = 0, lon = 0, altitude = 0, ias = 0;
            if (std::sscanf(row.c_str(), "%lf,%lf,%lf,%lf,%lf", &t, &lat, &lon, &altitude, &ias) == 5 &&
                altitude > 500 && altitude < 10000)
                fastest_low = std::max(fastest_low, ias);
        }
        EXPECT_GT(fastest_low, 200.0);
        EXPECT_LE(fastest_low, 252.0);
        fs::remove_all(dir);
    }
    std::string out;
    EXPECT_EQ(run_command(std::string(PANELHOST_BIN) + " run --fly --out " + dir.string(), &out), 2);
    EXPECT_NE(out.find("--fly needs the plan to fly (--plan FILE)"), std::string::npos) << out;
    EXPECT_EQ(run_command(std::string(PANELHOST_BIN) + " run --fly --plan KSFO-KLAX.pln --scenario x.txt --out " + dir.string(),
                  &out),
              2);
    EXPECT_NE(out.find("--fly writes its own scenario"), std::string::npos) << out;
    // An arrival runway without an ILS: said before anything flies.
    const fs::path route = fs::temp_directory_path() / ("plan_flown_" + std::to_string(::getpid()) + ".route");
    std::ofstream(route) << "KSFO/28R SFO KSNS/13\n";
    EXPECT_EQ(run_command(std::string(PANELHOST_BIN) + " run --fly --plan " + route.string() + " --out " + dir.string(), &out),
              1);
    EXPECT_NE(out.find("KSNS 13 has no ILS in the world data"), std::string::npos) << out;
    fs::remove(route);
    fs::remove_all(dir);
}

}  // namespace
