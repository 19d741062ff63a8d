#pragma once
// The key events of the panel, by number: what the modules send to the simulator and what the
// host's aircraft and the simulator links answer. An event goes with an integer value, which is 0
// unless its comment says otherwise.

#include <cstdint>

namespace gauge::event {

inline constexpr std::uint32_t gear_toggle = 65570;          // gear lever up/down
inline constexpr std::uint32_t ap_master_off = 65580;        // autopilot master off
inline constexpr std::uint32_t throttles_up = 65597;         // throttles up one step
inline constexpr std::uint32_t speed_brakes = 65786;         // speed brakes to value / 16383
inline constexpr std::uint32_t ap_master_on = 65792;         // autopilot master on
inline constexpr std::uint32_t heading_hold_on = 65807;
inline constexpr std::uint32_t altitude_hold_on = 65808;
inline constexpr std::uint32_t heading_hold_off = 65815;
inline constexpr std::uint32_t altitude_hold_off = 65816;
inline constexpr std::uint32_t autothrottle_arm = 65860;
inline constexpr std::uint32_t heading_bug_up = 65879;       // heading bug +1 degree
inline constexpr std::uint32_t heading_bug_down = 65880;     // heading bug -1 degree
inline constexpr std::uint32_t altitude_up = 65892;          // altitude setting +100 ft
inline constexpr std::uint32_t altitude_down = 65893;        // altitude setting -100 ft
inline constexpr std::uint32_t vertical_speed_up = 65894;    // vertical speed setting +100 fpm
inline constexpr std::uint32_t vertical_speed_down = 65895;  // vertical speed setting -100 fpm
inline constexpr std::uint32_t speed_up = 65896;             // speed setting +1 kt
inline constexpr std::uint32_t speed_down = 65897;           // speed setting -1 kt
inline constexpr std::uint32_t engine1_climb_thrust = 65963;
inline constexpr std::uint32_t engine2_climb_thrust = 65968;
inline constexpr std::uint32_t engine3_climb_thrust = 65973;
inline constexpr std::uint32_t engine4_climb_thrust = 65978;
inline constexpr std::uint32_t engine1_fire_bottle = 65987;  // 0x101C3, value 1
inline constexpr std::uint32_t engine2_fire_bottle = 65992;  // 0x101C8, value 1
inline constexpr std::uint32_t speed_set = 66037;            // speed setting to value, knots
inline constexpr std::uint32_t speed_hold_on = 66112;
inline constexpr std::uint32_t speed_hold_off = 66113;

}  // namespace gauge::event
