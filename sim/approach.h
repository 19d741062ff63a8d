#pragma once
// The autopilot's approach mode on the ILS tuned on NAV1, and the automatic landing that ends it.
//
// Armed, it waits for the localizer: within 2.4 degrees of its course (nearly full scale) it
// captures it and steers the air path onto the centre line, the wind's drift taken out; with the
// localizer held it captures the glide slope when the beam comes down to the aircraft (or the
// aircraft is on it) and follows the beam. Below 100 ft the beam is no longer corrected; at
// flare_height_ft the flare begins on the sink rate it meets, thrust goes to idle below
// retard_height_ft while the crab is taken out, and on the ground the spoilers and the brakes stop
// the aircraft on the localizer's centre line. The autopilot master going off ends the mode.
//
// The approach's autothrottle holds the speed for the flaps as they are (about 210 kt clean, down
// to Vref + 5 kt with the flaps full, plus half the headwind up to 15 kt), never above the speed
// setting and never below the final approach speed.

#include <optional>

#include "sim/state.h"

namespace sim {

inline constexpr double localizer_capture_needle = 120.0;   // of 127
inline constexpr double glide_capture_needle = 10.0;         // below the beam, of 127
inline constexpr double beam_frozen_below_ft = 100.0;
inline constexpr double flare_height_ft = 45.0;
inline constexpr double retard_height_ft = 30.0;
inline constexpr double touchdown_sink_fpm = 180.0;  // the flare's aim; the sink it ends with
inline constexpr double stopped_kt = 0.5;

// What the approach reads, filled by the executive from the state as the panel saw it this step.
// Its phase and flare time constant are its own state, carried from one step to the next.
struct ApproachInputs {
    ApproachPhase phase = ApproachPhase::off;
    double flare_time_constant_s = 0;
    bool autopilot_master = false;
    double speed_setting_kt = 0;  // the autopilot's; the approach's speed stays below it
    NavReception nav;             // NAV1, whose ILS it flies
    bool on_ground = false;
    double height_ft = 0;         // of the wheels above the field
    double altitude_ft = 0;
    double ias_kt = 0, ground_speed_kt = 0, vertical_speed_fpm = 0;
    double true_heading_deg = 0, slip_deg = 0;
    double wind_from_deg = 0, wind_kt = 0;  // true direction the wind blows from
    double weight_lb = 0;
    double flap_position = 0;
};

// What the approach asks of the aircraft this step, and where the mode stands after it; an empty
// command leaves that axis to the other autopilot modes.
struct ApproachCommands {
    ApproachPhase phase = ApproachPhase::off;
    double flare_time_constant_s = 0;  // set as the flare begins, so it starts from the sink it meets
    std::optional<double> turn_rate_dps, vertical_speed_fpm;
    std::optional<double> speed_kt;  // the autothrottle's target
    bool idle = false;               // thrust to idle
    bool decrab = false;
    bool flare = false;
    // Captured this step: the localizer takes the heading hold's place, the glide slope the
    // altitude hold's, and the autopilot lets go of them.
    bool heading_hold_off = false, altitude_hold_off = false;
    bool full_brakes = false;  // the rollout: speed brakes and wheel brakes all the way
};

// Arms the mode (and engages the master); a mode already past arming is left as it is.
void arm_approach(AircraftState& s);
ApproachCommands run_approach(const ApproachInputs& in);
// Height of the wheels above the field.
double height_above_field_ft(const AircraftState& s);

}  // namespace sim
