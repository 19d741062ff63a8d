// panelhost: loads the gauge modules of a panel and runs them in the simulator's place.
//
//   panelhost run  [--root DIR] [--panel FILE] [--scenario FILE] [--seconds S] [--rate HZ]
//                  [--format 8|16] [--pitch-padding N] [--fail-surface-step N]
//                  [--audio-capture FILE] [--host-window CLASS,TITLE]
//                  [--sim flightgear[=HOST[:PORT]]] [--web [ADDRESS:]PORT [--web-token TEXT]] --out DIR
//   panelhost view [the same options]

#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <string>

#include "panelhost/session.h"
#include "panelhost/text_util.h"
#include "panelhost/viewer.h"
#include "web/panel_server.h"

namespace {

// Ctrl-C or a stop request ends a run as its end would: pictures, logs and state files written.
volatile std::sig_atomic_t stop_requested = 0;
void request_stop(int) { stop_requested = 1; }

int usage(const char* why) {
    if (why) std::fprintf(stderr, "panelhost: %s\n", why);
    std::fprintf(stderr,
                 "usage: panelhost run|view [--root DIR] [--panel FILE] [--scenario FILE] [--plan FILE]\n"
                 "                          [--seconds S] [--rate HZ] [--format 8|16] [--pitch-padding N]\n"
                 "                          [--fail-surface-step N] [--audio-capture FILE]\n"
                 "                          [--host-window CLASS,TITLE] [--sim flightgear[=HOST[:PORT]]]\n"
                 "                          [--web [ADDRESS:]PORT [--web-token TEXT]] --out DIR\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return usage(nullptr);
    const std::string mode = argv[1];
    if (mode != "run" && mode != "view") return usage(("unknown command '" + mode + "'").c_str());
    panelhost::SessionOptions options;
    double seconds = 10.0;
    std::optional<web::WebOptions> web_options;
    std::string web_token;
    for (int i = 2; i < argc; ++i) {
        const std::string opt = argv[i];
        if (i + 1 >= argc) return usage(("option " + opt + " needs a value").c_str());
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
            if (!listen) return usage(("--web: " + why).c_str());
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
            return usage(("unknown option " + opt).c_str());
        }
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
