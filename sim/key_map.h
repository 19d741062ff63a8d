#pragma once
// The key events the aircraft answers: the one table that gives the autopilot, throttle and gear
// events of the panel's modules their meaning here. Events that a module repeats every cycle set a
// state rather than toggle it, so repeating them changes nothing.

#include <cstdint>
#include <span>

#include "sim/state.h"

namespace sim {

struct KeyBinding {
    std::uint32_t id;
    const char* meaning;
    void (*apply)(AircraftState& s, std::uint32_t value);
};

std::span<const KeyBinding> key_bindings();
const KeyBinding* find_key_binding(std::uint32_t id);

inline constexpr double throttle_step = 0.05;
inline constexpr double max_altitude_setting_ft = 50000.0;
inline constexpr double max_vertical_speed_setting_fpm = 9900.0;
inline constexpr double max_speed_setting_kt = 999.0;

}  // namespace sim
