#pragma once
// The autopilot: what it asks of the aircraft this step. Heading hold turns toward the bug at up to
// the standard rate; altitude hold flies toward the altitude setting at the vertical speed setting
// and levels off (captures) on a shrinking rate near it; with the master on and no altitude hold it
// keeps the present vertical speed, as an attitude hold does; with the master off the hand flying
// holds its own vertical speed and bank. Speed hold, when the autothrottle is armed, sets the
// throttles to the thrust that holds the speed setting; where idle is too much for the speed (a
// steep descent) the speed brakes come out beyond the lever, and where even they are not enough
// the descent gives way, so that a held speed is not passed (the 250 kt below 10,000 ft). The
// approach mode's commands (approach.h), once it has captured, take over the axes it flies and the
// throttles; its captures turn off the holds they replace, and its rollout puts the brakes on.

#include "sim/approach.h"
#include "sim/state.h"

namespace sim {

struct FlightCommands {
    double turn_rate_dps = 0;        // right positive; on the ground the nose wheel's steering
    double vertical_speed_fpm = 0;   // before the aircraft's own thrust and speed limits
    bool decrab = false;             // yaw the nose onto the ground track, the path kept
    bool flare = false;              // the landing flare may trade speed down to the flare's margin
    // A held speed: no descent that would pass it (0: only the aircraft's own limit).
    double fastest_kt = 0;
};

inline constexpr double standard_rate_dps = 3.0;
// Over the speed the autothrottle holds by this much, with the speed brakes out as far as they go,
// a descent gives way to the speed.
inline constexpr double held_speed_margin_kt = 3.0;
inline constexpr double capture_fpm_per_ft = 2.5;  // how steeply the altitude hold closes on its setting

// The speed hold on, with the autothrottle armed, at the speed setting (as its button does).
void hold_speed(AircraftState& s);

FlightCommands run_autopilot(AircraftState& s, const ApproachCommands& approach, double dt);

}  // namespace sim
