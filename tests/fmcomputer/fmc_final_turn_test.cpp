// The FMC's turn onto the final approach, flown through the host's aircraft: whatever angle the
// route meets the intercept point at, the aircraft rolls out on the final course, close enough to
// its centre line for the localizer to be captured.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "flightplan/formats/flight_plan.h"
#include "flightplan/formats/plan_io.h"
#include "flightplan/route/runways.h"
#include "panel_fixture.h"
#include "sim/earth.h"
#include "sim/units.h"

namespace {

const planner::NavDb& world() {
    static const planner::NavDb db = [] {
        auto d = planner::NavDb::load(std::string(PANEL_WORLD_DATA));
        if (!d) throw std::runtime_error(d.error());
        return std::move(d).value();
    }();
    return db;
}

struct Final {
    sim::LatLon threshold;
    double course = 0;  // true, towards the runway
};

Final final_of(const char* airport, const char* runway) {
    const auto a = planner::airport_place(world(), airport);
    const auto end = planner::named_runway_end(world(), *a->airport, runway);
    const auto& e = a->airport->ends[*end];
    return {{e.lat, e.lon}, world().localizer(airport, runway)->course};
}

// Right of the centre line (positive) and how far out along it, in NM.
struct Place {
    double right_nm, out_nm;
};
Place on_final(const Final& f, sim::LatLon p) {
    const double d = sim::distance_nm(f.threshold, p);
    const double off = sim::wrap_180(sim::course_deg(f.threshold, p) - (f.course + 180.0)) * sim::degrees_to_radians;
    return {-d * std::sin(off), d * std::cos(off)};
}

struct Flown {
    double at_final_fix_nm = 1e9;  // right of the centre line when passing the final fix
    double widest_nm = 0;          // beyond the intercept point's turn, the farthest off the line
};

// A plan from Fort Worth to Dallas-Fort Worth 17C (flat land: the aircraft flies at 3,000 ft)
// whose last point before the approach lies so that
// the route meets the intercept point turning by turn_deg (right positive) onto the final course.
Flown fly_final_turn(double turn_deg, const std::string& name) {
    const Final f = final_of("KDFW", "17C");
    const sim::LatLon intercept = sim::travel(f.threshold, f.course + 180.0, planner::intercept_nm);
    const sim::LatLon before = sim::travel(intercept, f.course - turn_deg + 180.0, 20.0);
    planner::Performance perf;
    perf.cruise_altitude_ft = 5000;
    perf.cruise_speed = 250;
    auto read = planner::read_plan(world(), "KAFW " + planner::latlon_ident(before) + " KDFW/17C", "route");
    if (!read) throw std::runtime_error(read.error());
    auto plan = planner::write_plan(world(), read->plan, planner::PlanFormat::fmc, perf);
    if (!plan) throw std::runtime_error(plan.error());
    const auto root = std::filesystem::temp_directory_path() / "panel_tests" / name;
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root / "NavData/FlightPlans");
    std::ofstream(root / "NavData/FlightPlans/FINAL.pln", std::ios::binary) << *plan;
    panelhost::SessionOptions options;
    options.root = root.string();
    // 8 NM before that point on the way to it, at the approach's speed; MENU, LOAD, plan 0, SPD off,
    // the point made the active one, EXEC.
    const sim::LatLon from = sim::travel(before, sim::course_deg(intercept, before), 8.0);
    // The FMC starts at the plan's first record: PROGRESS and R4 step it on to that point.
    const std::string records = plan->substr(plan->find("[WAYPOINTS]"));
    int index = -1, record = 0;
    for (std::size_t at = records.find('\n') + 1; at < records.size() && index < 0; at = records.find('\n', at) + 1) {
        if (records.compare(at + 12, planner::latlon_ident(before).size(), planner::latlon_ident(before)) == 0)
            index = record;
        ++record;
    }
    if (index < 1) throw std::runtime_error("the point before the approach is not in the plan");
    std::string steps = "at 5 click fmcomputer 45 260\n";
    for (int i = 1; i < index; ++i) steps += "at " + std::to_string(5 + i) + " click fmcomputer 263 133\n";
    const int exec_at = 6 + index;
    char aircraft[200];
    std::snprintf(aircraft, sizeof aircraft, "at 0 aircraft lat=%.6f lon=%.6f alt-ft=3000 ias=210 hdg=%.0f on-ground=0\n",
                  from.lat, from.lon, sim::course_deg(from, before));
    PanelRun run("[Window00]\nsize=300,300\nposition=0,0\nvisible=1\ngauge00=fmcomputer!fmcomputer, 0, 0\n",
                 std::string(aircraft) +
                     "at 1 click fmcomputer 45 234\nat 2 click fmcomputer 16 43\nat 3 click fmcomputer 16 43\n"
                     "at 4 click fmcomputer 197 260\n" + steps + "at " + std::to_string(exec_at) +
                     " click fmcomputer 83 260\n",
                 options);
    Flown flown;
    bool turned = false;
    for (int s = 0; s < 900; ++s) {
        run.cycles(18);
        const Place p = on_final(f, run.session().aircraft().state().position);
        if (p.out_nm < planner::intercept_nm - 3.0 && std::fabs(p.right_nm) < 3.0) turned = true;
        if (turned) flown.widest_nm = std::max(flown.widest_nm, std::fabs(p.right_nm));
        if (turned && p.out_nm <= planner::final_fix_nm) {
            flown.at_final_fix_nm = p.right_nm;
            break;
        }
    }
    return flown;
}

TEST(FmcFinalTurn, RollsOutOnTheFinalCourseFromEveryAngle) {
    for (double turn : {-120.0, -90.0, -45.0, 30.0, 60.0, 90.0}) {
        SCOPED_TRACE(turn);
        const Flown f = fly_final_turn(turn, "final_turn_" + std::to_string(static_cast<int>(turn + 200)));
        // The localizer's capture needs the aircraft within about half a mile at the intercept
        // point; rolled out, it is hardly off the line at all.
        EXPECT_LT(std::fabs(f.at_final_fix_nm), 0.1);
        EXPECT_LT(f.widest_nm, 0.2);
    }
}

}  // namespace
