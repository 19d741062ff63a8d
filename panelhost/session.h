#pragma once
// A run of the panel: the simulator root prepared, the panel loaded, the scenario played against
// the host's aircraft, one panel cycle per step, and the results written out.

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "panelhost/panel.h"
#include "panelhost/scenario.h"
#include "panelhost/variables.h"
#include "platform/clock.h"
#include "platform/result.h"
#include "platform/shared_block.h"
#include "sim/aircraft.h"

namespace panelhost {

struct SessionOptions {
    std::string root;      // simulator root; empty: made fresh under the output folder
    std::string panel;     // panel configuration; empty: the project's default panel
    std::string scenario;  // empty: none
    std::string out;       // output folder (pictures, logs)
    double rate = 18.0;    // panel cycles per second
    int format_bits = 8;
    int image_pitch_padding = 0;
    plat::ClockMode clock = plat::ClockMode::simulated;
    bool own_aircraft = true;  // the host's aircraft feeds the variables
    std::vector<std::string> extra_module_folders;  // searched after the root's and the built ones
};

// Where the project's data and the built modules are.
std::string default_data_dir();
std::string default_module_dir();

class Session {
public:
    static plat::Result<std::unique_ptr<Session>> open(const SessionOptions& options);
    ~Session();

    // One panel cycle: due scenario commands, the aircraft, the gauges, then the clock moves on.
    void step();
    void run_for(double seconds);
    double time() const { return static_cast<double>(cycle_) / options_.rate; }
    std::uint64_t cycles() const { return cycle_; }

    // Writes window<NN>.png for every open window, events.log, messages.log and windows.txt.
    plat::Result<bool> write_outputs();
    plat::Result<bool> snapshot(const std::string& prefix);
    plat::Result<bool> dump(const std::string& name);
    // Unloads every gauge; the modules write their state files.
    void finish();

    Panel& panel() { return *panel_; }
    VariableStore& variables() { return variables_; }
    sim::Aircraft& aircraft() { return aircraft_; }
    const std::vector<std::string>& problems() const { return problems_; }
    const std::string& root() const { return root_; }
    const std::string& out() const { return out_; }
    // Command errors met while playing the scenario (a gauge that is not on the panel...).
    const std::vector<std::string>& warnings() const { return warnings_; }

private:
    Session() = default;
    void run_command(const Command& c);
    void apply_ramps();
    void reload();

    SessionOptions options_;
    std::string root_, out_;
    PanelConfig config_;
    Scenario scenario_;
    std::size_t next_command_ = 0;
    VariableStore variables_;
    sim::Aircraft aircraft_;
    std::unique_ptr<Panel> panel_;
    std::uint64_t cycle_ = 0;
    std::vector<std::string> problems_, warnings_;
    struct Ramp {
        int token;
        double from, to, start, seconds;
    };
    std::vector<Ramp> ramps_;
    double release_at_ = -1;  // a held click ends here
    std::vector<int> keys_to_release_;
    std::set<int> owned_tokens_;            // set by the scenario; the aircraft leaves them alone
    std::vector<plat::SharedBlock> poked_;  // kept open, as the module that wrote them would
    bool finished_ = false;
};

}  // namespace panelhost
