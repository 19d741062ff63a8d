#include "simlink/flightgear/token_map.h"

#include <algorithm>
#include <cmath>

#include "host/tokens.h"
#include "sim/aero.h"
#include "sim/earth.h"
#include "sim/radios.h"
#include "sim/units.h"

namespace simlink::fg {

namespace {

namespace token = gauge::token;

constexpr double ticks_per_second = 18.0;  // the host's running tick count
constexpr double deflection_units_per_dot = 12.7;  // FlightGear's CDI spans +/-10, the token +/-127
constexpr double needle_full_scale = 127.0;
constexpr double turning_units_per_percent = 163.84;  // the fire panel's 16384 = 100 % N2

// Lock values of FlightGear's generic autopilot, as its configuration names them.
constexpr std::string_view wing_leveler = "wing-leveler", dg_heading = "dg-heading-hold",
                           true_heading = "true-heading-hold", nav1_hold = "nav1-hold", altitude_hold = "altitude-hold",
                           vertical_speed_hold = "vertical-speed-hold", pitch_hold = "pitch-hold", gs1_hold = "gs1-hold",
                           speed_throttle = "speed-with-throttle", speed_pitch = "speed-with-pitch-trim";

double flag(bool b) { return b ? 1.0 : 0.0; }

double as_is(const Inputs& in) { return in[0]; }
double on_off(const Inputs& in) { return flag(in[0] != 0); }
double negated(const Inputs& in) { return -in[0]; }
double whole(const Inputs& in) { return std::floor(in[0]); }
double zero(const Inputs&) { return 0; }
double one(const Inputs&) { return 1; }

double latitude(const Inputs& in) { return latitude_units(in[0]); }
double longitude(const Inputs& in) { return longitude_units(in[0]); }
double feet_to_metres(const Inputs& in) { return in[0] * sim::metres_per_foot; }
double ground_elevation(const Inputs& in) { return in[0] * sim::ground_elevation_units_per_metre; }
double mach(const Inputs& in) { return in[0] * sim::mach_units; }
double max_operating_speed(const Inputs& in) { return sim::max_speed_kt(in[0]) * sim::max_operating_speed_units_per_knot; }
double vertical_speed_raw(const Inputs& in) { return in[0] * sim::seconds_per_minute / sim::fpm_per_vertical_speed_unit; }
double tick_count(const Inputs& in) { return std::floor(in[0] * ticks_per_second); }

double nav_frequency(const Inputs& in) { return sim::nav_frequency_bcd(in[0]); }
double metres_to_nm(const Inputs& in) { return in[0] / sim::metres_per_nm; }
double lateral_needle(const Inputs& in) {
    return std::clamp(in[0] * deflection_units_per_dot, -needle_full_scale, needle_full_scale);
}
// FlightGear's needle points up when the aircraft is below the beam; the token is negative there.
double glide_slope_needle(const Inputs& in) {
    return std::clamp(-in[0] * needle_full_scale, -needle_full_scale, needle_full_scale);
}
double glide_slope_available(const Inputs& in) { return flag(in[0] != 0 && in[1] != 0); }
double nav1_flags(const Inputs& in) {
    return (in[0] != 0 ? 0 : sim::nav_flag_no_station) | (in[1] != 0 ? sim::nav_flag_localizer : 0) |
           (in[2] != 0 ? sim::nav_flag_dme : 0);
}
double nav2_flags(const Inputs& in) { return (in[0] != 0 ? 0 : sim::nav_flag_no_station) | (in[1] != 0 ? sim::nav_flag_dme : 0); }
double to_from(const Inputs& in) {
    return static_cast<double>(in[1] != 0 ? sim::ToFrom::from : in[0] != 0 ? sim::ToFrom::to : sim::ToFrom::neither);
}
double marker(const Inputs& in) { return in[2] != 0 ? 3 : in[1] != 0 ? 2 : in[0] != 0 ? 1 : 0; }
double relative_bearing(const Inputs& in) { return sim::wrap_360(in[0] - in[1]); }

double master(const Inputs& in) {
    return flag(in.intent->master || !in.t[0].empty() || !in.t[1].empty() || !in.t[2].empty());
}
double wing_leveler_on(const Inputs& in) { return flag(in.t[0] == wing_leveler); }
double nav_hold_on(const Inputs& in) { return flag(in.t[0] == nav1_hold && in[1] == 0); }
double localizer_hold_on(const Inputs& in) { return flag(in.t[0] == nav1_hold && in[1] != 0); }
double heading_hold_on(const Inputs& in) { return flag(in.t[0] == dg_heading || in.t[0] == true_heading); }
double altitude_hold_on(const Inputs& in) { return flag(in.t[0] == altitude_hold || in.t[0] == vertical_speed_hold); }
double attitude_hold_on(const Inputs& in) { return flag(in.t[0] == pitch_hold); }
double glide_slope_hold_on(const Inputs& in) { return flag(in.t[0] == gs1_hold); }
double vertical_speed_hold_on(const Inputs& in) { return flag(in.t[0] == vertical_speed_hold); }
double speed_hold_on(const Inputs& in) { return flag(in.t[0] == speed_throttle || in.t[0] == speed_pitch); }
double autothrottle_armed(const Inputs& in) { return flag(in.intent->autothrottle_armed); }

double rankine(const Inputs& in) { return in[0] + sim::rankine_above_fahrenheit; }
double psi_to_psf(const Inputs& in) { return in[0] * sim::psf_per_psi; }
double gallons_to_pounds(const Inputs& in) { return in[0] * sim::pounds_per_gallon; }
double pounds_to_volume(const Inputs& in) { return in[0] / sim::pounds_per_gallon; }
double engine_turning(const Inputs& in) { return in[0] * turning_units_per_percent; }
double lever_units(const Inputs& in) { return std::round(std::clamp(in[0], 0.0, 1.0) * sim::lever_full); }

constexpr Source num(const char* path, double until_answered = 0) { return {path, false, until_answered}; }
constexpr Source txt(const char* path) { return {path, true, 0}; }

constexpr const char* heading_lock = "/autopilot/locks/heading";
constexpr const char* altitude_lock = "/autopilot/locks/altitude";
constexpr const char* speed_lock = "/autopilot/locks/speed";
constexpr const char* nav1_localizer = "/instrumentation/nav[0]/nav-loc";

#define ENGINE(n) "/engines/engine[" #n "]/"

// By token. Sources left out are "none": the row's conversion alone gives the value it keeps.
constexpr TokenRow kRows[] = {
    // Position and attitude
    {token::latitude, Form::number, {num("/position/latitude-deg")}, latitude,
     "latitude, units of 90 / 10001750 degree"},
    {token::longitude, Form::number, {num("/position/longitude-deg")}, longitude,
     "longitude, 2^48 units per turn, eastwards 0..360"},
    {token::altitude_m, Form::number, {num("/position/altitude-ft")}, feet_to_metres, "altitude, metres"},
    {token::altitude_ft, Form::number, {num("/position/altitude-ft")}, as_is, "altitude, feet"},
    {token::ground_elevation, Form::number, {num("/position/ground-elev-m")}, ground_elevation,
     "ground elevation, metres x 256"},
    {token::on_ground, Form::number, {num("/gear/gear[0]/wow")}, on_off,
     "on the ground: the nose wheel's weight on wheels"},
    {token::true_heading, Form::number, {num("/orientation/heading-deg")}, as_is, "true heading, degrees"},
    {token::magnetic_heading, Form::number, {num("/orientation/heading-magnetic-deg")}, as_is,
     "magnetic heading, degrees"},
    {token::magnetic_variation, Form::number, {num("/environment/magnetic-variation-deg")}, as_is,
     "variation, degrees east positive"},
    {token::pitch, Form::number, {num("/orientation/pitch-deg")}, negated, "pitch, degrees, positive nose down"},
    {token::bank, Form::number, {num("/orientation/roll-deg")}, negated, "bank, degrees, positive left wing down"},
    {token::sideslip, Form::number, {}, zero, "sideslip ball: FlightGear has no raw form of it; keeps 0 (centred)"},
    // Air data
    {token::indicated_airspeed, Form::number, {num("/velocities/airspeed-kt")}, as_is, "indicated airspeed, knots"},
    {token::mach, Form::number, {num("/velocities/mach")}, mach, "Mach x 20480"},
    {token::max_operating_speed, Form::number, {num("/position/altitude-ft")}, max_operating_speed,
     "maximum operating speed x 128: FlightGear has none; the panel aircraft's limit at this altitude"},
    {token::vertical_speed, Form::number, {num("/velocities/vertical-speed-fps")}, vertical_speed_raw,
     "vertical speed raw, fpm / 0.780288"},
    {token::stall_warning, Form::number, {num("/sim/alarms/stall-warning")}, on_off, "stall warning"},
    {token::altimeter_setting, Form::number, {num("/instrumentation/altimeter/setting-inhg", 29.92)}, as_is,
     "altimeter setting, inHg"},
    {token::wind_speed, Form::number, {num("/environment/wind-speed-kt")}, as_is, "wind speed, knots"},
    {token::wind_direction, Form::number, {num("/environment/wind-from-heading-deg")}, as_is,
     "wind from, degrees true"},
    {token::units, Form::number, {}, zero, "units: FlightGear's properties are read in feet; keeps 0 (feet)"},
    // Clock
    {token::tick_count, Form::number, {num("/sim/time/elapsed-sec")}, tick_count, "tick count, 18 a second"},
    {token::clock_hours, Form::number, {num("/sim/time/utc/hour", 12)}, whole, "clock hours (UTC)"},
    {token::clock_minutes, Form::number, {num("/sim/time/utc/minute")}, whole, "clock minutes"},
    {token::clock_seconds, Form::number, {num("/sim/time/utc/second")}, whole, "clock seconds"},
    // NAV1, DME, ADF, markers, NAV2
    {token::nav1_frequency, Form::integer, {num("/instrumentation/nav[0]/frequencies/selected-mhz", 110.0)},
     nav_frequency,
     "NAV1 frequency, BCD of the four digits after the leading 1"},
    {token::dme1_distance, Form::number, {num("/instrumentation/dme/indicated-distance-nm")}, as_is,
     "DME1 distance, NM"},
    {token::dme1_speed, Form::number, {num("/instrumentation/dme/indicated-ground-speed-kt")}, as_is,
     "DME1 speed, knots"},
    {token::dme2_distance, Form::number, {num("/instrumentation/nav[1]/nav-distance")}, metres_to_nm,
     "DME2 distance, NM"},
    {token::dme2_valid, Form::number, {num("/instrumentation/nav[1]/dme-in-range")}, on_off, "DME2 distance valid"},
    {token::nav1_deviation, Form::number, {num("/instrumentation/nav[0]/heading-needle-deflection")}, lateral_needle,
     "NAV1 lateral deviation, -127..127"},
    {token::glide_slope_deviation, Form::number, {num("/instrumentation/nav[0]/gs-needle-deflection-norm")},
     glide_slope_needle,
     "glide-slope deviation, -127..127, negative below the beam"},
    {token::nav1_to_from, Form::integer, {num("/instrumentation/nav[0]/to-flag"),
     num("/instrumentation/nav[0]/from-flag")}, to_from,
     "NAV1 to/from: 1 TO, 4 FROM, 0 neither"},
    {token::glide_slope_available, Form::number, {num("/instrumentation/nav[0]/has-gs"),
     num("/instrumentation/nav[0]/gs-in-range")},
     glide_slope_available, "glide slope available"},
    {token::nav1_course, Form::number, {num("/instrumentation/nav[0]/radials/selected-deg")}, as_is,
     "NAV1 selected course, degrees"},
    {token::nav1_flags, Form::integer,
     {num("/instrumentation/nav[0]/in-range"), num(nav1_localizer), num("/instrumentation/dme/in-range")}, nav1_flags,
     "NAV1 flags: bit 0 DME, bit 3 no signal, bit 7 localizer"},
    {token::nav1_ident, Form::text, {txt("/instrumentation/nav[0]/nav-id")}, nullptr, "NAV1 identifier"},
    {token::nav1_deviation_gate, Form::number, {}, zero,
     "NAV1 deviation gate: no counterpart; keeps 0 (the bar follows the deviation)"},
    {token::adf_bearing, Form::number, {num("/instrumentation/adf/indicated-bearing-deg")}, as_is,
     "ADF relative bearing, degrees"},
    {token::adf_ident, Form::text, {txt("/instrumentation/adf/ident")}, nullptr, "ADF identifier"},
    {token::adf_active, Form::number, {num("/instrumentation/adf/in-range")}, on_off, "ADF receiving"},
    {token::marker, Form::number,
     {num("/instrumentation/marker-beacon/outer"), num("/instrumentation/marker-beacon/middle"),
      num("/instrumentation/marker-beacon/inner")},
     marker, "marker: 1 outer, 2 middle, 3 inner"},
    {token::nav2_flags, Form::integer, {num("/instrumentation/nav[1]/in-range"),
     num("/instrumentation/nav[1]/dme-in-range")}, nav2_flags,
     "NAV2 flags: bit 0 DME2 shown, bit 3 no signal"},
    {token::nav2_ident, Form::text, {txt("/instrumentation/nav[1]/nav-id")}, nullptr, "NAV2 identifier"},
    {token::vor2_bearing, Form::number, {num("/instrumentation/nav[1]/heading-deg"),
     num("/orientation/heading-deg")}, relative_bearing,
     "VOR2 needle: bearing to the station relative to the nose, degrees"},
    // Autopilot: FlightGear's generic autopilot locks as switches, its settings as they are
    {token::ap_master, Form::number, {txt(heading_lock), txt(altitude_lock), txt(speed_lock)}, master,
     "autopilot master: the link's master switch, or any lock FlightGear flies"},
    {token::ap_wing_leveler, Form::number, {txt(heading_lock)}, wing_leveler_on, "wing leveler"},
    {token::ap_nav_hold, Form::number, {txt(heading_lock), num(nav1_localizer)}, nav_hold_on,
     "NAV hold (nav1-hold on a VOR)"},
    {token::ap_heading_hold, Form::number, {txt(heading_lock)}, heading_hold_on, "heading hold"},
    {token::ap_heading, Form::number, {num("/autopilot/settings/heading-bug-deg")}, as_is,
     "heading bug, degrees magnetic"},
    {token::ap_altitude_hold, Form::number, {txt(altitude_lock)}, altitude_hold_on,
     "altitude hold (either altitude lock)"},
    {token::ap_altitude, Form::number, {num("/autopilot/settings/target-altitude-ft")}, as_is,
     "altitude setting, feet"},
    {token::ap_attitude_hold, Form::number, {txt(altitude_lock)}, attitude_hold_on, "attitude hold (pitch-hold)"},
    {token::ap_glide_slope_hold, Form::number, {txt(altitude_lock)}, glide_slope_hold_on, "glide-slope hold"},
    {token::ap_localizer_hold, Form::number, {txt(heading_lock), num(nav1_localizer)}, localizer_hold_on,
     "LOC hold (nav1-hold on a localizer)"},
    {token::ap_back_course, Form::number, {}, zero, "back course: no counterpart; keeps 0"},
    {token::yaw_damper, Form::number, {}, zero, "yaw damper: no counterpart in the generic autopilot; keeps 0"},
    {token::ap_speed_hold, Form::number, {txt(speed_lock)}, speed_hold_on, "speed hold"},
    {token::ap_speed, Form::number, {num("/autopilot/settings/target-speed-kt")}, as_is, "speed setting, knots"},
    {token::ap_mach_hold, Form::number, {}, zero, "Mach hold: no counterpart in the generic autopilot; keeps 0"},
    {token::ap_vertical_speed_hold, Form::number, {txt(altitude_lock)}, vertical_speed_hold_on, "vertical speed hold"},
    {token::ap_vertical_speed, Form::number, {num("/autopilot/settings/vertical-speed-fpm")}, as_is,
     "vertical speed setting, fpm"},
    {token::autothrottle_armed, Form::number, {}, autothrottle_armed,
     "autothrottle armed: the link's own switch (its arm event arms it)"},
    {token::takeoff_go_around, Form::number, {}, zero, "TO/GA: no counterpart; keeps 0"},
    // Engines
    {token::engine1_epr, Form::number, {num(ENGINE(0) "epr", 1)}, as_is, "EPR 1"},
    {token::engine2_epr, Form::number, {num(ENGINE(1) "epr", 1)}, as_is, "EPR 2"},
    {token::engine1_n1, Form::number, {num(ENGINE(0) "n1")}, as_is, "N1 1, percent"},
    {token::engine2_n1, Form::number, {num(ENGINE(1) "n1")}, as_is, "N1 2, percent"},
    {token::engine1_n2, Form::number, {num(ENGINE(0) "n2")}, as_is, "N2 1, percent"},
    {token::engine2_n2, Form::number, {num(ENGINE(1) "n2")}, as_is, "N2 2, percent"},
    {token::engine1_egt, Form::number, {num(ENGINE(0) "egt-degf", 59)}, rankine, "EGT 1, degrees Rankine"},
    {token::engine2_egt, Form::number, {num(ENGINE(1) "egt-degf", 59)}, rankine, "EGT 2, degrees Rankine"},
    {token::engine1_fuel_flow, Form::number, {num(ENGINE(0) "fuel-flow-gph")}, gallons_to_pounds,
     "fuel flow 1 shown, pounds per hour"},
    {token::engine2_fuel_flow, Form::number, {num(ENGINE(1) "fuel-flow-gph")}, gallons_to_pounds,
     "fuel flow 2 shown, pounds per hour"},
    {token::engine1_fuel_flow_used, Form::number, {num(ENGINE(0) "fuel-flow-gph")}, gallons_to_pounds,
     "fuel flow 1 used, pounds per hour"},
    {token::engine2_fuel_flow_used, Form::number, {num(ENGINE(1) "fuel-flow-gph")}, gallons_to_pounds,
     "fuel flow 2 used, pounds per hour"},
    {token::engine1_oil_pressure, Form::number, {num(ENGINE(0) "oil-pressure-psi")}, psi_to_psf,
     "oil pressure 1, pounds per square foot"},
    {token::engine2_oil_pressure, Form::number, {num(ENGINE(1) "oil-pressure-psi")}, psi_to_psf,
     "oil pressure 2, pounds per square foot"},
    {token::engine1_oil_temperature, Form::number, {num(ENGINE(0) "oil-temperature-degf", 59)}, rankine,
     "oil temperature 1, degrees Rankine"},
    {token::engine2_oil_temperature, Form::number, {num(ENGINE(1) "oil-temperature-degf", 59)}, rankine,
     "oil temperature 2, degrees Rankine"},
    {token::engine1_turning, Form::number, {num(ENGINE(0) "n2")}, engine_turning,
     "engine 1 turning: N2 on a 16384 = 100 % scale"},
    {token::engine2_turning, Form::number, {num(ENGINE(1) "n2")}, engine_turning,
     "engine 2 turning: N2 on a 16384 = 100 % scale"},
    {token::oil_top_window, Form::number, {}, zero, "oil gauge's top window: no counterpart; keeps 0"},
    {token::power_bus1, Form::number, {}, one, "electrical bus: no generic bus property; keeps 1 (powered)"},
    {token::power_bus2, Form::number, {}, one, "electrical bus: keeps 1 (powered)"},
    {token::power_bus3, Form::number, {}, one, "electrical bus: keeps 1 (powered)"},
    // Fuel: FlightGear's tanks 0 and 1 are the wings, a third is the centre
    {token::left_tank, Form::number, {num("/consumables/fuel/tank[0]/level-lbs")}, pounds_to_volume,
     "left tank, pounds / 6.6016"},
    {token::right_tank, Form::number, {num("/consumables/fuel/tank[1]/level-lbs")}, pounds_to_volume,
     "right tank, pounds / 6.6016"},
    {token::centre_tank, Form::number, {num("/consumables/fuel/tank[2]/level-lbs")}, pounds_to_volume,
     "centre tank, pounds / 6.6016"},
    // Gear and flaps
    {token::gear_lever, Form::number, {num("/controls/gear/gear-down", 1)}, lever_units,
     "gear lever, 0 up .. 16383 down"},
    {token::nose_gear, Form::number, {num("/gear/gear[0]/position-norm", 1)}, lever_units,
     "nose gear, 0 up .. 16383 down"},
    {token::left_gear, Form::number, {num("/gear/gear[1]/position-norm", 1)}, lever_units,
     "left gear, 0 up .. 16383 down"},
    {token::right_gear, Form::number, {num("/gear/gear[2]/position-norm", 1)}, lever_units,
     "right gear, 0 up .. 16383 down"},
    {token::flap_handle, Form::number, {num("/controls/flight/flaps")}, lever_units, "flap handle, 0 .. 16383"},
    {token::third_light_second_input, Form::number, {}, zero,
     "input of the DME gauge's hidden third light: no counterpart; keeps 0"},
    {token::third_light_first_input, Form::number, {}, zero,
     "input of the DME gauge's hidden third light: no counterpart; keeps 0"},
};

#undef ENGINE

PropertyIndex build_index() {
    PropertyIndex index;
    for (const TokenRow& row : kRows) {
        std::array<int, max_sources> at{-1, -1, -1};
        for (std::size_t k = 0; k < max_sources; ++k) {
            const Source& s = row.sources[k];
            if (!s.path) continue;
            int i = index.find(s.path);
            if (i < 0) {
                i = static_cast<int>(index.paths.size());
                index.paths.emplace_back(s.path);
                index.by_path.emplace(std::string_view(s.path), i);
                index.is_text.push_back(s.text);
                index.until_answered.push_back(s.until_answered);
            }
            at[k] = i;
        }
        index.row_sources.push_back(at);
    }
    return index;
}

}  // namespace

double latitude_units(double deg) { return sim::latitude_to_units(deg); }
double longitude_units(double deg) { return sim::longitude_to_units(deg); }

std::span<const TokenRow> token_rows() { return kRows; }

const TokenRow* find_token_row(int token) {
    for (const TokenRow& row : kRows)
        if (row.token == token) return &row;
    return nullptr;
}

int PropertyIndex::find(std::string_view path) const {
    const auto it = by_path.find(path);
    return it == by_path.end() ? -1 : it->second;
}

const PropertyIndex& property_index() {
    static const PropertyIndex index = build_index();
    return index;
}

Readings::Readings() {
    const PropertyIndex& index = property_index();
    numbers = index.until_answered;
    texts.resize(index.paths.size());
    answered.resize(index.paths.size(), false);
}

bool Readings::take(std::size_t i, const Answer& a) {
    if (i >= numbers.size()) return false;
    if (property_index().is_text[i]) {
        auto t = text_value(a);
        if (!t) return false;
        texts[i] = std::move(*t);
    } else {
        auto v = number_value(a);
        if (!v) return false;
        numbers[i] = *v;
    }
    answered[i] = true;
    return true;
}

void publish_tokens(const Readings& r, const LinkIntent& intent, sim::TokenSink& sink) {
    const PropertyIndex& index = property_index();
    for (std::size_t row = 0; row < std::size(kRows); ++row) {
        const TokenRow& tr = kRows[row];
        Inputs in;
        in.intent = &intent;
        for (std::size_t k = 0; k < max_sources; ++k) {
            const int i = index.row_sources[row][k];
            if (i < 0) continue;
            in.v[k] = r.numbers[static_cast<std::size_t>(i)];
            in.t[k] = r.texts[static_cast<std::size_t>(i)];
        }
        switch (tr.form) {
            case Form::number: sink.set_double(tr.token, tr.convert(in)); break;
            case Form::integer: sink.set_int(tr.token, static_cast<std::int32_t>(tr.convert(in))); break;
            case Form::text: sink.set_text(tr.token, in.t[0]); break;
        }
    }
}

}  // namespace simlink::fg
