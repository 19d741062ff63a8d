#pragma once
// The aircraft's performance: weight, atmosphere, lift and drag, thrust. Plain functions of the
// state so that the models and the tests share one set of numbers.

#include "sim/state.h"

namespace sim {

inline constexpr double zero_fuel_weight_lb = 117446.0;  // the gross weight gauge's fixed part
inline constexpr double wing_area_ft2 = 1209.0;
inline constexpr double sea_level_density_slug_ft3 = 0.0023769;
inline constexpr double static_thrust_lbf = 20000.0;  // one engine at sea level
inline constexpr double max_operating_speed_kt = 340.0;
inline constexpr double max_operating_mach = 0.84;

double weight_lb(const AircraftState& s);
double fuel_total_lb(const AircraftState& s);
// The simple relation the panel's aircraft uses: true airspeed grows 2 % per 1000 ft.
double tas_from_ias(double ias_kt, double altitude_ft);
double ias_from_tas(double tas_kt, double altitude_ft);
double density_ratio(double altitude_ft);   // standard atmosphere
double speed_of_sound_kt(double altitude_ft);
double mach(const AircraftState& s);
// Stall speed (indicated) for the weight and flap position.
double stall_speed_kt(double weight_lb, double flaps);
// The highest indicated speed allowed at this altitude (the lower of Vmo and Mmo).
double max_speed_kt(double altitude_ft);
double lift_coefficient(const AircraftState& s);
double drag_lbf(const AircraftState& s);
// The speed brakes out: the lever's or, further, the speed hold's; and the drag a full deflection
// adds at the present speed.
double speed_brake_out(const AircraftState& s);
double full_speed_brake_drag_lbf(const AircraftState& s);
double max_thrust_lbf(double altitude_ft, double mach);  // one engine at full throttle
// Thrust of one engine at N1 (percent), and the N1 that gives a thrust.
double thrust_at_n1(double n1, double altitude_ft, double mach);
double n1_for_thrust(double thrust_lbf, double altitude_ft, double mach);

inline constexpr double idle_n1 = 25.0;
inline constexpr double full_n1 = 100.0;

}  // namespace sim
