#pragma once
// Runs the FMC alone in the real host over a simulator root holding chosen plan files, with the
// variables under the test's control (the host's aircraft does not publish).

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "panel_fixture.h"

namespace fmctest {

// Key positions in the FMC's own pixels.
struct Key {
    int x, y;
};
Key left_key(int n);   // L1..L6
Key right_key(int n);  // R1..R6
extern const Key kMenu, kRoute, kLegs, kPrevPage, kNextPage, kProgress, kExec, kHrz, kVrt, kSpd;

// The FMC with the navigation display beside it, which takes every plan the FMC publishes.
extern const char* kPanelWithDisplay;

// A fresh root under the temporary folder with these plans (file names in tests/data/fmc).
std::filesystem::path make_root(const std::string& name, const std::vector<std::string>& plans);
std::string data_file(const std::string& name);
std::string read_file(const std::filesystem::path& path);

class FmcRun {
public:
    // scratch, when given, is written to Gauges/fp.tmp before the panel loads; panel replaces the
    // FMC-only panel.
    explicit FmcRun(const std::vector<std::string>& plans, const std::string& scenario = "",
                    const char* scratch = nullptr, const char* panel = nullptr);
    PanelRun& run() { return *run_; }
    void press(Key k, int cycles = 1);
    void cycles(int n) { run_->cycles(n); }
    // The text the host last drew on screen line i (0..13).
    std::string line(int i);
    void set(int token, double value);
    const std::filesystem::path& root() const { return root_; }
    // Loads the plan shown on LOAD line n of screen page 1 (MENU, L1, then Ln).
    void load_from_menu(int n);

private:
    std::filesystem::path root_;
    std::unique_ptr<PanelRun> run_;
};

// Raw variable values for a position in degrees.
double raw_latitude(double degrees);
double raw_longitude(double degrees);

}  // namespace fmctest
