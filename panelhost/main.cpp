// panelhost: loads the gauge modules of a panel and runs them in the simulator's place.
//
//   panelhost run  [--root DIR] [--panel FILE] [--scenario FILE] [--seconds S] [--rate HZ]
//                  [--format 8|16] [--pitch-padding N] [--fail-surface-step N]
//                  [--audio-capture FILE] [--host-window CLASS,TITLE]
//                  [--sim flightgear[=HOST[:PORT]]] --out DIR
//   panelhost view [the same options]

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "panelhost/session.h"
#include "panelhost/text_util.h"
#include "panelhost/viewer.h"

namespace {

int usage(const char* why) {
    if (why) std::fprintf(stderr, "panelhost: %s\n", why);
    std::fprintf(stderr,
                 "usage: panelhost run|view [--root DIR] [--panel FILE] [--scenario FILE] [--plan FILE]\n"
                 "                          [--seconds S] [--rate HZ] [--format 8|16] [--pitch-padding N]\n"
                 "                          [--fail-surface-step N] [--audio-capture FILE]\n"
                 "                          [--host-window CLASS,TITLE] [--sim flightgear[=HOST[:PORT]]]\n"
                 "                          --out DIR\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return usage(nullptr);
    const std::string mode = argv[1];
    if (mode != "run" && mode != "view") return usage(("unknown command '" + mode + "'").c_str());
    panelhost::SessionOptions options;
    double seconds = 10.0;
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
    if (mode == "view") {
        if (auto r = panelhost::run_viewer(s); !r) {
            std::fprintf(stderr, "panelhost: %s\n", r.error().c_str());
            return 1;
        }
    } else {
        // Progress on the terminal, once a simulated minute.
        for (double done = 0; done < seconds; done += 60) {
            s.run_for(std::min(60.0, seconds - done));
            const auto& a = s.aircraft().state();
            std::fprintf(stderr, "t=%6.0f s  lat %9.4f  lon %10.4f  alt %6.0f ft  ias %4.0f kt  hdg %4.0f\n",
                         s.time(), a.position.lat, a.position.lon, a.altitude_ft, a.ias_kt, a.true_heading_deg);
        }
    }
    auto written = s.write_outputs();
    s.finish();
    if (!written) {
        std::fprintf(stderr, "panelhost: %s\n", written.error().c_str());
        return 1;
    }
    std::printf("%s\n", s.out().c_str());
    return 0;
}
