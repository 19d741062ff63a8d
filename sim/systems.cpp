#include "sim/systems.h"

#include <algorithm>

#include "sim/rate_limiter.h"

namespace sim {

namespace {

constexpr RateLimiter gear_actuator{1.0 / gear_travel_s};
constexpr RateLimiter flap_actuator{1.0 / flap_travel_s};

}  // namespace

void run_systems(AircraftState& s, double dt) {
    const double gear_target = s.controls.gear_down ? 1.0 : 0.0;
    // A gear leg cannot fold into the runway.
    if (!s.on_ground || s.controls.gear_down)
        for (double& leg : s.gear_position) leg = gear_actuator.step(leg, gear_target, dt);
    s.flap_position = flap_actuator.step(s.flap_position, std::clamp(s.controls.flaps, 0.0, 1.0), dt);
}

}  // namespace sim
