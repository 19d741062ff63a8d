#pragma once
// A run of the panel: the simulator root prepared, the panel loaded, the scenario played against
// the host's aircraft, one panel cycle per step, and the results written out.

#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "panelhost/navdata_source.h"
#include "panelhost/landing_field.h"
#include "panelhost/panel.h"
#include "panelhost/plan_watch.h"
#include "panelhost/scenario.h"
#include "panelhost/variables.h"
#include "platform/clock.h"
#include "platform/folder_lock.h"
#include "platform/result.h"
#include "platform/shared_block.h"
#include "reports/flight_record.h"
#include "reports/landing_watch.h"
#include "sim/aircraft.h"

namespace simlink {
class Link;
}

namespace panelhost {

// The file in SessionOptions::lock_folder whose lock a run holds.
inline constexpr const char* kLockFile = "panelhost.lock";

struct SessionOptions {
    std::string root;      // simulator root; empty: made fresh under the output folder
    // The root is kept from run to run and filled from the installed defaults (prepare_kept_root).
    bool kept_root = false;
    // A folder no two runs may use at once (the user's own folder, which holds the kept root and the
    // default output): its lock is taken before anything in it is touched, and held to the end.
    std::string lock_folder;
    std::string lock_holder = "panelhost";  // who the lock file says holds it
    bool wait_for_lock = false;             // wait for the folder instead of refusing it
    std::string panel;     // panel configuration; empty: the project's default panel
    std::string scenario;  // empty: none
    std::string plan;      // a flight plan file: the fresh root's only plan, added to a given root's
    bool fly = false;      // the plan flown gate to stop by a scenario written for it (fly_scenario.h)
    // --navdata: a database navimport made, a world data source, or "shipped" (navdata_source.h);
    // empty: the shipped data, or in a kept root the user's last choice.
    std::string navdata;
    // Kept roots: the state file that keeps the user's choice of navigation data between runs.
    std::string navdata_choice;
    std::string out;       // output folder (pictures, logs)
    double rate = 18.0;    // panel cycles per second
    int format_bits = 8;
    int image_pitch_padding = 0;
    int fail_surface_step = 0;  // a rendered display's surface creation step the driver refuses (0 none)
    plat::ClockMode clock = plat::ClockMode::simulated;
    bool own_aircraft = true;  // the host's aircraft feeds the variables
    // "flightgear[=HOST[:PORT]]" or "xplane[=HOST[:PORT]]": a running simulator feeds them instead
    // and takes the key events, as the binding file says (empty: the shipped one for it).
    std::string sim;
    std::string sim_bindings;
    // X-Plane's folder: the plan the FMC loads is also written as an .fms into its Output/FMS plans/.
    std::string xplane_folder;
    std::vector<std::string> extra_module_folders;  // searched after the root's and the built ones
    // Sound: a real device when asked for and present, else SDL's dummy driver, so a headless run never
    // fails for lack of sound. A capture path also writes everything played to that WAV file.
    bool audio_device = false;
    std::string audio_capture;
    // A further top-level window to announce (class, title), as another host would show.
    std::string host_window_class, host_window_title;
};

// The main job's flight (the demo scenario with its shipped plan) with the host's aircraft, or with
// `demo` false the default panel alone, nothing feeding it: what the tests and benchmarks that
// measure the whole panel run.
SessionOptions panel_options(const std::string& out, bool demo);

// Where the installed data, modules and navigation database are (install/install_layout.h).
std::string default_data_dir();
std::string default_module_dir();
std::string default_navdata_dir();

// Takes part in every panel cycle, on the panel thread: input applied before the cycle, pictures
// taken after it (the browser's server).
class CycleHook {
public:
    virtual ~CycleHook() = default;
    virtual void before_cycle() = 0;
    virtual void after_cycle() = 0;
};

class Session {
public:
    static plat::Result<std::unique_ptr<Session>> open(const SessionOptions& options);
    ~Session();

    // One panel cycle: due scenario commands, the aircraft, the gauges, then the clock moves on.
    void step();
    void run_for(double seconds);
    double time() const { return static_cast<double>(cycle_) / options_.rate; }
    std::uint64_t cycles() const { return cycle_; }

    // Writes window<NN>.png for every open window, events.log, messages.log, windows.txt, and the
    // flight of the host's aircraft or the linked simulator's: flight.csv (one row per simulated
    // second), track.png (over the FMC's last plan) and, when the host's aircraft landed,
    // landing.txt (the touchdown's figures and the stop). Commands whose "when" never held are
    // warnings.
    plat::Result<bool> write_outputs();
    plat::Result<bool> snapshot(const std::string& prefix);
    // Writes <name>-blocks.txt, <name>-strings.txt and <name>-areas.txt (the clickable areas).
    plat::Result<bool> dump(const std::string& name);
    // Appends "t=<s> <label> rss_kb=.. fds=.. maps=.. blocks=.." to stats.log (label "-" when none).
    plat::Result<bool> log_stats(const std::string& label);
    // Unloads every gauge; the modules write their state files.
    void finish();
    // How many files the modules (or the host) could not save during the session, each said on the
    // terminal once as it failed.
    std::size_t failed_saves() const { return saves_said_ - saves_before_; }
    // The hook is called every cycle until removed; it must outlive that.
    void add_cycle_hook(CycleHook* hook) { hooks_.push_back(hook); }
    void remove_cycle_hook(CycleHook* hook) { std::erase(hooks_, hook); }

    Panel& panel() { return *panel_; }
    VariableStore& variables() { return variables_; }
    sim::Aircraft& aircraft() { return aircraft_; }
    // The aircraft the panel follows: the linked simulator's when one is flown, else the host's.
    sim::AircraftState flown_aircraft() const;
    const std::vector<std::string>& problems() const { return problems_; }
    const std::string& root() const { return root_; }
    const std::string& out() const { return out_; }
    // Command errors met while playing the scenario (a gauge that is not on the panel...).
    const std::vector<std::string>& warnings() const { return warnings_; }
    // When the scenario flies a landing (a command waits for the aircraft to stop, "when
    // approach=stopped") and the host's aircraft did not end it stopped on a runway: what happened
    // instead. A run that says so fails.
    std::optional<std::string> missed_landing() const;
    // With fly: the simulated seconds the flight needs, take-off to stop; else 0.
    double flight_seconds() const { return flight_seconds_; }
    // The line that told of the crash that ended the flight ("t=.. s crash: ..."): from then on the
    // aircraft moves no more and a headless run ends.
    const std::optional<std::string>& crash() const { return landing_.crash(); }

private:
    friend struct CommandRunner;
    Session() = default;
    plat::Result<bool> prepare_folder();
    plat::Result<bool> write_flight(const std::string& plan_name);
    // The navigation data of the run (the option, else the kept choice), the choice kept.
    plat::Result<NavdataSource> choose_navdata();
    void prepare_platform();
    plat::Result<bool> prepare_aircraft_source();
    void plan_changed();
    // The aircraft's variables to the store, but those the scenario owns.
    void publish_aircraft();
    void run_command(const Command& c);
    bool condition_met(const Condition& when) const;
    void run_due_commands(double t);
    void apply_ramps();
    void reload();
    void say_failed_saves();

    plat::FolderLock lock_;  // first, so that it is let go last
    SessionOptions options_;
    std::string root_, out_;
    std::string world_dir_;  // the world data behind the run's navigation database; empty when unknown
    PanelConfig config_;
    Scenario scenario_;
    double flight_seconds_ = 0;
    std::size_t next_command_ = 0;
    std::vector<const Command*> waiting_;  // due, held back by their "when"; in file order
    VariableStore variables_;
    sim::Aircraft aircraft_;
    std::unique_ptr<simlink::Link> link_;  // in the aircraft's place when another simulator is flown
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
    // One handle per poked block, kept open as the module that wrote it would (a scenario that pokes
    // the same block all run long holds one, not one per poke).
    std::map<std::string, plat::SharedBlock> poked_;
    bool finished_ = false;
    std::size_t saves_before_ = 0, saves_said_ = 0;
    std::ofstream events_log_;
    reports::FlightRecorder flight_;
    PlanWatch plans_;
    std::vector<CycleHook*> hooks_;
    reports::LandingWatch landing_;
    LandingField field_;
    double field_elevation_ft_ = 0;  // as last looked at for the scenario's height conditions
};

}  // namespace panelhost
