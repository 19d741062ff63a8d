// panelhost --plan with a plan of another simulator: the fresh root's FlightPlans folder holds it
// converted to the FMC's format, under its own name, as routeplan converts it; a damaged plan stops
// the host before it starts, naming the file and the line.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

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

}  // namespace
