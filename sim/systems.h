#pragma once
// Gear and flaps following their levers at their actuators' rates.

#include "sim/state.h"

namespace sim {

inline constexpr double gear_travel_s = 8.0;   // up to down
inline constexpr double flap_travel_s = 15.0;  // retracted to fully extended

void run_systems(AircraftState& s, double dt);

}  // namespace sim
