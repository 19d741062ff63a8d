#include "sim/aero.h"

#include <algorithm>
#include <cmath>

#include "sim/units.h"

namespace sim {

namespace {

constexpr double induced_drag_factor = 0.045;
constexpr double idle_thrust_fraction = 0.04;
constexpr double thrust_curve_exponent = 1.6;
constexpr double speed_brake_drag_coefficient = 0.025;

double dynamic_pressure_lb_ft2(double ias_kt) {
    const double v = ias_kt * knots_to_fps;
    return 0.5 * sea_level_density_slug_ft3 * v * v;
}

double thrust_lapse(double altitude_ft, double mach) {
    return std::pow(density_ratio(altitude_ft), 0.75) * std::max(0.5, 1.0 - 0.3 * mach);
}

}  // namespace

double fuel_total_lb(const AircraftState& s) { return s.fuel_lb[0] + s.fuel_lb[1] + s.fuel_lb[2]; }

double weight_lb(const AircraftState& s) { return zero_fuel_weight_lb + fuel_total_lb(s); }

double tas_from_ias(double ias_kt, double altitude_ft) { return ias_kt * (1.0 + 0.02 * std::max(0.0, altitude_ft) / 1000.0); }

double ias_from_tas(double tas_kt, double altitude_ft) { return tas_kt / (1.0 + 0.02 * std::max(0.0, altitude_ft) / 1000.0); }

double density_ratio(double altitude_ft) {
    const double h = std::clamp(altitude_ft, -2000.0, 65000.0);
    if (h <= 36089.0) return std::pow(1.0 - 6.8755856e-6 * h, 4.2558797);
    return 0.29707 * std::exp(-(h - 36089.0) / 20806.0);
}

double speed_of_sound_kt(double altitude_ft) {
    const double h = std::clamp(altitude_ft, -2000.0, 36089.0);
    const double kelvin = 288.15 - 0.0019812 * h;
    return 661.47 * std::sqrt(kelvin / 288.15);
}

double mach(const AircraftState& s) { return tas_from_ias(s.ias_kt, s.altitude_ft) / speed_of_sound_kt(s.altitude_ft); }

double stall_speed_kt(double weight, double flaps) {
    const double cl_max = 1.5 + 1.1 * std::clamp(flaps, 0.0, 1.0);
    return std::sqrt(2.0 * weight / (sea_level_density_slug_ft3 * wing_area_ft2 * cl_max)) / knots_to_fps;
}

double max_speed_kt(double altitude_ft) {
    const double by_mach = ias_from_tas(max_operating_mach * speed_of_sound_kt(altitude_ft), altitude_ft);
    return std::min(max_operating_speed_kt, by_mach);
}

double lift_coefficient(const AircraftState& s) {
    const double q = dynamic_pressure_lb_ft2(std::max(s.ias_kt, 30.0));
    return weight_lb(s) / (q * wing_area_ft2);
}

double drag_lbf(const AircraftState& s) {
    const double q = dynamic_pressure_lb_ft2(s.ias_kt);
    const double gear = (s.gear_position[0] + s.gear_position[1] + s.gear_position[2]) / 3.0;
    const double cd0 = 0.018 + 0.045 * s.flap_position + 0.018 * gear + speed_brake_drag_coefficient * speed_brake_out(s);
    // On the ground the wing carries nothing at low speed; induced drag only once it lifts.
    const double cl = s.on_ground ? std::min(lift_coefficient(s), 0.5) : std::min(lift_coefficient(s), 3.0);
    return q * wing_area_ft2 * (cd0 + induced_drag_factor * cl * cl);
}

double speed_brake_out(const AircraftState& s) {
    return std::clamp(std::max(s.controls.speed_brake, s.held_speed_brake), 0.0, 1.0);
}

double full_speed_brake_drag_lbf(const AircraftState& s) {
    return dynamic_pressure_lb_ft2(s.ias_kt) * wing_area_ft2 * speed_brake_drag_coefficient;
}

double max_thrust_lbf(double altitude_ft, double mach) { return static_thrust_lbf * thrust_lapse(altitude_ft, mach); }

double thrust_at_n1(double n1, double altitude_ft, double mach) {
    const double x = std::clamp((n1 - idle_n1) / (full_n1 - idle_n1), 0.0, 1.0);
    const double running = n1 >= idle_n1 * 0.5 ? 1.0 : 0.0;
    return running * max_thrust_lbf(altitude_ft, mach) *
           (idle_thrust_fraction + (1 - idle_thrust_fraction) * std::pow(x, thrust_curve_exponent));
}

double n1_for_thrust(double thrust, double altitude_ft, double mach) {
    const double f = thrust / max_thrust_lbf(altitude_ft, mach);
    const double x = std::pow(std::clamp((f - idle_thrust_fraction) / (1 - idle_thrust_fraction), 0.0, 1.0),
                              1.0 / thrust_curve_exponent);
    return idle_n1 + x * (full_n1 - idle_n1);
}

}  // namespace sim
