#include "panelhost/fly_scenario.h"

#include <cmath>
#include <cstdio>

#include "flightplan/formats/flight_plan.h"
#include "flightplan/formats/route_text.h"
#include "flightplan/route/route.h"
#include "flightplan/route/runways.h"
#include "sim/earth.h"

namespace panelhost {

namespace {

// The take-off roll and the climb to EXEC come before the plan's clock starts.
constexpr double takeoff_s = 60;
// The plan's times are the planner's; the flight may run ahead of them or behind.
constexpr double early_factor = 0.9, late_factor = 1.5;
// The approach is armed below this height in the descent (or the cruise's, if that is lower).
constexpr double approach_below_ft = 10000;
// From the arrival to a stop on the runway, with time to spare.
constexpr double approach_s = 900;

// Gauge pixels of the FMC's keys on the default panel.
constexpr const char* menu_key = "fmcomputer 45 234";
constexpr const char* first_line_key = "fmcomputer 16 43";
constexpr const char* exec_key = "fmcomputer 83 260";
constexpr const char* spd_key = "fmcomputer 197 260";

std::string line_value(std::string_view text, std::string_view key, std::size_t from) {
    const std::size_t at = text.find(key, from);
    if (at == std::string_view::npos) return {};
    std::size_t end = text.find_first_of("\r\n", at);
    if (end == std::string_view::npos) end = text.size();
    return std::string(text.substr(at + key.size(), end - at - key.size()));
}

struct RunwayEnd {
    const worlddata::Airport* airport = nullptr;
    std::size_t end = 0;
};

plat::Result<RunwayEnd> runway_of(std::string_view plan, std::string_view section, const planner::NavDb& db) {
    const std::size_t at = plan.find(section);
    if (at == std::string_view::npos) return plat::Error{"the plan has no " + std::string(section) + " section"};
    const std::string ident = line_value(plan, "AIRPORT=", at);
    const std::string runway = line_value(plan, "RUNWAY=", at);
    const auto airport = planner::airport_place(db, ident);
    if (!airport) return plat::Error{"the plan's airport '" + ident + "' is not in the world data"};
    const std::string designator = planner::runway_designator(runway.substr(0, runway.find('/')));
    const auto end = designator.empty() ? std::nullopt : planner::named_runway_end(db, *airport->airport, designator);
    if (!end) return plat::Error{"the plan names no runway of " + ident + " (" + runway + ")"};
    return RunwayEnd{airport->airport, *end};
}

std::string number(double v, int decimals) {
    char t[32];
    std::snprintf(t, sizeof t, "%.*f", decimals, v);
    return t;
}

}  // namespace

plat::Result<FlyScenario> fly_scenario(std::string_view plan, const planner::NavDb& db, std::string_view name) {
    auto dep = runway_of(plan, "[DEPARTURE]", db);
    if (!dep) return plat::Error{dep.error()};
    auto arr = runway_of(plan, "[ARRIVAL]", db);
    if (!arr) return plat::Error{arr.error()};
    const auto& from = dep->airport->ends[dep->end];
    const auto& to = dep->airport->ends[dep->end ^ 1u];
    const double heading = sim::course_deg({from.lat, from.lon}, {to.lat, to.lon});
    const worlddata::Airport& arrival = *arr->airport;
    const std::string& arrival_runway = arrival.ends[arr->end].designator;
    const worlddata::Navaid* ils = db.localizer(arrival.icao, arrival_runway);
    if (!ils)
        return plat::Error{arrival.icao + " " + arrival_runway +
                           " has no ILS in the world data: the approach mode could not land there"};
    if (!planner::landing_ils(db, arrival, arr->end))
        return plat::Error{arrival.icao + " " + arrival_runway + "'s " + ils->ident +
                           " is no ILS the approach mode lands on (a glide slope and a localizer along the "
                           "runway): it would fly it laterally only"};
    const auto points = planner::parse_route_text(plan);
    if (points.size() < 2 || points.back().minutes < 0) return plat::Error{"the plan holds no timed waypoints"};
    // Armed once the descent is under way, not before the plan's top of descent: armed in the
    // cruise, the approach mode would slow the aircraft there.
    double descent_min = points.back().minutes - 20;
    for (const auto& p : points)
        if (p.type == "TOD" && p.minutes >= 0) descent_min = p.minutes;
    const double arm_s = takeoff_s + std::max(1.0, descent_min) * 60 * early_factor;
    const std::string cruise = line_value(plan, "CRUISE_ALTITUDE=", 0);
    const auto cruise_ft = planner::number_in(cruise, 0, 99999);
    const double below_ft = std::min(approach_below_ft, cruise_ft.value_or(approach_below_ft) - 1000);
    const std::string descending = below_ft > arrival.elevation_ft + 2000
                                       ? "when height<" + number(below_ft - arrival.elevation_ft, 0) + " "
                                       : "";
    const double course = sim::wrap_360(ils->course - db.variation_at({arrival.lat, arrival.lon}));

    std::string t;
    auto add = [&t](double at, const std::string& command) { t += "at " + number(at, 0) + " " + command + "\n"; };
    t += "# " + std::string(name) + " flown from " + dep->airport->icao + " " + from.designator + " to " +
         arrival.icao + " " + arrival_runway + " (panelhost run --fly)\n";
    add(0, "aircraft lat=" + number(from.lat, 6) + " lon=" + number(from.lon, 6) + " alt-ft=" +
               std::to_string(dep->airport->elevation_ft) + " ias=0 hdg=" + number(heading, 1) +
               " on-ground=1 throttle=0 flaps=0.3 gear=down");
    add(0, "radio nav1 " + number(ils->frequency, 2));
    add(0, "radio course1 " + number(course, 0));
    t += "# the plan on the FMC: MENU, LOAD, the plan\n";
    add(1, std::string("click ") + menu_key);
    add(2, std::string("click ") + first_line_key);
    add(3, std::string("click ") + first_line_key);
    t += "# the take-off: throttles open; in the climb the gear up, the speed hold at 250 kt, flaps up, EXEC\n";
    add(5, "aircraft throttle=1");
    add(5, "when height>400 aircraft gear=up");
    add(5, "when height>400 autopilot speed 250");
    add(5, "when height>1000 aircraft flaps=0");
    add(5, std::string("when height>1500 click ") + exec_key);
    t += "# the approach: the speed to the approach mode, armed; flaps and gear as the speed falls\n";
    add(arm_s, descending + "click " + spd_key);
    add(arm_s, descending + "autopilot approach");
    add(arm_s, "when ias<220 aircraft flaps=0.15");
    add(arm_s, "when ias<205 aircraft flaps=0.3");
    add(arm_s, "when ias<198 aircraft gear=down");
    add(arm_s, std::string("when approach=localizer click ") + exec_key);
    add(arm_s, "when approach=localizer aircraft flaps=0.5");
    add(arm_s, "when ias<180 aircraft flaps=0.75");
    add(arm_s, "when approach=glide-slope aircraft flaps=1");
    add(arm_s, "when approach=rollout snap touchdown");
    add(arm_s, "when approach=stopped snap stopped");
    return FlyScenario{t, takeoff_s + points.back().minutes * 60 * late_factor + approach_s};
}

}  // namespace panelhost
