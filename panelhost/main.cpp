// panelhost: loads the gauge modules of a panel and runs them in the simulator's place.
//
//   panelhost run  [OPTIONS] --out DIR     headless, in simulated time
//   panelhost view [OPTIONS]               in a window, in real time
//
// The options, each with its line of explanation, are in the usage text below.

#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <string>

#include "install/install_layout.h"
#include "install/program_info.h"
#include "panelhost/session.h"
#include "panelhost/text_util.h"
#include "panelhost/viewer.h"
#include "web/panel_server.h"

namespace {

// Ctrl-C or a stop request ends a run as its end would: pictures, logs and state files written.
volatile std::sig_atomic_t stop_requested = 0;
void request_stop(int) { stop_requested = 1; }

const char* const usage_text =
    "Usage: panelhost run [OPTIONS] --out DIR\n"
    "  or:  panelhost view [OPTIONS]\n"
    "\n"
    "Loads the gauge modules of a cockpit panel and runs them in the flight simulator's place.\n"
    "run is headless and goes in simulated time; at the end it writes the picture of every open\n"
    "window, the logs and the flown track to --out. view shows the panel in a window in real time,\n"
    "with the mouse and the keyboard, until the window is closed.\n"
    "\n"
    "The modules keep their state (the ND mode, the FMC's plan, the airspeed bugs) in files of\n"
    "the simulator folder. view uses the user's own, kept between runs: the folder 'simulator' in\n"
    "$XDG_DATA_HOME/cockpit-panel (else ~/.local/share/cockpit-panel), made from the installed\n"
    "defaults on first use. run makes a fresh one under --out unless told otherwise.\n"
    "\n"
    "Options:\n"
    "  --root DIR            use DIR as the simulator folder, as it is\n"
    "  --keep-state          run: use the user's own simulator folder, as view does\n"
    "  --out DIR             where pictures and logs go; needed by run, unless --keep-state;\n"
    "                        by default the folder 'output' beside the user's simulator folder\n"
    "  --panel FILE          the panel file (default: the installed panel/default.cfg)\n"
    "  --scenario FILE       commands played at given times: clicks, keys, snapshots, the aircraft\n"
    "  --plan FILE           a flight plan: a fresh folder's only plan, added to a kept one\n"
    "  --seconds S           how long run goes, in simulated seconds (default 10)\n"
    "  --rate HZ             panel cycles per second (default 18)\n"
    "  --format 8|16         bits per pixel of the displays' surfaces (default 8)\n"
    "  --sim flightgear[=HOST[:PORT]]\n"
    "                        fly FlightGear's aircraft through its property server\n"
    "                        (default 127.0.0.1:5401), in real time\n"
    "  --web [ADDRESS:]PORT  serve every panel window to browsers; ADDRESS 127.0.0.1 unless\n"
    "                        given, 0.0.0.0 for every network interface; run then goes in real time\n"
    "  --web-token TEXT      browsers need ?token=TEXT in every address\n"
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

int usage(const std::string& why) {
    std::fprintf(stderr, "panelhost: %s\nTry 'panelhost --help' for the options.\n", why.c_str());
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(usage_text, stdout);
            return 0;
        }
        if (arg == "--version") {
            install::print_version("panelhost");
            return 0;
        }
    }
    if (argc < 2) return usage("run or view is needed");
    const std::string mode = argv[1];
    if (mode != "run" && mode != "view") return usage("unknown command '" + mode + "'");
    panelhost::SessionOptions options;
    double seconds = 10.0;
    std::optional<web::WebOptions> web_options;
    std::string web_token;
    bool keep_state = mode == "view";
    for (int i = 2; i < argc; ++i) {
        const std::string opt = argv[i];
        if (opt == "--keep-state") {
            keep_state = true;
            continue;
        }
        if (i + 1 >= argc) return usage("option " + opt + " needs a value");
        const std::string value = argv[++i];
        if (opt == "--root") {
            options.root = value;
        } else if (opt == "--panel") {
            options.panel = value;
        } else if (opt == "--scenario") {
            options.scenario = value;
        } else if (opt == "--plan") {
            options.plan = value;
        } else if (opt == "--out") {
            options.out = value;
        } else if (opt == "--seconds") {
            auto v = panelhost::parse_double(value);
            if (!v || *v < 0) return usage("--seconds needs a non-negative number");
            seconds = *v;
        } else if (opt == "--rate") {
            auto v = panelhost::parse_double(value);
            if (!v || *v <= 0 || *v > 1000) return usage("--rate needs a number of cycles per second (0 to 1000)");
            options.rate = *v;
        } else if (opt == "--format") {
            auto v = panelhost::parse_int(value);
            if (!v || (*v != 8 && *v != 16 && *v != 24)) return usage("--format must be 8 or 16");
            options.format_bits = *v;
        } else if (opt == "--host-window") {
            const auto comma = value.find(',');
            if (comma == std::string::npos) return usage("--host-window needs CLASS,TITLE");
            options.host_window_class = value.substr(0, comma);
            options.host_window_title = value.substr(comma + 1);
        } else if (opt == "--sim") {
            options.sim = value;
            options.clock = plat::ClockMode::real;  // a live simulator runs in real time
        } else if (opt == "--web") {
            std::string why;
            auto listen = web::parse_listen_address(value, why);
            if (!listen) return usage("--web: " + why);
            web_options.emplace();
            web_options->listen = *listen;
        } else if (opt == "--web-token") {
            if (value.empty() || value.size() > 200) return usage("--web-token needs a text of 1 to 200 characters");
            web_token = value;
        } else if (opt == "--audio-capture") {
            options.audio_capture = value;
        } else if (opt == "--pitch-padding") {
            auto v = panelhost::parse_int(value);
            if (!v || *v < 0 || *v > 4096) return usage("--pitch-padding needs a byte count");
            options.image_pitch_padding = *v;
        } else if (opt == "--fail-surface-step") {
            auto v = panelhost::parse_int(value);
            if (!v || *v < 0 || *v > 14) return usage("--fail-surface-step needs a step number (1 to 14, 0 none)");
            options.fail_surface_step = *v;
        } else {
            return usage("unknown option " + opt);
        }
    }
    // The user's own folder, unless a root was chosen: state files stay there between runs.
    if (keep_state && options.root.empty()) {
        auto user = install::user_data_dir();
        if (!user) return usage(user.error() + "; give --root DIR");
        options.root = *user + "/simulator";
        options.kept_root = true;
        if (options.out.empty()) options.out = *user + "/output";
    }
    if (options.out.empty()) return usage("--out DIR is required");
    if (!web_token.empty() && !web_options) return usage("--web-token goes with --web");
    if (web_options) {
        web_options->token = web_token;
        options.clock = plat::ClockMode::real;  // a browser watches the panel live
    }
    if (mode == "view") {
        options.clock = plat::ClockMode::real;
        options.audio_device = true;
    }

    auto session = panelhost::Session::open(options);
    if (!session) {
        std::fprintf(stderr, "panelhost: %s\n", session.error().c_str());
        return 1;
    }
    panelhost::Session& s = **session;
    std::unique_ptr<web::PanelWebServer> server;
    if (web_options) {
        auto started = web::PanelWebServer::start(s, *web_options);
        if (!started) {
            std::fprintf(stderr, "panelhost: %s\n", started.error().c_str());
            return 1;
        }
        server = std::move(started).value();
        for (const std::string& url : server->urls()) std::printf("panel in the browser: %s\n", url.c_str());
        if (!web::is_loopback(web_options->listen.address) && web_options->token.empty())
            std::printf("panelhost: anyone who can reach port %d can see and click the panel; "
                        "--web-token TEXT asks for a token\n",
                        server->port());
        std::fflush(stdout);
    }
    if (mode == "view") {
        if (auto r = panelhost::run_viewer(s); !r) {
            std::fprintf(stderr, "panelhost: %s\n", r.error().c_str());
            return 1;
        }
    } else {
        std::signal(SIGINT, request_stop);
        std::signal(SIGTERM, request_stop);
        // Progress on the terminal, once a simulated minute; a stop request is looked at every second.
        for (double done = 0; done < seconds && !stop_requested;) {
            const double chunk = std::min(1.0, seconds - done);
            s.run_for(chunk);
            done += chunk;
            if (std::fmod(done, 60.0) < 1e-9 || done >= seconds || stop_requested) {
                const auto& a = s.aircraft().state();
                std::fprintf(stderr, "t=%6.0f s  lat %9.4f  lon %10.4f  alt %6.0f ft  ias %4.0f kt  hdg %4.0f\n",
                             s.time(), a.position.lat, a.position.lon, a.altitude_ft, a.ias_kt, a.true_heading_deg);
            }
        }
    }
    server.reset();
    auto written = s.write_outputs();
    s.finish();
    if (!written) {
        std::fprintf(stderr, "panelhost: %s\n", written.error().c_str());
        return 1;
    }
    std::printf("%s\n", s.out().c_str());
    return 0;
}
