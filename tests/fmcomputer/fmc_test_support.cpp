#include "fmc_test_support.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace fmctest {

const Key kMenu{45, 234}, kRoute{83, 234}, kLegs{121, 234}, kPrevPage{159, 234}, kNextPage{197, 234};
const Key kProgress{45, 260}, kExec{83, 260}, kHrz{121, 260}, kVrt{159, 260}, kSpd{197, 260};

Key left_key(int n) { return {16, 36 + 30 * (n - 1) + 7}; }
Key right_key(int n) { return {263, 36 + 30 * (n - 1) + 7}; }

std::string data_file(const std::string& name) { return std::string(FMC_TEST_DATA) + "/" + name; }

std::string read_file(const fs::path& path) {
    std::ifstream f(path, std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

fs::path make_root(const std::string& name, const std::vector<std::string>& plans) {
    const fs::path root = fs::temp_directory_path() / "fmc_roots" / name;
    fs::remove_all(root);
    fs::create_directories(root / "NavData" / "FlightPlans");
    fs::create_directories(root / "Gauges");
    for (const auto& p : plans) fs::copy_file(data_file(p), root / "NavData" / "FlightPlans" / p);
    return root;
}

namespace {
const char* kPanel = "[Window00]\nsize=280,280\nposition=0,0\nvisible=1\ngauge00=fmcomputer!fmcomputer, 0, 0\n";
}

const char* kPanelWithDisplay =
    "[Window00]\nsize=580,300\nposition=0,0\nvisible=1\ngauge00=fmcomputer!fmcomputer, 0, 0\n"
    "gauge01=navdisplay!navdisplay, 290, 0\n";

FmcRun::FmcRun(const std::vector<std::string>& plans, const std::string& scenario, const char* scratch,
               const char* panel) {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    root_ = make_root(std::string(info->test_suite_name()) + "." + info->name(), plans);
    if (scratch) std::ofstream(root_ / "Gauges" / "fp.tmp", std::ios::binary) << scratch;
    panelhost::SessionOptions options;
    options.root = root_.string();
    options.own_aircraft = false;
    run_ = std::make_unique<PanelRun>(panel ? panel : kPanel, scenario, options);
    run_->cycles(1);
}

void FmcRun::press(Key k, int n) {
    EXPECT_TRUE(run_->panel().click_gauge("fmcomputer", k.x, k.y)) << k.x << "," << k.y;
    run_->cycles(n);
}

std::string FmcRun::line(int i) {
    auto* g = run_->panel().find_gauge("fmcomputer");
    if (!g) return "<no gauge>";
    int n = 0;
    for (auto& s : g->elements) {
        if (s->element->kind != gauge::element_string) continue;
        if (n++ == i) return s->shown_text;
    }
    return "<no line>";
}

void FmcRun::set(int token, double value) { run_->session().variables().set_double(token, value); }

void FmcRun::load_from_menu(int n) {
    press(kMenu);
    press(left_key(1));
    press(left_key(n));
}

double raw_latitude(double degrees) { return degrees / 8.998425275576774e-06; }
double raw_longitude(double degrees) {
    return (degrees < 0 ? degrees + 360.0 : degrees) / 1.2789770768341246e-12;
}

}  // namespace fmctest
