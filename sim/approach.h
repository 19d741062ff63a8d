#pragma once
// The autopilot's approach mode on the localizer tuned on NAV1, and the automatic landing that ends
// it.
//
// Armed, it waits for the localizer: inside 120 of the needle's 127 it captures it when the turn
// onto the centre line would roll out on it (at once from a small offset or a shallow angle) and
// steers the air path onto the centre line, the wind's drift taken out.
//
// Only a localizer with a glide slope, along its runway's centre line, is descended on. With the
// localizer held, the approach holds the altitude selected (or flown, without the altitude hold)
// at the capture: it never descends below it without the glide slope. It captures the glide slope
// when the beam comes down to the aircraft, when the aircraft is on it, or from above within 1.5
// dots by descending to meet it; beyond the beam's range it waits, level. Too high to capture, it
// says so and stays level; a glide slope lost above 100 ft levels it off where it was.
// A localizer without a glide slope, and an LDA, SDF or offset localizer, is flown laterally only:
// the vertical stays the crew's, and the approach neither descends nor lands.
//
// Below 100 ft the beam is no longer corrected; at flare_height_ft the flare begins on the sink
// rate it meets, thrust goes to idle below retard_height_ft while the crab is taken out, and on the
// ground the spoilers and the brakes stop the aircraft on the localizer's centre line; stopped, the
// brakes stay on. The autopilot master going off ends the mode, except on the ground.
//
// The approach's autothrottle holds the speed for the flaps as they are (about 210 kt clean, down
// to Vref + 5 kt with the flaps full, plus half the headwind up to 15 kt), never above the speed
// setting, never below the final approach speed, and never so slow that holding the altitude would
// take more than the wings give: the aircraft does not sink for want of speed.
//
// What the crew should know (no localizer to capture, lateral guidance only, too high, the glide
// slope lost) it says once, as a note.

#include <optional>
#include <string>

#include "sim/state.h"

namespace sim {

inline constexpr double localizer_capture_needle = 120.0;    // of 127
inline constexpr double glide_capture_needle = 10.0;         // either side of the beam, of 127
inline constexpr double glide_capture_above_needle = 95.25;  // 1.5 dots above the beam, of 127
inline constexpr double beam_frozen_below_ft = 100.0;
inline constexpr double flare_height_ft = 45.0;
inline constexpr double retard_height_ft = 30.0;
inline constexpr double touchdown_sink_fpm = 180.0;  // the flare's aim; the sink it ends with
inline constexpr double stopped_kt = 0.5;
// The margin over the slowest speed that holds the altitude with the flaps as they are.
inline constexpr double approach_speed_margin_kt = 5.0;

// What the approach reads, filled by the executive from the state as the panel saw it this step.
// Its phase and memory are its own state, carried from one step to the next.
struct ApproachInputs {
    ApproachPhase phase = ApproachPhase::off;
    ApproachMemory memory;
    bool autopilot_master = false;
    bool altitude_hold = false;
    double altitude_setting_ft = 0;
    double speed_setting_kt = 0;  // the autopilot's; the approach's speed stays below it
    NavReception nav;             // NAV1, whose localizer it flies
    int nav_channel = 0;          // NAV1's, hundredths of a MHz
    bool on_ground = false;
    double height_ft = 0;         // of the wheels above the field
    double altitude_ft = 0;
    double ias_kt = 0, ground_speed_kt = 0, vertical_speed_fpm = 0;
    double true_heading_deg = 0, slip_deg = 0, ground_track_deg = 0;
    double wind_from_deg = 0, wind_kt = 0;  // true direction the wind blows from
    double weight_lb = 0;
    double flap_position = 0;
};

// What the approach asks of the aircraft this step, and where the mode stands after it; an empty
// command leaves that axis to the other autopilot modes.
struct ApproachCommands {
    ApproachPhase phase = ApproachPhase::off;
    ApproachMemory memory;
    std::optional<double> turn_rate_dps, vertical_speed_fpm;
    std::optional<double> speed_kt;  // the autothrottle's target
    bool idle = false;               // thrust to idle
    bool decrab = false;
    bool flare = false;
    // The localizer takes the heading hold's place as it is captured; the approach's own descent
    // (to meet the glide slope, or on it) the altitude hold's; the autopilot lets go of them.
    bool heading_hold_off = false, altitude_hold_off = false;
    bool full_brakes = false;  // the rollout: speed brakes and wheel brakes all the way
    bool hold_brakes = false;  // stopped: the wheel brakes stay on
    std::optional<std::string> note;  // for the crew, given once
};

// Arms the mode (and engages the master); a mode already past arming is left as it is.
void arm_approach(AircraftState& s);
ApproachCommands run_approach(const ApproachInputs& in);
// Height of the wheels above the field.
double height_above_field_ft(const AircraftState& s);
// The approach's speed floor with the flaps as they are: the slowest speed that holds the altitude
// (the kinematics' own), and the margin.
double slowest_approach_speed_kt(double weight_lb, double flap_position);

}  // namespace sim
