#include "panelhost/command_line.h"

#include <cstdio>

#include "install/install_layout.h"
#include "install/program_info.h"
#include "panelhost/text_util.h"

namespace panelhost {
namespace {

const char* const kUsage =
    "Usage: panelhost run [OPTIONS] --out DIR\n"
    "  or:  panelhost view [OPTIONS]\n"
    "  or:  panelhost --list-controls\n"
    "\n"
    "Loads the gauge modules of a cockpit panel and runs them in the flight simulator's place.\n"
    "run is headless and goes in simulated time; at the end it writes the picture of every open\n"
    "window, the logs and the flown track to --out. view shows the panel in a window in real time,\n"
    "with the mouse and the keyboard, until the window is closed.\n"
    "\n"
    "The modules keep their state (the ND mode, the FMC's plan, the airspeed bugs) in files of\n"
    "the simulator folder. view uses the user's own, kept between runs: the folder 'simulator' in\n"
    "$XDG_DATA_HOME/cockpit-panel (else ~/.local/share/cockpit-panel), made from the installed\n"
    "defaults on first use. run makes a fresh one under --out unless told otherwise. One program\n"
    "at a time has the user's folder: a second says which process has it and stops.\n"
    "\n"
    "Options:\n"
    "  --root DIR            use DIR as the simulator folder, as it is\n"
    "  --keep-state          run: use the user's own simulator folder, as view does\n"
    "  --wait                when another view or run --keep-state has the user's folder,\n"
    "                        wait for it to finish instead of stopping at once\n"
    "  --out DIR             where pictures and logs go; needed by run, unless --keep-state;\n"
    "                        by default the folder 'output' beside the user's simulator folder\n"
    "  --panel FILE          the panel file (default: the installed panel/default.cfg)\n"
    "  --scenario FILE       commands played at given times: clicks, keys, snapshots, the aircraft\n"
    "  --plan FILE           a flight plan: a fresh folder's only plan, added to a kept one\n"
    "  --fly                 run: fly --plan gate to stop (take-off, the plan on the FMC, the\n"
    "                        ILS at the end) by a scenario written for it into --out as fly.txt;\n"
    "                        the run lasts as long as the flight needs unless --seconds is given\n"
    "  --navdata DIR         the navigation data to use instead of the shipped data: a database\n"
    "                        navimport made, a world data folder (apt.dat, nav.dat, fix.dat,\n"
    "                        awy.dat), an X-Plane 11 or 12 folder or a FlightGear data folder\n"
    "                        ($FG_ROOT), imported into the simulator folder's NavData; plans are\n"
    "                        resolved over it. The user's own folder keeps the choice for later\n"
    "                        runs; --navdata shipped goes back to the shipped data\n"
    "  --seconds S           how long run goes, in simulated seconds (default 10)\n"
    "  --rate HZ             panel cycles per second (default 18)\n"
    "  --format 8|16         bits per pixel of the displays' surfaces (default 8)\n"
    "  --sim flightgear[=HOST[:PORT]]\n"
    "                        fly FlightGear's aircraft through its property server\n"
    "                        (default 127.0.0.1:5401), in real time\n"
    "  --sim xplane[=HOST[:PORT]]\n"
    "                        fly X-Plane's aircraft over its UDP interface (without HOST, the\n"
    "                        X-Plane its beacon announces, else 127.0.0.1:49000), in real time\n"
    "  --sim-bindings FILE   what the linked simulator's values are for the panel, in place of\n"
    "                        the shipped share/cockpit-panel/sim/ file (flightgear-generic, xplane)\n"
    "  --xplane-folder DIR   also write the plan the FMC loads into DIR/Output/FMS plans/\n"
    "  --web [ADDRESS:]PORT  serve every panel window to browsers; ADDRESS 127.0.0.1 unless\n"
    "                        given, 0.0.0.0 for every network interface; run then goes in real time\n"
    "  --web-token TEXT      browsers need ?token=TEXT in every address\n"
    "  --io [ADDRESS:]PORT   the line protocol for home-built boards and scripts: clicks, keys,\n"
    "                        key events and watched values over TCP; ADDRESS 127.0.0.1 unless\n"
    "                        given; run then goes in real time\n"
    "  --io-token TEXT       every connection's first line must be 'token TEXT'\n"
    "  --controls FILE       joysticks, button boxes and game controllers: the file binds their\n"
    "                        buttons to line protocol commands and their axes to the aircraft;\n"
    "                        run then goes in real time\n"
    "  --list-controls       print the connected joysticks with their buttons and axes, and exit\n"
    "  --audio-capture FILE  also write every sound played to this WAV file\n"
    "  --host-window CLASS,TITLE\n"
    "                        announce a further top-level window, as another host would show\n"
    "  --pitch-padding N     bytes added to each row of the gauges' images (a check of the modules)\n"
    "  --fail-surface-step N\n"
    "                        refuse a display surface at creation step N (a check; 0 none)\n"
    "  -h, --help            print this text and exit\n"
    "  --version             print the version and exit\n"
    "\n"
    "Environment: PANEL_DATA_DIR, PANEL_MODULE_DIR and PANEL_NAVDATA_DIR replace the installed\n"
    "data, module and navigation database folders, which are found relative to the program.\n";

// What the options ask for, as given; checked against one another once all are read.
struct Given {
    CommandLine line;
    bool keep_state = false;
    bool seconds_given = false;
    bool wait = false;
    std::string web_token;
    std::string io_token;
};

// One option with its value into what is given; the error when the value is not one it takes.
std::optional<std::string> take_value_option(const std::string& opt, const std::string& value, Given& given) {
    CommandLine& line = given.line;
    SessionOptions& options = line.session;
    if (opt == "--root") {
        options.root = value;
    } else if (opt == "--panel") {
        options.panel = value;
    } else if (opt == "--scenario") {
        options.scenario = value;
    } else if (opt == "--plan") {
        options.plan = value;
    } else if (opt == "--navdata") {
        if (value.empty()) return "--navdata needs a folder, or 'shipped'";
        options.navdata = value;
    } else if (opt == "--out") {
        options.out = value;
    } else if (opt == "--seconds") {
        auto v = parse_double(value);
        if (!v || *v < 0) return "--seconds needs a non-negative number";
        line.seconds = *v;
        given.seconds_given = true;
    } else if (opt == "--rate") {
        auto v = parse_double(value);
        if (!v || *v <= 0 || *v > 1000) return "--rate needs a number of cycles per second (0 to 1000)";
        options.rate = *v;
    } else if (opt == "--format") {
        auto v = parse_int(value);
        if (!v || (*v != 8 && *v != 16)) return "--format must be 8 or 16";
        options.format_bits = *v;
    } else if (opt == "--host-window") {
        const auto comma = value.find(',');
        if (comma == std::string::npos) return "--host-window needs CLASS,TITLE";
        options.host_window_class = value.substr(0, comma);
        options.host_window_title = value.substr(comma + 1);
    } else if (opt == "--sim") {
        options.sim = value;
        options.clock = plat::ClockMode::real;  // a live simulator runs in real time
    } else if (opt == "--sim-bindings") {
        if (value.empty()) return "--sim-bindings needs a binding file";
        options.sim_bindings = value;
    } else if (opt == "--xplane-folder") {
        if (value.empty()) return "--xplane-folder needs X-Plane's folder";
        options.xplane_folder = value;
    } else if (opt == "--web") {
        std::string why;
        auto listen = web::parse_listen_address(value, why);
        if (!listen) return "--web: " + why;
        line.web.emplace();
        line.web->listen = *listen;
    } else if (opt == "--web-token") {
        if (value.empty() || value.size() > 200) return "--web-token needs a text of 1 to 200 characters";
        given.web_token = value;
    } else if (opt == "--io") {
        std::string why;
        auto listen = web::parse_listen_address(value, why);
        if (!listen) return "--io: " + why;
        line.io.emplace();
        line.io->address = listen->address;
        line.io->port = listen->port;
    } else if (opt == "--io-token") {
        if (value.empty() || value.size() > 200 || value.find_first_of(" \t") != std::string::npos)
            return "--io-token needs a text of 1 to 200 characters without blanks";
        given.io_token = value;
    } else if (opt == "--controls") {
        line.controls = value;
    } else if (opt == "--audio-capture") {
        options.audio_capture = value;
    } else if (opt == "--pitch-padding") {
        auto v = parse_int(value);
        if (!v || *v < 0 || *v > 4096) return "--pitch-padding needs a byte count";
        options.image_pitch_padding = *v;
    } else if (opt == "--fail-surface-step") {
        auto v = parse_int(value);
        if (!v || *v < 0 || *v > 14) return "--fail-surface-step needs a step number (1 to 14, 0 none)";
        options.fail_surface_step = *v;
    } else {
        return "unknown option " + opt;
    }
    return std::nullopt;
}

// The options that depend on one another; the error when they do not go together.
std::optional<std::string> settle(Given& given) {
    CommandLine& line = given.line;
    SessionOptions& options = line.session;
    // The user's own folder, unless a root was chosen: state files stay there between runs.
    if (given.keep_state && options.root.empty()) {
        auto user = install::user_data_dir();
        if (!user) return user.error() + "; give --root DIR";
        options.root = *user + "/simulator";
        options.kept_root = true;
        options.lock_folder = *user;
        options.lock_holder = line.view ? "panelhost view" : "panelhost run";
        options.navdata_choice = *user + "/navdata.txt";
        if (options.out.empty()) options.out = *user + "/output";
    }
    if (options.out.empty()) return "--out DIR is required";
    if (given.wait && options.lock_folder.empty()) return "--wait is for the user's own folder (view, run --keep-state)";
    options.wait_for_lock = given.wait;
    if (options.fly) {
        if (line.view) return "--fly is for run: in view the crew flies";
        if (options.plan.empty()) return "--fly needs the plan to fly (--plan FILE)";
        if (!options.scenario.empty()) return "--fly writes its own scenario: leave out --scenario";
        line.seconds_from_flight = !given.seconds_given;
    }
    if (!options.sim_bindings.empty() && options.sim.empty()) return "--sim-bindings goes with --sim";
    if (!given.web_token.empty() && !line.web) return "--web-token goes with --web";
    if (line.web) {
        line.web->token = given.web_token;
        options.clock = plat::ClockMode::real;  // a browser watches the panel live
    }
    if (!given.io_token.empty() && !line.io) return "--io-token goes with --io";
    if (line.io) line.io->token = given.io_token;
    // Boards, scripts and hands on joysticks work the panel live.
    if (line.io || !line.controls.empty()) options.clock = plat::ClockMode::real;
    if (line.view) {
        options.clock = plat::ClockMode::real;
        options.audio_device = true;
    }
    return std::nullopt;
}

}  // namespace

const char* usage_text() { return kUsage; }

std::optional<int> answer_help_or_version(std::span<char* const> args) {
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string arg = args[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (arg == "--version") {
            install::print_version("panelhost");
            return 0;
        }
    }
    return std::nullopt;
}

plat::Result<CommandLine> parse_command_line(std::span<char* const> args) {
    if (args.size() < 2) return plat::Error{"run or view is needed"};
    const std::string mode = args[1];
    if (mode != "run" && mode != "view") return plat::Error{"unknown command '" + mode + "'"};
    Given given;
    given.line.view = mode == "view";
    given.keep_state = given.line.view;
    for (std::size_t i = 2; i < args.size(); ++i) {
        const std::string opt = args[i];
        if (opt == "--keep-state") {
            given.keep_state = true;
            continue;
        }
        if (opt == "--wait") {
            given.wait = true;
            continue;
        }
        if (opt == "--fly") {
            given.line.session.fly = true;
            continue;
        }
        if (i + 1 >= args.size()) return plat::Error{"option " + opt + " needs a value"};
        if (auto why = take_value_option(opt, args[++i], given)) return plat::Error{*why};
    }
    if (auto why = settle(given)) return plat::Error{*why};
    return std::move(given.line);
}

}  // namespace panelhost
