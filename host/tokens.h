#pragma once
// The simulator variables of the panel, by token id: what the modules read and what the host's
// aircraft and the simulator links publish. A value is a double unless its comment says otherwise;
// "integer" means a 32-bit integer in the value's first 4 bytes, "text" a pointer to a
// NUL-terminated text. Flags are on when not zero; levers run from 0 to 16383.

#include <cstdint>

namespace gauge::token {

inline constexpr std::int32_t none = -1;  // an element that follows no variable; a named variable

// --- Clock ---------------------------------------------------------------------------------------
inline constexpr std::int32_t tick_count = 1;     // running count, 18 a second
inline constexpr std::int32_t clock_hours = 3;
inline constexpr std::int32_t clock_minutes = 4;
inline constexpr std::int32_t clock_seconds = 5;  // its change marks the engine gauge's fuel period

// --- Position and attitude -----------------------------------------------------------------------
inline constexpr std::int32_t latitude = 71;             // units of 90 / 10001750 degree
inline constexpr std::int32_t longitude = 72;            // 2^48 units per turn
inline constexpr std::int32_t altitude_m = 73;           // metres
inline constexpr std::int32_t altitude_ft = 74;          // feet
inline constexpr std::int32_t ground_elevation = 2;      // metres x 256
inline constexpr std::int32_t on_ground = 60;            // flag
inline constexpr std::int32_t true_heading = 86;         // degrees; the map's rotation
inline constexpr std::int32_t magnetic_heading = 81;     // degrees
inline constexpr std::int32_t magnetic_variation = 82;   // degrees, east positive
inline constexpr std::int32_t pitch = 78;                // degrees, positive nose down
inline constexpr std::int32_t bank = 80;                 // degrees, positive left wing down
inline constexpr std::int32_t sideslip = 69;             // the turn coordinator's ball, raw

// --- Air data ------------------------------------------------------------------------------------
inline constexpr std::int32_t indicated_airspeed = 61;   // knots; the yaw damper light's supply too
inline constexpr std::int32_t max_operating_speed = 63;  // knots x 128
inline constexpr std::int32_t mach = 64;                 // Mach x 20480
inline constexpr std::int32_t vertical_speed = 65;       // raw: feet per minute / 0.780288
inline constexpr std::int32_t stall_warning = 67;        // flag
inline constexpr std::int32_t altimeter_setting = 76;    // inches of mercury
inline constexpr std::int32_t wind_speed = 343;          // knots
inline constexpr std::int32_t wind_direction = 344;      // degrees true, where the wind blows from
inline constexpr std::int32_t units = 335;               // 2 metres, 0 or 1 feet

// --- Radios --------------------------------------------------------------------------------------
inline constexpr std::int32_t nav1_frequency = 24;        // integer: BCD of the four digits after the leading 1
inline constexpr std::int32_t nav1_course = 45;           // degrees
inline constexpr std::int32_t nav1_flags = 46;            // integer: bit 0 DME, bit 3 no signal, bit 7 localizer
inline constexpr std::int32_t nav1_ident = 47;            // text
inline constexpr std::int32_t nav1_deviation = 40;        // -127 .. 127
inline constexpr std::int32_t nav1_to_from = 42;          // integer: 1 TO, 4 FROM, 0 neither
inline constexpr std::int32_t nav1_deviation_gate = 49;   // 30000 and more: the deviation bar is drawn centred
inline constexpr std::int32_t glide_slope_available = 44; // flag
inline constexpr std::int32_t glide_slope_deviation = 41; // -127 .. 127, negative below the beam
inline constexpr std::int32_t dme1_distance = 31;         // nautical miles
inline constexpr std::int32_t dme1_speed = 32;            // knots
inline constexpr std::int32_t nav2_flags = 55;            // integer: bit 0 DME2 shown, bit 3 no signal
inline constexpr std::int32_t nav2_ident = 56;            // text
inline constexpr std::int32_t vor2_bearing = 59;          // degrees, relative to the nose
inline constexpr std::int32_t dme2_distance = 35;         // nautical miles
inline constexpr std::int32_t dme2_valid = 58;            // flag
inline constexpr std::int32_t adf_active = 20;            // flag
inline constexpr std::int32_t adf_ident = 19;             // text
inline constexpr std::int32_t adf_bearing = 39;           // degrees, relative to the nose
inline constexpr std::int32_t marker = 354;               // 1 outer, 2 middle, 3 inner, 0 none

// --- Autopilot -----------------------------------------------------------------------------------
inline constexpr std::int32_t ap_master = 103;               // flag ("CMD")
inline constexpr std::int32_t ap_wing_leveler = 104;         // flag ("LVL")
inline constexpr std::int32_t ap_nav_hold = 105;             // flag ("NAV")
inline constexpr std::int32_t ap_heading_hold = 106;         // flag ("HDG")
inline constexpr std::int32_t ap_heading = 107;              // heading bug, degrees magnetic
inline constexpr std::int32_t ap_altitude_hold = 108;        // flag ("ALT")
inline constexpr std::int32_t ap_altitude = 109;             // altitude setting, feet (metres in metric units)
inline constexpr std::int32_t ap_attitude_hold = 110;        // flag ("ATT")
inline constexpr std::int32_t ap_glide_slope_hold = 111;     // flag ("G / S")
inline constexpr std::int32_t ap_localizer_hold = 112;       // flag ("LOC")
inline constexpr std::int32_t ap_back_course = 113;          // flag ("BC")
inline constexpr std::int32_t yaw_damper = 114;              // flag ("Y / D"); the annunciator reads exactly 0 or 1
inline constexpr std::int32_t ap_speed_hold = 115;           // flag ("SPD")
inline constexpr std::int32_t ap_speed = 116;                // speed setting, knots
inline constexpr std::int32_t ap_mach_hold = 117;            // flag ("MACH")
inline constexpr std::int32_t ap_vertical_speed_hold = 119;  // flag ("V / S")
inline constexpr std::int32_t ap_vertical_speed = 120;       // vertical speed setting, feet per minute
inline constexpr std::int32_t autothrottle_armed = 123;      // flag ("A / T")
inline constexpr std::int32_t takeoff_go_around = 124;       // flag ("TO/GA")

// --- Engines (1 left, 2 right) -------------------------------------------------------------------
inline constexpr std::int32_t engine1_epr = 630;              // ratio
inline constexpr std::int32_t engine2_epr = 649;
inline constexpr std::int32_t engine1_n1 = 624;               // percent
inline constexpr std::int32_t engine2_n1 = 643;
inline constexpr std::int32_t engine1_n2 = 625;               // percent
inline constexpr std::int32_t engine2_n2 = 644;
inline constexpr std::int32_t engine1_egt = 567;              // degrees Rankine
inline constexpr std::int32_t engine2_egt = 577;
inline constexpr std::int32_t engine1_fuel_flow = 638;        // pounds per hour, shown
inline constexpr std::int32_t engine2_fuel_flow = 657;
inline constexpr std::int32_t engine1_fuel_flow_used = 138;   // pounds per hour, summed into fuel used
inline constexpr std::int32_t engine2_fuel_flow_used = 173;
inline constexpr std::int32_t engine1_oil_pressure = 562;     // pounds per square foot
inline constexpr std::int32_t engine2_oil_pressure = 572;
inline constexpr std::int32_t engine1_oil_temperature = 561;  // degrees Rankine
inline constexpr std::int32_t engine2_oil_temperature = 571;
inline constexpr std::int32_t engine1_turning = 136;          // N2 on a 16384 = 100 % scale
inline constexpr std::int32_t engine2_turning = 171;

// The oil gauge's top window; and the windows showing fixed texts, which never read theirs.
inline constexpr std::int32_t oil_top_window = 350;
inline constexpr std::int32_t oil_fixed_100_engine1 = 149;
inline constexpr std::int32_t oil_fixed_100_engine2 = 184;
inline constexpr std::int32_t oil_fixed_99_engine1 = 151;
inline constexpr std::int32_t oil_fixed_99_engine2 = 186;

// --- Electrical power and fuel -------------------------------------------------------------------
// The displays are live when any of the three buses is not zero.
inline constexpr std::int32_t power_bus1 = 364;
inline constexpr std::int32_t power_bus2 = 761;
inline constexpr std::int32_t power_bus3 = 763;
inline constexpr std::int32_t power_buses[3] = {power_bus1, power_bus2, power_bus3};
inline constexpr std::int32_t left_tank = 304;    // the host's volume unit: pounds / 6.6016
inline constexpr std::int32_t centre_tank = 303;
inline constexpr std::int32_t right_tank = 305;

// --- Gear and flaps ------------------------------------------------------------------------------
inline constexpr std::int32_t gear_lever = 331;   // 0 up, 16383 down
inline constexpr std::int32_t nose_gear = 332;    // position, 0 up .. 16383 down
inline constexpr std::int32_t left_gear = 333;
inline constexpr std::int32_t right_gear = 334;
inline constexpr std::int32_t flap_handle = 328;  // 0 .. 16383

// The DME gauge's third light compares these two (with the altitude hold); their meaning is the
// simulator's own, not the panel's.
inline constexpr std::int32_t third_light_first_input = 330;
inline constexpr std::int32_t third_light_second_input = 319;

}  // namespace gauge::token
