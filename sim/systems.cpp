#include "sim/systems.h"

#include <algorithm>

namespace sim {

namespace {

double toward(double value, double target, double max_step) {
    return value + std::clamp(target - value, -max_step, max_step);
}

}  // namespace

void run_systems(AircraftState& s, double dt) {
    const double gear_target = s.controls.gear_down ? 1.0 : 0.0;
    // A gear leg cannot fold into the runway.
    if (!s.on_ground || s.controls.gear_down)
        for (double& leg : s.gear_position) leg = toward(leg, gear_target, dt / gear_travel_s);
    s.flap_position = toward(s.flap_position, std::clamp(s.controls.flaps, 0.0, 1.0), dt / flap_travel_s);
}

}  // namespace sim
