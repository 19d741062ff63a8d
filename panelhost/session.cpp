#include "panelhost/session.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "flightplan/route/navdb.h"
#include "install/install_layout.h"
#include "panelhost/fly_scenario.h"
#include "panelhost/module_log.h"
#include "panelhost/process_stats.h"
#include "panelhost/root_folder.h"
#include "platform/atomic_file.h"
#include "platform/audio.h"
#include "platform/file_error.h"
#include "platform/keyboard.h"
#include "platform/message_box.h"
#include "platform/offscreen_surface.h"
#include "platform/window_registry.h"
#include "reports/track_picture.h"
#include "panelhost/sim_link.h"
#include "simlink/xplane/fms_output.h"

namespace panelhost {
namespace fs = std::filesystem;

namespace {

constexpr plat::WindowId kMainWindow = 1;
constexpr plat::WindowId kExtraWindow = 2;

// Writes the aircraft's variables, except those the scenario has taken over.
class StoreSink : public sim::TokenSink {
public:
    StoreSink(VariableStore& store, const std::set<int>& owned) : store_(store), owned_(owned) {}
    void set_double(int token, double value) override {
        if (!owned_.count(token)) store_.set_double(token, value);
    }
    void set_int(int token, std::int32_t value) override {
        if (!owned_.count(token)) store_.set_int(token, value);
    }
    void set_text(int token, std::string_view text) override {
        if (!owned_.count(token)) store_.set_text(token, text);
    }

private:
    VariableStore& store_;
    const std::set<int>& owned_;
};

std::string absolute(const std::string& path) {
    if (path.empty()) return path;
    std::error_code ec;
    fs::path p = fs::absolute(path, ec);
    return ec ? path : p.lexically_normal().string();
}

std::string escape_bytes(const std::uint8_t* data, std::size_t size) {
    std::string out;
    out.reserve(size);
    for (std::size_t i = 0; i < size; ++i) {
        const std::uint8_t b = data[i];
        if (b == '\\') {
            out += "\\\\";
        } else if (b >= 0x20 && b < 0x7F) {
            out += static_cast<char>(b);
        } else {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02X", b);
            out += hex;
        }
    }
    return out;
}

std::string window_file(const std::string& prefix, int number) {
    char name[32];
    std::snprintf(name, sizeof name, "window%02d.png", number);
    return prefix + name;
}

}  // namespace

SessionOptions panel_options(const std::string& out, bool demo) {
    SessionOptions options;
    options.out = out;
    if (demo) {
        options.scenario = default_data_dir() + "/scenarios/demo.txt";
        options.plan = "KSFO-KLAX.pln";
    } else {
        options.own_aircraft = false;
    }
    return options;
}

std::string default_data_dir() { return install::data_dir(); }
std::string default_navdata_dir() { return install::navdb_dir(); }
std::string default_module_dir() { return install::module_dir(); }

plat::Result<std::unique_ptr<Session>> Session::open(const SessionOptions& options) {
    std::unique_ptr<Session> s(new Session());
    s->options_ = options;
    s->saves_said_ = s->saves_before_ = plat::failed_save_count();
    if (auto r = s->prepare_folder(); !r) return plat::Error{r.error()};
    s->prepare_platform();
    PanelOptions po;
    po.root = s->root_;
    po.own_module_folder = s->root_ + "/Gauges";
    po.module_folders = {default_module_dir()};
    po.module_folders.insert(po.module_folders.end(), options.extra_module_folders.begin(),
                             options.extra_module_folders.end());
    po.format_bits = options.format_bits;
    po.image_pitch_padding = options.image_pitch_padding;
    s->panel_ = std::make_unique<Panel>(po, s->variables_);
    if (auto r = s->prepare_aircraft_source(); !r) return plat::Error{r.error()};
    s->problems_ = s->panel_->load(s->config_);
    for (const auto& p : s->problems_) std::fprintf(stderr, "panelhost: %s\n", p.c_str());
    if (auto logged = write_module_log(s->out_ + "/modules.log", *s->panel_); !logged)
        return plat::Error{logged.error()};
    return s;
}

// The output folder, the panel and the scenario read, and the simulator folder made ready and
// entered; every path given is taken as it was meant before the folder changes.
plat::Result<bool> Session::prepare_folder() {
    const SessionOptions& options = options_;
    if (options.out.empty()) return plat::Error{"an output folder is needed (--out DIR)"};
    if (!options.lock_folder.empty()) {
        std::error_code ec;
        fs::create_directories(options.lock_folder, ec);
        if (ec) return plat::Error{options.lock_folder + ": " + ec.message()};
        auto lock = plat::FolderLock::take(options.lock_folder, kLockFile, options.lock_holder, options.wait_for_lock,
                                           [](const std::string& who) {
                                               std::fprintf(stderr, "panelhost: waiting for %s to finish\n",
                                                            who.c_str());
                                           });
        if (!lock) return plat::Error{lock.error() + (options.wait_for_lock ? "" : "; --wait waits for it")};
        lock_ = std::move(lock).value();
    }
    out_ = absolute(options.out);
    options_.audio_capture = absolute(options.audio_capture);
    std::error_code ec;
    fs::create_directories(out_, ec);
    if (ec) return plat::Error{out_ + ": " + ec.message()};

    const std::string data = default_data_dir();
    const std::string panel_path = absolute(options.panel.empty() ? data + "/panel/default.cfg" : options.panel);
    auto config = load_panel_config(panel_path);
    if (!config) return plat::Error{config.error()};
    config_ = std::move(config).value();
    if (!options.scenario.empty()) {
        auto scenario = load_scenario(absolute(options.scenario));
        if (!scenario) return plat::Error{scenario.error()};
        scenario_ = std::move(scenario).value();
    }

    auto navdata = choose_navdata();
    if (!navdata) return plat::Error{navdata.error()};
    if (!navdata->note.empty()) std::fprintf(stderr, "panelhost: %s\n", navdata->note.c_str());
    world_dir_ = navdata->world;
    std::string plan_name;
    if (options.root.empty()) {
        root_ = out_ + "/root";
        if (auto made = prepare_root(root_, data); !made) return plat::Error{made.error()};
    } else {
        root_ = absolute(options.root);
        auto made = options.kept_root ? prepare_kept_root(root_, data, default_module_dir()) : complete_root(root_);
        if (!made) return plat::Error{made.error()};
    }
    // A root the user gave is taken as it is, unless navigation data was asked for.
    if (options.root.empty() || options.kept_root || !options.navdata.empty())
        if (auto installed = install_navdata(root_, *navdata); !installed) return plat::Error{installed.error()};
    if (!options.plan.empty() && options.root.empty()) {
        auto only = keep_only_plan(root_, options.plan, data, world_dir_);
        if (!only) return plat::Error{only.error()};
        plan_name = *only;
    } else if (!options.plan.empty()) {
        auto added = add_plan(root_, options.plan, data, world_dir_);
        if (!added) return plat::Error{added.error()};
        plan_name = *added;
    }
    if (options.fly)
        if (auto flown = write_flight(plan_name); !flown) return plat::Error{flown.error()};
    // Modules name their files relative to the simulator's working folder, as on the desktop.
    if (::chdir(root_.c_str()) != 0) return plat::Error{root_ + ": cannot enter the root folder"};
    return true;
}

// The scenario of --fly, written for the plan as the root holds it (fly.txt in the output folder,
// for the user to read or change) and played as a scenario given.
plat::Result<bool> Session::write_flight(const std::string& plan_name) {
    const std::string plan_path = root_ + "/NavData/FlightPlans/" + plan_name;
    std::ifstream in(plan_path, std::ios::binary);
    const std::string plan((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in && !in.eof()) return plat::Error{plan_path + ": cannot read"};
    if (world_dir_.empty()) return plat::Error{"--fly needs the world data the navigation data came from"};
    auto db = planner::NavDb::load(world_dir_);
    if (!db) return plat::Error{db.error()};
    auto flight = fly_scenario(plan, *db, plan_name);
    if (!flight) return plat::Error{"--fly: " + plan_path + ": " + flight.error()};
    const std::string path = out_ + "/fly.txt";
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << flight->text;
        if (!out) return plat::cannot_write(path);
    }
    auto scenario = load_scenario(path);
    if (!scenario) return plat::Error{scenario.error()};
    scenario_ = std::move(scenario).value();
    flight_seconds_ = flight->seconds;
    return true;
}

plat::Result<NavdataSource> Session::choose_navdata() {
    std::string choice = options_.navdata;
    const std::string& state = options_.navdata_choice;
    if (choice.empty() && !state.empty()) {
        auto kept = kept_navdata_choice(state);
        if (!kept) return plat::Error{kept.error()};
        choice = *kept;
    }
    if (choice.empty()) return shipped_navdata();
    auto source = navdata_source(choice);
    if (!source) {
        if (options_.navdata.empty())
            return plat::Error{source.error() + " (the choice kept in " + state + "; --navdata " + kShippedNavdata +
                               " goes back to the shipped data)"};
        return plat::Error{source.error()};
    }
    if (!options_.navdata.empty() && !state.empty())
        if (auto kept = keep_navdata_choice(state, choice); !kept) return plat::Error{kept.error()};
    return source;
}

// The platform as the modules find it: the clock, the sound, the display surfaces, the message
// boxes and the host's windows.
void Session::prepare_platform() {
    const SessionOptions& options = options_;
    plat::set_clock_mode(options.clock, 0);
    // The options apply when the output next opens, so a device left open by an earlier run goes first.
    plat::shutdown_audio_output();
    plat::AudioOutputOptions audio;
    audio.capture_wav_path = options.audio_capture;
    audio.force_dummy = !options.audio_device;
    // In simulated time the sound follows the simulated clock, so a capture holds the whole run.
    audio.clocked_by_host = options.clock == plat::ClockMode::simulated && !options.audio_device;
    plat::configure_audio_output(audio);
    plat::set_refused_surface_step(options.fail_surface_step);
    plat::clear_message_log();
    plat::register_window(kMainWindow, "FS98MAIN", "Microsoft Flight Simulator");
    if (!options.host_window_class.empty() || !options.host_window_title.empty())
        plat::register_window(kExtraWindow, options.host_window_class, options.host_window_title);
}

// What feeds the variables and takes the key events: another simulator over its link, or the host's own
// aircraft; the key events also go to events.log as they are sent.
plat::Result<bool> Session::prepare_aircraft_source() {
    if (!options_.sim.empty()) {
        SimLinkRequest request{options_.sim, options_.sim_bindings, default_data_dir() + "/sim", options_.rate};
        auto link = open_sim_link(request);
        if (!link) return plat::Error{link.error()};
        link_ = std::move(link).value();
        options_.own_aircraft = false;
        StoreSink sink(variables_, owned_tokens_);
        link_->publish(sink);
    }
    // The events go to the log as they are sent: a run of hours sends more than are kept.
    events_log_.open(out_ + "/events.log", std::ios::binary | std::ios::trunc);
    if (!events_log_) return plat::cannot_write(out_ + "/events.log");
    panel_->log_key_event = [this](const KeyEvent& e) { events_log_ << format_key_event(e) << '\n'; };
    panel_->on_key_event = [this](std::uint32_t id, std::uint32_t value) {
        if (link_) link_->apply_key_event(id, value);
        else aircraft_.apply_key_event(id, value);
    };
    // The flight is recorded whoever flies it: the host's aircraft, or the linked simulator's.
    if (options_.own_aircraft || link_) {
        std::string why;
        // Without a world behind the database the radios tune the shipped stations.
        const std::string world = world_dir_.empty() ? shipped_navdata().world : world_dir_;
        if (auto w = sim::World::load_shared(world, &why)) aircraft_.use_world(std::move(w));
        else std::fprintf(stderr, "panelhost: %s: no magnetic variation, ground at sea level\n", why.c_str());
        if (options_.own_aircraft) publish_aircraft();
        if (auto e = flight_.open_csv(out_ + "/flight.csv")) return *e;
    }
    return true;
}

// A plan the FMC loaded: to the linked simulator's own navigation, and as an X-Plane plan into the
// X-Plane folder when one is given.
void Session::plan_changed() {
    if (link_) link_->put_route(plans_.route(), plans_.runways());
    if (options_.xplane_folder.empty()) return;
    auto written = simlink::xp::write_fms_plan(options_.xplane_folder, plans_.route());
    if (written) std::fprintf(stderr, "panelhost: the FMC's plan written for X-Plane's FMS: %s\n", written->c_str());
    else std::fprintf(stderr, "panelhost: no X-Plane plan written: %s\n", written.error().c_str());
}

sim::AircraftState Session::flown_aircraft() const { return link_ ? link_->aircraft() : aircraft_.state(); }

void Session::publish_aircraft() {
    StoreSink sink(variables_, owned_tokens_);
    aircraft_.publish(sink);
}

Session::~Session() { finish(); }

void Session::reload() {
    panel_->unload();
    problems_ = panel_->load(config_);
    for (const auto& p : problems_) std::fprintf(stderr, "panelhost: %s\n", p.c_str());
}

void Session::step() {
    if (finished_) return;
    for (int vk : keys_to_release_) plat::set_key_state(vk, false);
    keys_to_release_.clear();
    const double t = time();
    panel_->set_time(t);
    for (CycleHook* h : hooks_) h->before_cycle();
    if (release_at_ >= 0 && t >= release_at_) {
        panel_->release();
        release_at_ = -1;
    }
    // A crashed aircraft lies where it came to rest.
    if (options_.own_aircraft && !crash()) {
        aircraft_.step(1.0 / options_.rate);
        publish_aircraft();
    }
    if (link_) {
        StoreSink sink(variables_, owned_tokens_);
        link_->publish(sink);
        // The plan the FMC loads goes to the simulator's own navigation too; a look once a second will do.
        if (cycle_ % static_cast<std::uint64_t>(std::max(1.0, options_.rate)) == 0 && plans_.poll()) plan_changed();
        flight_.sample(t, link_->aircraft());
    }
    run_due_commands(t);
    apply_ramps();
    if (options_.own_aircraft) {
        const std::uint64_t before = flight_.taken();
        flight_.sample(t, aircraft_.state());
        if (flight_.taken() != before && plans_.poll()) plan_changed();
        for (const std::string& line : landing_.poll(aircraft_)) std::fprintf(stderr, "panelhost: %s\n", line.c_str());
        if (crash()) flight_.record_crash(aircraft_.elapsed(), aircraft_.state());
    }
    panel_->cycle(t);
    for (CycleHook* h : hooks_) h->after_cycle();
    say_failed_saves();
    const auto ms_now = static_cast<std::uint64_t>(std::llround(cycle_ * 1000.0 / options_.rate));
    ++cycle_;
    const auto ms_next = static_cast<std::uint64_t>(std::llround(cycle_ * 1000.0 / options_.rate));
    if (options_.clock == plat::ClockMode::simulated) {
        plat::advance_clock_ms(static_cast<std::uint32_t>(ms_next - ms_now));
        plat::advance_audio_output(static_cast<std::uint32_t>(ms_next - ms_now));
    }
}

void Session::say_failed_saves() {
    if (plat::failed_save_count() == saves_said_) return;
    for (const std::string& error : plat::failed_saves(saves_said_)) {
        std::fprintf(stderr, "panelhost: not saved: %s\n", error.c_str());
        ++saves_said_;
    }
}

void Session::run_for(double seconds) {
    const auto end = cycle_ + static_cast<std::uint64_t>(std::llround(seconds * options_.rate));
    // In real time (a live simulator on the other side) each cycle waits for its moment.
    const auto start = std::chrono::steady_clock::now();
    const auto first = cycle_;
    while (cycle_ < end) {
        step();
        if (options_.clock == plat::ClockMode::real)
            std::this_thread::sleep_until(start + std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                                                      std::chrono::duration<double>((cycle_ - first) / options_.rate)));
    }
}

plat::Result<bool> Session::snapshot(const std::string& prefix) {
    panel_->compose();
    for (auto& w : panel_->windows()) {
        if (!w->open) continue;
        const std::string path = window_file(out_ + "/" + prefix, w->config.number);
        if (auto r = write_png(w->picture, path); !r) return r;
    }
    return true;
}

plat::Result<bool> Session::dump(const std::string& name) {
    {
        const std::string path = out_ + "/" + name + "-blocks.txt";
        std::ofstream f(path, std::ios::binary);
        if (!f) return plat::cannot_write(path);
        for (const auto& info : plat::list_shared_blocks()) {
            auto block = plat::SharedBlock::open_existing(info.name);
            if (!block) continue;
            auto view = block->map(plat::Access::read_only);
            if (!view) continue;
            // The size the creator asked for; the bytes of the whole block, less the zeros that
            // follow both the request and the last non-zero byte.
            const auto* bytes = view->as<const std::uint8_t>();
            std::size_t shown = view->size();
            while (shown > info.requested && bytes[shown - 1] == 0) --shown;
            f << info.name << ' ' << info.requested << ' ' << escape_bytes(bytes, shown) << '\n';
        }
    }
    {
        const std::string path = out_ + "/" + name + "-strings.txt";
        std::ofstream f(path, std::ios::binary);
        if (!f) return plat::cannot_write(path);
        for (auto& g : panel_->gauges())
            for (std::size_t i = 0; i < g->elements.size(); ++i) {
                const ElementState& s = *g->elements[i];
                if (s.element->kind != gauge::element_string) continue;
                f << g->placement.module << ' ' << i << " \"" << s.shown_text << "\"\n";
            }
    }
    // The gauge as a scenario's click names it (blanks as '_'), then the area in its pixels.
    const std::string path = out_ + "/" + name + "-areas.txt";
    std::ofstream f(path, std::ios::binary);
    if (!f) return plat::cannot_write(path);
    for (auto& g : panel_->gauges()) {
        std::string gauge_name = g->name();
        std::replace(gauge_name.begin(), gauge_name.end(), ' ', '_');
        for (const AreaRect& a : panel_->clickable_areas(*g))
            f << gauge_name << ' ' << a.x << ' ' << a.y << ' ' << a.w << ' ' << a.h << '\n';
    }
    return true;
}

plat::Result<bool> Session::log_stats(const std::string& label) {
    // Taken before the log is opened, so its own descriptor is not among them.
    const std::string figures = format_process_stats(read_process_stats());
    const std::string path = out_ + "/stats.log";
    std::ofstream f(path, std::ios::binary | std::ios::app);
    char when[32];
    std::snprintf(when, sizeof when, "t=%.1f ", time());
    f << when << (label.empty() ? "-" : label) << ' ' << figures << '\n';
    f.close();
    if (!f) return plat::cannot_write(path);
    return true;
}

plat::Result<bool> Session::write_outputs() {
    if (auto r = snapshot(""); !r) return r;
    events_log_.flush();
    if (!events_log_) return plat::cannot_write(out_ + "/events.log");
    {
        std::ofstream f(out_ + "/messages.log", std::ios::binary);
        for (const auto& m : plat::message_log())
            f << "owner=" << m.owner << " caption=\"" << m.caption << "\" icon=" << static_cast<unsigned>(m.icon)
              << " text=\"" << escape_bytes(reinterpret_cast<const std::uint8_t*>(m.text.data()), m.text.size())
              << "\"\n";
        if (!f) return plat::cannot_write(out_ + "/messages.log");
    }
    {
        std::ofstream f(out_ + "/windows.txt", std::ios::binary);
        for (auto& w : panel_->windows()) f << w->config.ident << ' ' << (w->open ? "open" : "closed") << '\n';
        if (!f) return plat::cannot_write(out_ + "/windows.txt");
    }
    // After a crash the commands still waiting are no news: the crash has said why.
    if (crash()) waiting_.clear();
    for (const Command* c : waiting_) {
        const std::string w = scenario_.path + ":" + std::to_string(c->line) + ": 'when " + c->when.text +
                              "' never held; the command was not run";
        if (std::find(warnings_.begin(), warnings_.end(), w) != warnings_.end()) continue;
        warnings_.push_back(w);
        std::fprintf(stderr, "panelhost: %s\n", w.c_str());
    }
    if (options_.own_aircraft || link_) {
        plans_.poll();
        if (auto e = flight_.flush_csv()) return *e;
        if (auto e = reports::write_track_png(out_ + "/track.png", plans_.route(), flight_.samples(), aircraft_.world()))
            return *e;
        if (!landing_.lines().empty()) {
            std::ofstream f(out_ + "/landing.txt", std::ios::binary);
            for (const std::string& line : landing_.lines()) f << line << '\n';
            if (!f) return plat::cannot_write(out_ + "/landing.txt");
        }
    }
    return true;
}

std::optional<std::string> Session::missed_landing() const {
    const bool flies_landing = std::ranges::any_of(scenario_.commands, [](const Command& c) {
        return c.when.kind == ConditionKind::approach && c.when.phase == sim::ApproachPhase::stopped;
    });
    if (!options_.own_aircraft || !flies_landing || landing_.stopped_on_runway()) return std::nullopt;
    const std::string why = "the scenario's landing did not happen: ";
    if (crash()) return why + *crash();
    if (!landing_.touched_down()) return why + "the aircraft never touched down";
    if (!landing_.stopped()) return why + "the aircraft touched down but had not stopped by the end of the run";
    return why + landing_.lines().back();
}

void Session::finish() {
    if (finished_) return;
    finished_ = true;
    if (panel_) panel_->unload();
    say_failed_saves();
    link_.reset();
    plat::shutdown_audio_output();
    poked_.clear();
    plat::release_all_keys();
    plat::unregister_window(kMainWindow);
    plat::unregister_window(kExtraWindow);
}

}  // namespace panelhost
