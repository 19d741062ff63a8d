#pragma once
// The crew's hands on the host's aircraft, as the window viewer's keys move them: the throttles, the
// control column (with the autopilot master off it sets the hand flying's vertical speed and bank),
// the gear lever, the flap lever in its detents, the brakes and the approach mode.

#include <span>

#include "sim/state.h"

namespace sim {

enum class CrewAction {
    throttle_up, throttle_down, nose_up, nose_down, roll_left, roll_right, gear, flaps_down, flaps_up, brakes,
    approach,
};

inline constexpr double crew_throttle_step = 0.05;
inline constexpr double column_step_fpm = 200.0;
inline constexpr double max_hand_vertical_speed_fpm = 4000.0;
inline constexpr double wheel_step_deg = 5.0;
inline constexpr double max_hand_bank_deg = 25.0;
// The flap lever's detents, 0 .. 1 of its travel.
std::span<const double> flap_detents();

void apply_crew_action(AircraftState& s, CrewAction a);

}  // namespace sim
