#include "host_approach.h"

#include <cstdio>
#include <fstream>

#include "panel_fixture.h"
#include "sim/aero.h"
#include "sim/runway.h"
#include "sim/units.h"

namespace simtest {

namespace {

// The flight display, to show LOC and G / S, and the airspeed indicator.
const char* kPanel =
    "[Window00]\nsize=620,420\nposition=0,0\nvisible=1\n"
    "gauge00=flightdisplay!flightdisplay, 0, 0\ngauge01=airspeed!airspeed, 420, 0\n";

}  // namespace

std::string approach_scenario(const Start& start, const Runway& r, const Entry& e) {
    char text[1000];
    const double wind_from = sim::wrap_360(start.runway->heading_deg() + e.wind_from_deg);
    std::snprintf(text, sizeof text,
                  "at 0 aircraft lat=%.8f lon=%.8f alt-ft=%.0f ias=%.0f hdg=%.1f on-ground=0 flaps=%.2f gear=%s wind=%.0f/%.0f\n"
                  "at 0 radio nav1 %.2f\n"
                  "at 0.5 autopilot approach\n"
                  "at 0.5 when approach=glide-slope aircraft flaps=1 gear=down\n"
                  "at 0.5 when approach=stopped snap stopped\n",
                  start.at.lat, start.at.lon, start.altitude_ft, e.ias_kt,
                  heading_for_track(start.track_deg, sim::tas_from_ias(e.ias_kt, start.altitude_ft), wind_from, e.wind_kt),
                  e.flaps, e.gear_down ? "down" : "up", wind_from, e.wind_kt,
                  r.localizer_mhz);
    return text;
}

HostFlown fly_through_host(const Runway& r, const Entry& e) {
    HostFlown out;
    const std::optional<Start> start = shipped_start(r, e);
    if (!start) return out;
    out.found = true;
    out.scenario = approach_scenario(*start, r, e);
    PanelRun run(kPanel, out.scenario);
    run.session().aircraft().log = [&out](const std::string& line) { out.notes.push_back(line); };
    const sim::AircraftState& s = run.session().aircraft().state();
    for (int i = 0; i < static_cast<int>(e.seconds) && s.approach != sim::ApproachPhase::stopped; ++i) run.session().run_for(1);
    run.session().run_for(2);  // the stop's picture and report
    out.seconds = run.session().aircraft().elapsed();
    out.phase = s.approach;
    if (s.touchdown) {
        out.touchdown = s.touchdown;
        const sim::RunwayPosition at = sim::runway_position(*start->runway, s.touchdown->position);
        out.touchdown_past_threshold_ft = at.past_threshold_ft - start->displaced_ft;
        out.touchdown_right_m = at.right_of_centre_ft * sim::metres_per_foot;
    }
    if (run.session().write_outputs()) {
        std::ifstream f(run.dir() / "out/landing.txt");
        for (std::string line; std::getline(f, line);) out.landing_txt.push_back(line);
    }
    out.missed = run.session().missed_landing();
    return out;
}

}  // namespace simtest
