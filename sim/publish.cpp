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

constexpr double deviation_gate_overhead = 30000.0;  // the display centres the deviation bar from 30 000

std::int32_t nav_flags(const NavReception& r, int channel) {
    return (r.dme ? nav_flag_dme : 0) | (r.received ? 0 : nav_flag_no_station) |
           (is_localizer_channel(channel) ? nav_flag_localizer : 0);
}

double relative_bearing(const AircraftState& s, double bearing_deg) { return wrap_360(bearing_deg - s.true_heading_deg); }

void publish_radios(const AircraftState& s, TokenSink& out) {
    const NavReception& nav1 = s.reception.nav[0];
    const NavReception& nav2 = s.reception.nav[1];
    out.set_int(24, nav_frequency_bcd(s.radios.nav_channel[0] / 100.0));
    out.set_double(45, s.radios.course_deg[0]);
    out.set_int(46, nav_flags(nav1, s.radios.nav_channel[0]));
    out.set_text(47, nav1.ident);
    out.set_double(40, nav1.deviation);
    out.set_int(42, static_cast<std::int32_t>(nav1.to_from));
    out.set_double(49, nav1.overhead ? deviation_gate_overhead : 0.0);
    out.set_double(44, flag(nav1.glide_slope));
    out.set_double(41, nav1.glide_deviation);
    out.set_double(31, nav1.dme_nm);
    out.set_double(32, nav1.dme_kt);

    out.set_int(55, nav_flags(nav2, s.radios.nav_channel[1]) & ~nav_flag_localizer);
    out.set_text(56, nav2.ident);
    out.set_double(59, nav2.received ? relative_bearing(s, nav2.bearing_deg) : nav2.bearing_deg);
    out.set_double(35, nav2.dme_nm);
    out.set_double(58, flag(nav2.dme));

    const AdfReception& adf = s.reception.adf;
    out.set_double(20, flag(adf.received));
    out.set_text(19, adf.ident);
    out.set_double(39, adf.received ? relative_bearing(s, adf.bearing_deg) : adf.bearing_deg);
    out.set_double(354, s.reception.marker);
}

}  // namespace

void Aircraft::publish(TokenSink& out) const {
    publish_position(state_, out);
    publish_air_data(state_, out);
    publish_clock(state_, elapsed_, out);
    publish_autopilot(state_, out);
    publish_engines(state_, out);
    publish_gear_and_flaps(state_, out);
    publish_radios(state_, out);
}

}  // namespace sim
