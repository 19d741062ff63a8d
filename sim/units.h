#pragma once
// Units and constants of the host's aircraft, with the unit in every name.

namespace sim {

inline constexpr double pi = 3.14159265358979323846;
inline constexpr double degrees_to_radians = pi / 180.0;
inline constexpr double radians_to_degrees = 180.0 / pi;

// The panel's modules measure the earth as a sphere of this radius.
inline constexpr double earth_radius_nm = 3438.0;

inline constexpr double seconds_per_hour = 3600.0;
inline constexpr double seconds_per_minute = 60.0;
inline constexpr double minutes_per_hour = 60.0;
inline constexpr double hours_per_day = 24.0;

inline constexpr double feet_per_metre = 3.280839895013123;
inline constexpr double metres_per_foot = 0.3048;
inline constexpr double metres_per_nm = 1852.0;
inline constexpr double feet_per_nm = 6076.12;  // to the hundredth, as every distance of the aircraft has it
inline constexpr double knots_to_fps = 1.6878098571;  // feet per second per knot
inline constexpr double fpm_per_knot = feet_per_nm / seconds_per_minute;  // feet per minute per knot
inline constexpr double knots_per_kmh = 1000.0 / metres_per_nm;
inline constexpr double gravity_fps2 = 32.174;
inline constexpr double psf_per_psi = 144.0;  // pounds per square foot per pound per square inch
inline constexpr double rankine_above_fahrenheit = 459.67;
inline constexpr double fahrenheit_per_celsius = 1.8;
inline constexpr double fahrenheit_at_zero_celsius = 32.0;
inline constexpr double pounds_per_kg = 2.2046226218487757;
inline constexpr double pounds_per_gallon = 6.6016;  // the fuel quantity tokens' unit, as the gross weight reads it

// Token forms: latitude and longitude in the host's fixed units, vertical speed raw, Mach scaled.
inline constexpr double latitude_degrees_per_unit = 8.998425275576774e-06;
inline constexpr double longitude_degrees_per_unit = 1.2789770768341246e-12;
inline constexpr double fpm_per_vertical_speed_unit = 0.780288;  // the flight display's factor in English units
inline constexpr double mach_units = 20480.0;
inline constexpr double ground_elevation_units_per_metre = 256.0;
inline constexpr double max_operating_speed_units_per_knot = 128.0;

// Radio frequencies as X-Plane keeps them: in units of 10 kHz (10850 = 108.50 MHz).
inline constexpr double radio_units_per_mhz = 100.0;

// Gear and flap positions run over the host's lever range.
inline constexpr double lever_full = 16383.0;

}  // namespace sim
