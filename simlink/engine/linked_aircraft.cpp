#include "simlink/engine/linked_aircraft.h"

#include "host/tokens.h"
#include "sim/units.h"

namespace simlink {

namespace {

namespace token = gauge::token;

double longitude_degrees(double units) {
    const double deg = units * sim::longitude_degrees_per_unit;
    return deg >= 180.0 ? deg - 360.0 : deg;
}

}  // namespace

sim::AircraftState aircraft_from_tokens(const std::function<double(int)>& t) {
    sim::AircraftState s;
    s.position = {t(token::latitude) * sim::latitude_degrees_per_unit, longitude_degrees(t(token::longitude))};
    s.altitude_ft = t(token::altitude_ft);
    s.ias_kt = t(token::indicated_airspeed);
    s.true_heading_deg = t(token::true_heading);
    s.pitch_deg = -t(token::pitch);
    s.bank_deg = -t(token::bank);
    s.vertical_speed_fpm = t(token::vertical_speed) * sim::fpm_per_vertical_speed_unit;
    s.on_ground = t(token::on_ground) != 0;
    s.variation_deg = t(token::magnetic_variation);
    s.ground_elevation_ft = t(token::ground_elevation) / sim::ground_elevation_units_per_metre * sim::feet_per_metre;
    s.wind_from_deg = t(token::wind_direction);
    s.wind_kt = t(token::wind_speed);
    sim::AutopilotSettings& ap = s.autopilot;
    ap.master = t(token::ap_master) != 0;
    ap.heading_hold = t(token::ap_heading_hold) != 0;
    ap.altitude_hold = t(token::ap_altitude_hold) != 0;
    ap.speed_hold = t(token::ap_speed_hold) != 0;
    ap.autothrottle_armed = t(token::autothrottle_armed) != 0;
    ap.heading_bug_deg = t(token::ap_heading);
    ap.altitude_ft = t(token::ap_altitude);
    ap.vertical_speed_fpm = t(token::ap_vertical_speed);
    ap.speed_kt = t(token::ap_speed);
    s.vertical_speed_mode = t(token::ap_vertical_speed_hold) != 0;
    s.flap_position = t(token::flap_handle) / sim::lever_full;
    s.gear_position = {t(token::nose_gear) / sim::lever_full, t(token::left_gear) / sim::lever_full,
                       t(token::right_gear) / sim::lever_full};
    return s;
}

}  // namespace simlink
