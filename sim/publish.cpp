// The aircraft's state as the panel's tokens, each in the form and units its readers convert from.

#include <cmath>

#include "host/tokens.h"
#include "sim/aero.h"
#include "sim/aircraft.h"
#include "sim/units.h"

namespace sim {

namespace {

namespace token = gauge::token;

constexpr double ticks_per_second = 18.0;  // the host's running tick count
constexpr double standard_altimeter_inhg = 29.92;
constexpr double english_units = 0;        // the units token: 0 and 1 are feet, 2 metres

double flag(bool b) { return b ? 1.0 : 0.0; }

void publish_position(const AircraftState& s, TokenSink& out) {
    out.set_double(token::latitude, latitude_to_units(s.position.lat));
    out.set_double(token::longitude, longitude_to_units(s.position.lon));
    out.set_double(token::altitude_m, s.altitude_ft * metres_per_foot);
    out.set_double(token::altitude_ft, s.altitude_ft);
    out.set_double(token::ground_elevation, s.ground_elevation_ft * metres_per_foot * ground_elevation_units_per_metre);
    out.set_double(token::on_ground, flag(s.on_ground));
    out.set_double(token::true_heading, s.true_heading_deg);
    out.set_double(token::magnetic_heading, wrap_360(s.true_heading_deg - s.variation_deg));
    out.set_double(token::magnetic_variation, s.variation_deg);
    // The host's attitude signs: pitch positive nose down, bank positive left wing down.
    out.set_double(token::pitch, -s.pitch_deg);
    out.set_double(token::bank, -s.bank_deg);
    out.set_double(token::sideslip, 0.0);
}

void publish_air_data(const AircraftState& s, TokenSink& out) {
    out.set_double(token::indicated_airspeed, s.ias_kt);
    out.set_double(token::mach, mach(s) * mach_units);
    out.set_double(token::max_operating_speed, max_speed_kt(s.altitude_ft) * max_operating_speed_units_per_knot);
    out.set_double(token::vertical_speed, s.vertical_speed_fpm / fpm_per_vertical_speed_unit);
    out.set_double(token::stall_warning, flag(s.stall_warning));
    out.set_double(token::altimeter_setting, standard_altimeter_inhg);
    out.set_double(token::wind_speed, s.wind_kt);
    out.set_double(token::wind_direction, s.wind_from_deg);
    out.set_double(token::units, english_units);
}

void publish_clock(const AircraftState& s, double elapsed, TokenSink& out) {
    const double t = std::floor(s.clock_s);
    out.set_double(token::clock_hours, std::floor(t / 3600.0));
    out.set_double(token::clock_minutes, std::floor(std::fmod(t, 3600.0) / 60.0));
    out.set_double(token::clock_seconds, std::fmod(t, 60.0));
    // The sum of many cycle times falls a hair short of the whole tick as often as not: the count
    // would stall and skip, and the panel's flashing lights with it.
    out.set_double(token::tick_count, std::floor(elapsed * ticks_per_second + 1e-6));
}

// The approach mode's holds, as the flight display annunciates them beside the heading and altitude
// holds: the localizer's from arming to the stop (armed while another lateral mode flies, engaged
// once captured, when the heading hold lets go of it); the glide slope's once captured and through
// the flare, and before that armed beside the altitude hold while a glide slope is received. With
// the master on and neither the heading hold nor the localizer steering, the autopilot holds the
// wings level: that is its lateral mode.
void publish_approach_modes(const AircraftState& s, TokenSink& out) {
    const ApproachPhase p = s.approach;
    const bool localizer = p >= ApproachPhase::armed && p <= ApproachPhase::rollout;
    const bool localizer_steers = p >= ApproachPhase::localizer && p <= ApproachPhase::rollout;
    const bool glide_slope_armed = (p == ApproachPhase::armed || p == ApproachPhase::localizer) && s.autopilot.altitude_hold &&
                                   s.reception.nav[0].glide_slope;
    const bool glide_slope = p == ApproachPhase::glide_slope || p == ApproachPhase::flare || glide_slope_armed;
    out.set_double(token::ap_localizer_hold, flag(localizer));
    out.set_double(token::ap_glide_slope_hold, flag(glide_slope));
    out.set_double(token::ap_wing_leveler, flag(s.autopilot.master && !s.autopilot.heading_hold && !localizer_steers));
}

void publish_autopilot(const AircraftState& s, TokenSink& out) {
    const AutopilotSettings& ap = s.autopilot;
    out.set_double(token::ap_master, flag(ap.master));
    out.set_double(token::ap_heading_hold, flag(ap.heading_hold));
    out.set_double(token::ap_heading, ap.heading_bug_deg);
    out.set_double(token::ap_altitude_hold, flag(ap.altitude_hold));
    out.set_double(token::ap_altitude, ap.altitude_ft);
    out.set_double(token::ap_speed_hold, flag(ap.speed_hold));
    out.set_double(token::ap_speed, ap.speed_kt);
    out.set_double(token::ap_vertical_speed_hold, flag(s.vertical_speed_mode));
    out.set_double(token::ap_vertical_speed, ap.vertical_speed_fpm);
    out.set_double(token::autothrottle_armed, flag(ap.autothrottle_armed));
    publish_approach_modes(s, out);
}

void publish_engines(const AircraftState& s, TokenSink& out) {
    struct EngineTokens {
        int epr, n1, egt, n2, flow_shown, flow_used, oil_pressure, oil_temperature;
    };
    static constexpr EngineTokens tokens[engine_count] = {
        {token::engine1_epr, token::engine1_n1, token::engine1_egt, token::engine1_n2, token::engine1_fuel_flow,
         token::engine1_fuel_flow_used, token::engine1_oil_pressure, token::engine1_oil_temperature},
        {token::engine2_epr, token::engine2_n1, token::engine2_egt, token::engine2_n2, token::engine2_fuel_flow,
         token::engine2_fuel_flow_used, token::engine2_oil_pressure, token::engine2_oil_temperature}};
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
    // Tanks in the host's volume unit.
    out.set_double(token::left_tank, s.fuel_lb[0] / pounds_per_gallon);
    out.set_double(token::centre_tank, s.fuel_lb[1] / pounds_per_gallon);
    out.set_double(token::right_tank, s.fuel_lb[2] / pounds_per_gallon);
    for (int bus : token::power_buses) out.set_double(bus, 1.0);
}

void publish_gear_and_flaps(const AircraftState& s, TokenSink& out) {
    out.set_double(token::gear_lever, s.controls.gear_down ? lever_full : 0.0);
    out.set_double(token::nose_gear, std::round(s.gear_position[0] * lever_full));
    out.set_double(token::left_gear, std::round(s.gear_position[1] * lever_full));
    out.set_double(token::right_gear, std::round(s.gear_position[2] * lever_full));
    out.set_double(token::flap_handle, std::round(s.flap_position * lever_full));
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
    out.set_int(token::nav1_frequency, nav_frequency_bcd(s.radios.nav_channel[0] / 100.0));
    out.set_double(token::nav1_course, s.radios.course_deg[0]);
    out.set_int(token::nav1_flags, nav_flags(nav1, s.radios.nav_channel[0]));
    out.set_text(token::nav1_ident, nav1.ident);
    out.set_double(token::nav1_deviation, nav1.deviation);
    out.set_int(token::nav1_to_from, static_cast<std::int32_t>(nav1.to_from));
    out.set_double(token::nav1_deviation_gate, nav1.overhead ? deviation_gate_overhead : 0.0);
    out.set_double(token::glide_slope_available, flag(nav1.glide_slope));
    out.set_double(token::glide_slope_deviation, nav1.glide_deviation);
    out.set_double(token::dme1_distance, nav1.dme_nm);
    out.set_double(token::dme1_speed, nav1.dme_kt);

    out.set_int(token::nav2_flags, nav_flags(nav2, s.radios.nav_channel[1]) & ~nav_flag_localizer);
    out.set_text(token::nav2_ident, nav2.ident);
    out.set_double(token::vor2_bearing, nav2.received ? relative_bearing(s, nav2.bearing_deg) : nav2.bearing_deg);
    out.set_double(token::dme2_distance, nav2.dme_nm);
    out.set_double(token::dme2_valid, flag(nav2.dme));

    const AdfReception& adf = s.reception.adf;
    out.set_double(token::adf_active, flag(adf.received));
    out.set_text(token::adf_ident, adf.ident);
    out.set_double(token::adf_bearing, adf.received ? relative_bearing(s, adf.bearing_deg) : adf.bearing_deg);
    out.set_double(token::marker, s.reception.marker);
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
