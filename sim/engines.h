#pragma once
// Engines and fuel: each engine's N1 follows its throttle with a spool lag, and thrust, N2, EPR,
// EGT, fuel flow and oil values follow N1. The burn empties the centre tank first, then the wing
// tanks evenly; an engine without fuel runs down.

#include "sim/state.h"

namespace sim {

inline constexpr double climb_thrust = 0.92;  // the throttle position of "climb thrust"

void run_engines(AircraftState& s, double dt);

}  // namespace sim
