#pragma once
// The autopilot: what it asks of the aircraft this step. Heading hold turns toward the bug at up to
// the standard rate; altitude hold flies toward the altitude setting at the vertical speed setting
// and levels off (captures) on a shrinking rate near it; with the master on and no altitude hold it
// keeps the present vertical speed, as an attitude hold does; with the master off the hand flying
// holds its own vertical speed and bank. Speed hold, when the autothrottle is armed, sets the
// throttles to the thrust that holds the speed setting. The approach mode (approach.h), once it
// has captured, takes over the axes it flies and the throttles.

#include "sim/state.h"

namespace sim {

struct FlightCommands {
    double turn_rate_dps = 0;        // right positive; on the ground the nose wheel's steering
    double vertical_speed_fpm = 0;   // before the aircraft's own thrust and speed limits
    bool decrab = false;             // yaw the nose onto the ground track, the path kept
    bool flare = false;              // the landing flare may trade speed down to the flare's margin
};

inline constexpr double standard_rate_dps = 3.0;
inline constexpr double capture_fpm_per_ft = 2.5;  // how steeply the altitude hold closes on its setting

FlightCommands run_autopilot(AircraftState& s, double dt);

}  // namespace sim
