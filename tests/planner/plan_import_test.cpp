// panelhost --plan with a plan of another simulator: the fresh root's FlightPlans folder holds it
// converted to the FMC's format, under its own name, as routeplan converts it; a damaged plan stops
// the host before it starts, naming the file and the line.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

int run(const std::string& command, std::string* output = nullptr) {
    FILE* p = ::popen((command + " 2>&1").c_str(), "r");
    if (!p) return -1;
    std::array<char, 4096> buffer{};
    std::size_t n = 0;
    std::string out;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), p)) > 0) out.append(buffer.data(), n);
    const int status = ::pclose(p);
    if (output) *output = out;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

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
        ASSERT_EQ(run(std::string(PANELHOST_BIN) + " run --plan " + plans(name) + " --seconds 0 --out " + dir.string(),
                      &out),
                  0)
            << out;
        const std::string converted = fs::path(name).stem().string() + ".pln";
        std::vector<std::string> listed;
        for (const auto& e : fs::directory_iterator(dir / "root/NavData/FlightPlans"))
            listed.push_back(e.path().filename().string());
        ASSERT_EQ(listed, std::vector<std::string>{converted});
        ASSERT_EQ(run(std::string(ROUTEPLAN_BIN) + " convert " + plans(name) + " " + (dir / "expected.pln").string()), 0);
        EXPECT_EQ(slurp(dir / "root/NavData/FlightPlans" / converted), slurp(dir / "expected.pln"));
        fs::remove_all(dir);
    }
}

TEST(PlanImport, ADamagedPlanStopsTheHost) {
    const fs::path dir = fs::temp_directory_path() / ("plan_import_bad_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    std::string fms = slurp(plans("ksfo-klax.fms"));
    fms.replace(fms.find("NUMENR 10"), 9, "NUMENR 12");
    std::ofstream(dir / "bad.fms", std::ios::binary) << fms;
    std::string out;
    EXPECT_EQ(run(std::string(PANELHOST_BIN) + " run --plan " + (dir / "bad.fms").string() + " --seconds 0 --out " +
                      (dir / "out").string(),
                  &out),
              1);
    EXPECT_NE(out.find((dir / "bad.fms").string() + ":6: NUMENR says 12 waypoints, the file holds 10"),
              std::string::npos)
        << out;
    fs::remove_all(dir);
}

}  // namespace
