// panelhost: loads the gauge modules of a panel and runs them in the simulator's place.
//
//   panelhost run  [OPTIONS] --out DIR     headless, in simulated time
//   panelhost view [OPTIONS]               in a window, in real time
//
// The options, each with its line of explanation, are in the usage text (command_line.cpp).

#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <memory>
#include <span>
#include <string>

#include "panelhost/browser_source.h"
#include "panelhost/command_line.h"
#include "panelhost/home_cockpit.h"
#include "panelhost/session.h"
#include "panelhost/viewer.h"

namespace {

// Ctrl-C or a stop request ends a run as its end would: pictures, logs and state files written.
volatile std::sig_atomic_t stop_requested = 0;
void request_stop(int) { stop_requested = 1; }

int usage(const std::string& why) {
    std::fprintf(stderr, "panelhost: %s\nTry 'panelhost --help' for the options.\n", why.c_str());
    return 2;
}

int failed(const std::string& why) {
    std::fprintf(stderr, "panelhost: %s\n", why.c_str());
    return 1;
}

// The browser server on the session, its addresses printed; or why it could not start.
plat::Result<std::unique_ptr<web::PanelWebServer>> serve(panelhost::Session& s, const web::WebOptions& options) {
    auto started = panelhost::serve_in_browser(s, options);
    if (!started) return started;
    for (const std::string& url : started.value()->urls()) std::printf("panel in the browser: %s\n", url.c_str());
    if (!web::is_loopback(options.listen.address) && options.token.empty())
        std::printf("panelhost: anyone who can reach port %d can see and click the panel; "
                    "--web-token TEXT asks for a token\n",
                    started.value()->port());
    std::fflush(stdout);
    return started;
}

// A flown plan's run ends this long after the aircraft has come to a stop.
constexpr double after_stop_s = 30.0;

// Headless, for the simulated seconds, until stopped or until the aircraft crashes (with
// until_landed, also once the aircraft has landed and stopped); progress on the terminal once a
// simulated minute, and a stop request is looked at every second.
void run_headless(panelhost::Session& s, double seconds, bool until_landed) {
    std::signal(SIGINT, request_stop);
    std::signal(SIGTERM, request_stop);
    double stopped_for = 0;
    for (double done = 0; done < seconds && !stop_requested && !s.crash() && stopped_for < after_stop_s;) {
        const double chunk = std::min(1.0, seconds - done);
        s.run_for(chunk);
        done += chunk;
        if (until_landed && s.aircraft().state().approach == sim::ApproachPhase::stopped) stopped_for += chunk;
        if (std::fmod(done, 60.0) < 1e-9 || done >= seconds || stop_requested) {
            const sim::AircraftState a = s.flown_aircraft();
            std::fprintf(stderr, "t=%6.0f s  lat %9.4f  lon %10.4f  alt %6.0f ft  ias %4.0f kt  hdg %4.0f\n",
                         s.time(), a.position.lat, a.position.lon, a.altitude_ft, a.ias_kt, a.true_heading_deg);
        }
    }
}

int run(const panelhost::CommandLine& line) {
    if (line.view)
        if (auto display = panelhost::check_display(); !display) return failed(display.error());
    auto session = panelhost::Session::open(line.session);
    if (!session) return failed(session.error());
    panelhost::Session& s = **session;
    std::unique_ptr<web::PanelWebServer> server;
    if (line.web) {
        auto started = serve(s, *line.web);
        if (!started) return failed(started.error());
        server = std::move(started).value();
    }
    auto cockpit = panelhost::HomeCockpit::start(s, line);
    if (!cockpit) return failed(cockpit.error());
    if (line.view) {
        if (auto r = panelhost::run_viewer(s); !r) return failed(r.error());
    } else {
        run_headless(s, line.seconds_from_flight ? s.flight_seconds() : line.seconds, line.seconds_from_flight);
    }
    server.reset();
    cockpit.value().reset();
    auto written = s.write_outputs();
    s.finish();
    if (!written) return failed(written.error());
    std::printf("%s\n", s.out().c_str());
    // A crash has been told as it happened; once is enough.
    if (s.crash()) return 1;
    // Each was said as it happened; the status says the run did not do all it should.
    if (const int missing = s.panel().gauges_not_loaded(); missing > 0)
        return failed(std::to_string(missing) + (missing == 1 ? " gauge" : " gauges") +
                      " of the panel could not be loaded (above)");
    if (const std::size_t lost = s.failed_saves(); lost > 0)
        return failed(std::to_string(lost) + (lost == 1 ? " file was" : " files were") + " not saved (above)");
    if (!line.view)
        if (auto missed = s.missed_landing()) return failed(*missed);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::span<char* const> args(argv, static_cast<std::size_t>(argc));
    if (auto answered = panelhost::answer_help_or_version(args)) return *answered;
    if (auto answered = panelhost::answer_list_controls(args)) return *answered;
    auto line = panelhost::parse_command_line(args);
    if (!line) return usage(line.error());
    return run(*line);
}
