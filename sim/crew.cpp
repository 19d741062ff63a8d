#include "sim/crew.h"

#include <algorithm>
#include <array>

#include "sim/approach.h"

namespace sim {

namespace {

constexpr std::array<double, 6> kDetents{0.0, 0.15, 0.3, 0.5, 0.75, 1.0};

void throttles_by(AircraftState& s, double d) {
    for (double& t : s.controls.throttle) t = std::clamp(t + d, 0.0, 1.0);
}

void flaps_by(AircraftState& s, int steps) {
    // The detent at or beyond the lever, then steps on from it.
    std::size_t at = 0;
    for (std::size_t i = 0; i < kDetents.size(); ++i)
        if (kDetents[i] <= s.controls.flaps + 1e-6) at = i;
    const auto next = static_cast<std::ptrdiff_t>(at) + steps;
    s.controls.flaps = kDetents[static_cast<std::size_t>(std::clamp<std::ptrdiff_t>(next, 0, kDetents.size() - 1))];
}

}  // namespace

std::span<const double> flap_detents() { return kDetents; }

void apply_crew_action(AircraftState& s, CrewAction a) {
    switch (a) {
        case CrewAction::throttle_up: throttles_by(s, crew_throttle_step); break;
        case CrewAction::throttle_down: throttles_by(s, -crew_throttle_step); break;
        case CrewAction::nose_up:
            s.hand_vertical_speed_fpm = std::min(s.hand_vertical_speed_fpm + column_step_fpm, max_hand_vertical_speed_fpm);
            break;
        case CrewAction::nose_down:
            s.hand_vertical_speed_fpm = std::max(s.hand_vertical_speed_fpm - column_step_fpm, -max_hand_vertical_speed_fpm);
            break;
        case CrewAction::roll_left: s.hand_bank_deg = std::max(s.hand_bank_deg - wheel_step_deg, -max_hand_bank_deg); break;
        case CrewAction::roll_right: s.hand_bank_deg = std::min(s.hand_bank_deg + wheel_step_deg, max_hand_bank_deg); break;
        case CrewAction::gear: s.controls.gear_down = !s.controls.gear_down; break;
        case CrewAction::flaps_down: flaps_by(s, 1); break;
        case CrewAction::flaps_up: flaps_by(s, -1); break;
        case CrewAction::brakes: s.controls.brakes = s.controls.brakes > 0 ? 0.0 : 1.0; break;
        case CrewAction::approach: arm_approach(s); break;
    }
}

}  // namespace sim
