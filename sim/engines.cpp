#include "sim/engines.h"

#include <algorithm>
#include <cmath>

#include "sim/aero.h"
#include "sim/units.h"

namespace sim {

namespace {

constexpr double spool_time_s = 2.0;
constexpr double temperature_time_s = 20.0;  // oil warms and cools slowly
constexpr double idle_fuel_flow_pph = 800.0;
constexpr double full_fuel_flow_pph = 6500.0;

double rankine_from_celsius(double c) { return c * 9.0 / 5.0 + 32.0 + rankine_above_fahrenheit; }

double approach(double value, double target, double dt, double time_constant) {
    return value + (target - value) * std::min(1.0, dt / time_constant);
}

void spool(Engine& e, double throttle, bool fed, double dt) {
    const double target = fed ? idle_n1 + std::clamp(throttle, 0.0, 1.0) * (full_n1 - idle_n1) : 0.0;
    e.n1 = approach(e.n1, target, dt, spool_time_s);
    e.running = fed && e.n1 > idle_n1 * 0.5;
}

void follow_n1(Engine& e, double altitude_ft, double m, double dt) {
    const double x = std::clamp((e.n1 - idle_n1) / (full_n1 - idle_n1), 0.0, 1.0);
    const double turning = std::clamp(e.n1 / idle_n1, 0.0, 1.0);  // below idle everything runs down
    e.thrust_lbf = thrust_at_n1(e.n1, altitude_ft, m);
    e.n2 = turning * (58.0 + 42.0 * x);
    e.epr = 1.0 + turning * (0.02 + 1.18 * std::pow(x, 1.3));
    e.egt_rankine = rankine_from_celsius(15.0 + turning * (385.0 + 250.0 * x));
    e.fuel_flow_pph = e.running ? (idle_fuel_flow_pph + (full_fuel_flow_pph - idle_fuel_flow_pph) * std::pow(x, 1.3)) *
                                      std::pow(density_ratio(altitude_ft), 0.6)
                                : 0.0;
    e.oil_pressure_psf = turning * (30.0 + 15.0 * x) * 144.0;
    e.oil_temperature_rankine =
        approach(e.oil_temperature_rankine, rankine_from_celsius(15.0 + turning * (55.0 + 40.0 * x)), dt, temperature_time_s);
}

void burn(AircraftState& s, double pounds) {
    double& centre = s.fuel_lb[1];
    const double from_centre = std::min(centre, pounds);
    centre -= from_centre;
    double rest = pounds - from_centre;
    // Wing tanks feed evenly; one that runs dry leaves the other to feed alone.
    for (int pass = 0; pass < 2 && rest > 0; ++pass) {
        const int feeding = (s.fuel_lb[0] > 0) + (s.fuel_lb[2] > 0);
        if (feeding == 0) break;
        const double share = rest / feeding;
        for (int t : {0, 2}) {
            const double taken = std::min(s.fuel_lb[static_cast<std::size_t>(t)], share);
            s.fuel_lb[static_cast<std::size_t>(t)] -= taken;
            rest -= taken;
        }
    }
}

}  // namespace

void run_engines(AircraftState& s, double dt) {
    const bool fed = fuel_total_lb(s) > 0;
    const double m = mach(s);
    double flow_pph = 0;
    for (int i = 0; i < engine_count; ++i) {
        Engine& e = s.engines[static_cast<std::size_t>(i)];
        spool(e, s.controls.throttle[static_cast<std::size_t>(i)], fed, dt);
        follow_n1(e, s.altitude_ft, m, dt);
        flow_pph += e.fuel_flow_pph;
    }
    burn(s, flow_pph * dt / seconds_per_hour);
}

}  // namespace sim
