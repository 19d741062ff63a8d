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

// What the approach asks of the aircraft this step; an empty command leaves that axis to the other
// autopilot modes.
struct ApproachCommands {
    std::optional<double> turn_rate_dps, vertical_speed_fpm;
    std::optional<double> speed_kt;  // the autothrottle's target
    bool idle = false;               // thrust to idle
    bool decrab = false;
    bool flare = false;
};

// Arms the mode (and engages the master); a mode already past arming is left as it is.
void arm_approach(AircraftState& s);
double approach_speed_kt(const AircraftState& s);
ApproachCommands run_approach(AircraftState& s, double dt);
// Height of the wheels above the field.
double height_above_field_ft(const AircraftState& s);

}  // namespace sim
