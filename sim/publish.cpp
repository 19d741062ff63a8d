// The aircraft's state as the panel's tokens, each in the form and units its readers convert from.

#include <cmath>

#include "sim/aero.h"
#include "sim/aircraft.h"
#include "sim/units.h"

namespace sim {

namespace {

constexpr double ticks_per_second = 18.0;  // the host's running tick count
constexpr double standard_altimeter_inhg = 29.92;
constexpr double english_units = 0;        // token 335: 0 and 1 are feet, 2 metres

double flag(bool b) { return b ? 1.0 : 0.0; }

void publish_position(const AircraftState& s, TokenSink& out) {
    out.set_double(71, latitude_to_units(s.position.lat));
    out.set_double(72, longitude_to_units(s.position.lon));
    out.set_double(73, s.altitude_ft * metres_per_foot);
    out.set_double(74, s.altitude_ft);
    out.set_double(2, s.ground_elevation_ft * metres_per_foot * ground_elevation_units_per_metre);
    out.set_double(60, flag(s.on_ground));
    out.set_double(86, s.true_heading_deg);
    out.set_double(81, wrap_360(s.true_heading_deg - s.variation_deg));
    out.set_double(82, s.variation_deg);
    // The host's attitude signs: pitch positive nose down, bank positive left wing down.
    out.set_double(78, -s.pitch_deg);
    out.set_double(80, -s.bank_deg);
    out.set_double(69, 0.0);
}

void publish_air_data(const AircraftState& s, TokenSink& out) {
    out.set_double(61, s.ias_kt);
    out.set_double(64, mach(s) * mach_units);
    out.set_double(63, max_speed_kt(s.altitude_ft) * max_operating_speed_units_per_knot);
    out.set_double(65, s.vertical_speed_fpm / fpm_per_vertical_speed_unit);
    out.set_double(67, flag(s.stall_warning));
    out.set_double(76, standard_altimeter_inhg);
    out.set_double(343, s.wind_kt);
    out.set_double(344, s.wind_from_deg);
    out.set_double(335, english_units);
}

void publish_clock(const AircraftState& s, double elapsed, TokenSink& out) {
    const double t = std::floor(s.clock_s);
    out.set_double(3, std::floor(t / 3600.0));
    out.set_double(4, std::floor(std::fmod(t, 3600.0) / 60.0));
    out.set_double(5, std::fmod(t, 60.0));
    out.set_double(1, std::floor(elapsed * ticks_per_second));
}

void publish_autopilot(const AircraftState& s, TokenSink& out) {
    const AutopilotSettings& ap = s.autopilot;
    out.set_double(103, flag(ap.master));
    out.set_double(106, flag(ap.heading_hold));
    out.set_double(107, ap.heading_bug_deg);
    out.set_double(108, flag(ap.altitude_hold));
    out.set_double(109, ap.altitude_ft);
    out.set_double(115, flag(ap.speed_hold));
    out.set_double(116, ap.speed_kt);
    out.set_double(119, flag(s.vertical_speed_mode));
    out.set_double(120, ap.vertical_speed_fpm);
    out.set_double(123, flag(ap.autothrottle_armed));
}

void publish_engines(const AircraftState& s, TokenSink& out) {
    struct EngineTokens {
        int epr, n1, egt, n2, flow_shown, flow_used, oil_pressure, oil_temperature;
    };
    static constexpr EngineTokens tokens[engine_count] = {{630, 624, 567, 625, 638, 138, 562, 561},
                                                          {649, 643, 577, 644, 657, 173, 572, 571}};
    for (std::size_t i = 0; i < engine_count; ++i) {
        const Engine& e = s.engines[i];
        out.set_double(tokens[i].epr, e.epr);
        out.set_double(tokens[i].n1, e.n1);
        out.set_double(tokens[i].egt, e.egt_rankine);
        out.set_double(tokens[i].n2, e.n2);
        out.set_double(tokens[i].flow_shown, e.fuel_flow_pph);
        out.set_double(tokens[i].flow_used, e.fuel_flow_pph);
        out.set_double(tokens[i].oil_pressure, e.oil_pressure_psf);
        out.set_double(tokens[i].oil_temperature, e.oil_temperature_rankine);
    }
    // Tanks in the host's volume unit: left 304, centre 303, right 305.
    out.set_double(304, s.fuel_lb[0] / pounds_per_gallon);
    out.set_double(303, s.fuel_lb[1] / pounds_per_gallon);
    out.set_double(305, s.fuel_lb[2] / pounds_per_gallon);
    for (int bus : {364, 761, 763}) out.set_double(bus, 1.0);
}

void publish_gear_and_flaps(const AircraftState& s, TokenSink& out) {
    out.set_double(331, s.controls.gear_down ? lever_full : 0.0);
    out.set_double(332, std::round(s.gear_position[0] * lever_full));
    out.set_double(333, std::round(s.gear_position[1] * lever_full));
    out.set_double(334, std::round(s.gear_position[2] * lever_full));
    out.set_double(328, std::round(s.flap_position * lever_full));
}

}  // namespace

void Aircraft::publish(TokenSink& out) const {
    publish_position(state_, out);
    publish_air_data(state_, out);
    publish_clock(state_, elapsed_, out);
    publish_autopilot(state_, out);
    publish_engines(state_, out);
    publish_gear_and_flaps(state_, out);
}

}  // namespace sim
