#pragma once
// Approaches flown by the host's aircraft alone over the shipped world data: put somewhere near a
// runway's ILS (or LOC, or LDA) as an entry describes, the approach armed, stepped in panel cycles
// until it stops or the time is up; what it did on the way is kept for the tests to judge.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "approach_start.h"
#include "sim/aircraft.h"
#include "sim/runway.h"
#include "sim/world.h"

namespace simtest {

std::shared_ptr<const sim::World> shipped_world();
// The entry's start over the shipped world data; empty, and a test failure, when the data lacks it.
std::optional<Start> shipped_start(const Runway& r, const EntryPoint& e);

// Where the approach begins, and the crew's part in it.
struct Entry : EntryPoint {
    double ias_kt = 190;
    double flaps = 0.5;
    bool gear_down = true;
    bool altitude_hold = true;        // the crew's altitude hold on, at the start's altitude
    std::optional<double> speed_setting_kt;  // the autopilot's; the start's speed when not given
    double wind_from_deg = 0, wind_kt = 0;  // the wind's direction from the runway's heading
    // The crew's part: flaps full and the gear down as the glide slope is captured.
    bool configure_at_glide_slope = true;
    double seconds = 900;
    std::optional<double> nav1_mhz;  // NAV1 tuned to this instead of the runway's localizer
    // Called after every step, for what a test watches (or changes) on the way.
    std::function<void(sim::Aircraft&)> each_step;
};

struct Flown {
    bool found = false;  // the runway and its localizer in the world data
    sim::LatLon landing_threshold;
    double course_deg = 0, elevation_ft = 0;

    double start_altitude_ft = 0;
    double altitude_setting_ft = 0;  // the autopilot's, as it started: the intercept altitude
    bool localizer_captured = false, glide_slope_captured = false;
    double glide_capture_deviation = 0;  // the needle as the glide slope was captured
    // Before the glide slope's capture: the lowest altitude, and the fastest sink; and the lowest
    // altitude flown without the glide slope received, airborne.
    double lowest_before_glide_slope_ft = 1e9, fastest_sink_before_glide_slope_fpm = 0;
    double lowest_without_glide_slope_ft = 1e9;
    double slowest_kt = 1e9, fastest_kt = 0;  // the approach's speed, airborne after the localizer
    // Across the centre line after the localizer's capture, above 1,000 ft: how often, and how far
    // beyond it the aircraft went (metres) after the first crossing.
    int crossings = 0;
    double overshoot_m = 0;
    double lowest_height_off_runway_ft = 1e9;  // above the field, before the threshold or beside the runway
    std::vector<std::string> notes;            // what the aircraft said

    std::optional<sim::Touchdown> touchdown;
    double touchdown_past_threshold_ft = 0, touchdown_right_m = 0;  // from the landing threshold
    bool stopped = false, stopped_on_runway = false;
    double stop_past_threshold_ft = 0, stop_right_m = 0;
    double seconds = 0;
    sim::AircraftState final_state;
};

Flown fly_approach(const Runway& r, const Entry& e);
// "KSFO 28R 12 NM 0.8 R 30 deg, 190 kt, 15 kt from 90": the case, for the reports of a test.
std::string describe(const Runway& r, const Entry& e);
// The touchdown and the stop, as a line of a table.
std::string describe(const Flown& f);

}  // namespace simtest
