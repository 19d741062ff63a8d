#include "simlink/engine/conversions.h"

#include <algorithm>
#include <cmath>

#include "sim/aero.h"
#include "sim/earth.h"
#include "sim/radios.h"
#include "sim/units.h"

namespace simlink {

namespace {

constexpr double ticks_per_second = 18.0;  // the host's running tick count
constexpr double needle_full_scale = 127.0;
constexpr double flightgear_needle_span = 10.0;  // FlightGear's CDI needle spans +/-10
constexpr double xplane_full_scale_dots = 2.5;    // X-Plane's needles are in dots, 2.5 to the stop
constexpr double turning_units_per_percent = 163.84;  // the fire panel's 16384 = 100 % N2

// Lock values of FlightGear's generic autopilot, as its configuration names them.
constexpr std::string_view wing_leveler = "wing-leveler", dg_heading = "dg-heading-hold",
                           true_heading = "true-heading-hold", nav1_hold = "nav1-hold", altitude_hold = "altitude-hold",
                           vertical_speed_hold = "vertical-speed-hold", pitch_hold = "pitch-hold", gs1_hold = "gs1-hold",
                           speed_throttle = "speed-with-throttle", speed_pitch = "speed-with-pitch-trim";

// X-Plane's autopilot modes and statuses, as its datarefs give them.
constexpr double xplane_heading_select = 1, xplane_vertical_speed = 4, xplane_altitude_hold = 6;
constexpr double xplane_captured = 2;
// X-Plane's to/from flag: 0 off, 1 to, 2 from.
constexpr double xplane_to = 1, xplane_from = 2;

double flag(bool b) { return b ? 1.0 : 0.0; }
double needle(double v) { return std::clamp(v, -needle_full_scale, needle_full_scale); }

double as_is(const Inputs& in) { return in[0]; }
double on_off(const Inputs& in) { return flag(in[0] != 0); }
double is_zero(const Inputs& in) { return flag(in[0] == 0); }
double negated(const Inputs& in) { return -in[0]; }
double whole(const Inputs& in) { return std::floor(in[0]); }
double zero(const Inputs&) { return 0; }
double one(const Inputs&) { return 1; }

double latitude(const Inputs& in) { return latitude_units(in[0]); }
double longitude(const Inputs& in) { return longitude_units(in[0]); }
double feet_to_metres(const Inputs& in) { return in[0] * sim::metres_per_foot; }
double ground_elevation(const Inputs& in) { return in[0] * sim::ground_elevation_units_per_metre; }
// Ground elevation from the height above sea level less the height above the ground, both metres.
double ground_below(const Inputs& in) { return (in[0] - in[1]) * sim::ground_elevation_units_per_metre; }
double mach(const Inputs& in) { return in[0] * sim::mach_units; }
double max_operating_speed(const Inputs& in) { return sim::max_speed_kt(in[0]) * sim::max_operating_speed_units_per_knot; }
double vertical_speed_raw(const Inputs& in) { return in[0] * sim::seconds_per_minute / sim::fpm_per_vertical_speed_unit; }
double fpm_to_raw(const Inputs& in) { return in[0] / sim::fpm_per_vertical_speed_unit; }
double magnetic_to_true(const Inputs& in) { return sim::wrap_360(in[0] + in[1]); }
double tick_count(const Inputs& in) { return std::floor(in[0] * ticks_per_second); }
double hour_of_day(const Inputs& in) {
    return std::fmod(std::floor(in[0] / sim::seconds_per_hour), sim::hours_per_day);
}
double minute_of_hour(const Inputs& in) {
    return std::fmod(std::floor(in[0] / sim::seconds_per_minute), sim::minutes_per_hour);
}
double second_of_minute(const Inputs& in) { return std::fmod(std::floor(in[0]), sim::seconds_per_minute); }

double nav_frequency(const Inputs& in) { return sim::nav_frequency_bcd(in[0]); }
double nav_frequency_units(const Inputs& in) { return sim::nav_frequency_bcd(in[0] / sim::radio_units_per_mhz); }
double metres_to_nm(const Inputs& in) { return in[0] / sim::metres_per_nm; }
double lateral_needle(const Inputs& in) { return needle(in[0] * needle_full_scale / flightgear_needle_span); }
// FlightGear's needle points up when the aircraft is below the beam; the token is negative there.
double glide_slope_needle(const Inputs& in) { return needle(-in[0] * needle_full_scale); }
double lateral_dots(const Inputs& in) { return needle(in[0] * needle_full_scale / xplane_full_scale_dots); }
// X-Plane's dots are positive when the beam is above the aircraft, as FlightGear's needle.
double glide_slope_dots(const Inputs& in) { return needle(-in[0] * needle_full_scale / xplane_full_scale_dots); }
double glide_slope_available(const Inputs& in) { return flag(in[0] != 0 && in[1] != 0); }
double nav1_flags(const Inputs& in) {
    return (in[0] != 0 ? 0 : sim::nav_flag_no_station) | (in[1] != 0 ? sim::nav_flag_localizer : 0) |
           (in[2] != 0 ? sim::nav_flag_dme : 0);
}
// A localizer is told by its frequency: 108.10 to 111.95 MHz with an odd tenth.
bool localizer_frequency(double units) {
    const long hundredths = std::lround(units);
    return hundredths >= 10800 && hundredths < 11200 && (hundredths / 10) % 2 == 1;
}
double nav1_flags_by_frequency(const Inputs& in) {
    return (in[0] != 0 ? 0 : sim::nav_flag_no_station) | (localizer_frequency(in[1]) ? sim::nav_flag_localizer : 0) |
           (in[2] != 0 ? sim::nav_flag_dme : 0);
}
double nav2_flags(const Inputs& in) { return (in[0] != 0 ? 0 : sim::nav_flag_no_station) | (in[1] != 0 ? sim::nav_flag_dme : 0); }
double to_from(const Inputs& in) {
    return static_cast<double>(in[1] != 0 ? sim::ToFrom::from : in[0] != 0 ? sim::ToFrom::to : sim::ToFrom::neither);
}
double to_from_flag(const Inputs& in) {
    return static_cast<double>(in[0] == xplane_from ? sim::ToFrom::from
                               : in[0] == xplane_to ? sim::ToFrom::to
                                                    : sim::ToFrom::neither);
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

double heading_select_mode(const Inputs& in) { return flag(in[0] == xplane_heading_select); }
double altitude_modes(const Inputs& in) { return flag(in[0] == xplane_altitude_hold || in[0] == xplane_vertical_speed); }
double vertical_speed_mode(const Inputs& in) { return flag(in[0] == xplane_vertical_speed); }
double captured(const Inputs& in) { return flag(in[0] == xplane_captured); }

double rankine(const Inputs& in) { return in[0] + sim::rankine_above_fahrenheit; }
double celsius_to_rankine(const Inputs& in) {
    return in[0] * sim::fahrenheit_per_celsius + sim::fahrenheit_at_zero_celsius + sim::rankine_above_fahrenheit;
}
double psi_to_psf(const Inputs& in) { return in[0] * sim::psf_per_psi; }
double gallons_to_pounds(const Inputs& in) { return in[0] * sim::pounds_per_gallon; }
double kg_per_second_to_pounds_per_hour(const Inputs& in) { return in[0] * sim::pounds_per_kg * sim::seconds_per_hour; }
double pounds_to_volume(const Inputs& in) { return in[0] / sim::pounds_per_gallon; }
double kg_to_volume(const Inputs& in) { return in[0] * sim::pounds_per_kg / sim::pounds_per_gallon; }
double engine_turning(const Inputs& in) { return in[0] * turning_units_per_percent; }
double lever_units(const Inputs& in) { return std::round(std::clamp(in[0], 0.0, 1.0) * sim::lever_full); }

constexpr NamedConversion kConversions[] = {
    {"as_is", as_is, 1},
    {"on_off", on_off, 1},
    {"is_zero", is_zero, 1},
    {"negated", negated, 1},
    {"whole", whole, 1},
    {"zero", zero, 0},
    {"one", one, 0},
    {"latitude", latitude, 1},
    {"longitude", longitude, 1},
    {"feet_to_metres", feet_to_metres, 1},
    {"ground_elevation", ground_elevation, 1},
    {"ground_below", ground_below, 2},
    {"mach", mach, 1},
    {"max_operating_speed", max_operating_speed, 1},
    {"vertical_speed_raw", vertical_speed_raw, 1},
    {"fpm_to_raw", fpm_to_raw, 1},
    {"magnetic_to_true", magnetic_to_true, 2},
    {"tick_count", tick_count, 1},
    {"hour_of_day", hour_of_day, 1},
    {"minute_of_hour", minute_of_hour, 1},
    {"second_of_minute", second_of_minute, 1},
    {"nav_frequency", nav_frequency, 1},
    {"nav_frequency_units", nav_frequency_units, 1},
    {"metres_to_nm", metres_to_nm, 1},
    {"lateral_needle", lateral_needle, 1},
    {"glide_slope_needle", glide_slope_needle, 1},
    {"lateral_dots", lateral_dots, 1},
    {"glide_slope_dots", glide_slope_dots, 1},
    {"glide_slope_available", glide_slope_available, 2},
    {"nav1_flags", nav1_flags, 3},
    {"nav1_flags_by_frequency", nav1_flags_by_frequency, 3},
    {"nav2_flags", nav2_flags, 2},
    {"to_from", to_from, 2},
    {"to_from_flag", to_from_flag, 1},
    {"marker", marker, 3},
    {"relative_bearing", relative_bearing, 2},
    {"master", master, 3},
    {"wing_leveler_on", wing_leveler_on, 1},
    {"nav_hold_on", nav_hold_on, 2},
    {"localizer_hold_on", localizer_hold_on, 2},
    {"heading_hold_on", heading_hold_on, 1},
    {"altitude_hold_on", altitude_hold_on, 1},
    {"attitude_hold_on", attitude_hold_on, 1},
    {"glide_slope_hold_on", glide_slope_hold_on, 1},
    {"vertical_speed_hold_on", vertical_speed_hold_on, 1},
    {"speed_hold_on", speed_hold_on, 1},
    {"autothrottle_armed", autothrottle_armed, 0},
    {"heading_select_mode", heading_select_mode, 1},
    {"altitude_modes", altitude_modes, 1},
    {"vertical_speed_mode", vertical_speed_mode, 1},
    {"captured", captured, 1},
    {"rankine", rankine, 1},
    {"celsius_to_rankine", celsius_to_rankine, 1},
    {"psi_to_psf", psi_to_psf, 1},
    {"gallons_to_pounds", gallons_to_pounds, 1},
    {"kg_per_second_to_pounds_per_hour", kg_per_second_to_pounds_per_hour, 1},
    {"pounds_to_volume", pounds_to_volume, 1},
    {"kg_to_volume", kg_to_volume, 1},
    {"engine_turning", engine_turning, 1},
    {"lever_units", lever_units, 1},
};

// The three locks of FlightGear's generic autopilot that the link's switches ask for.
std::string_view heading_lock(const LockInputs& in) {
    return in.intent->master && in.intent->heading_hold ? dg_heading : std::string_view();
}
std::string_view altitude_lock(const LockInputs& in) {
    if (!in.intent->master || !in.intent->altitude_hold) return {};
    const double to_go = in.altitude_setting_ft - in.altitude_ft;
    const bool climbing_there = to_go * in.vertical_speed_setting_fpm > 0;
    return std::abs(to_go) > altitude_capture_ft && climbing_there ? vertical_speed_hold : altitude_hold;
}
std::string_view speed_lock(const LockInputs& in) { return in.intent->speed_hold ? speed_throttle : std::string_view(); }

constexpr NamedLockRule kLockRules[] = {
    {"heading_lock", heading_lock},
    {"altitude_lock", altitude_lock},
    {"speed_lock", speed_lock},
};

}  // namespace

double latitude_units(double deg) { return sim::latitude_to_units(deg); }
double longitude_units(double deg) { return sim::longitude_to_units(deg); }

std::span<const NamedConversion> conversions() { return kConversions; }

const NamedConversion* find_conversion(std::string_view name) {
    for (const NamedConversion& c : kConversions)
        if (c.name == name) return &c;
    return nullptr;
}

std::string_view conversion_name(Conversion c) {
    for (const NamedConversion& n : kConversions)
        if (n.convert == c) return n.name;
    return {};
}

std::span<const NamedLockRule> lock_rules() { return kLockRules; }

const NamedLockRule* find_lock_rule(std::string_view name) {
    for (const NamedLockRule& r : kLockRules)
        if (r.name == name) return &r;
    return nullptr;
}

}  // namespace simlink
