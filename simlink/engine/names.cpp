#include "simlink/engine/names.h"

#include <algorithm>

#include "host/key_events.h"
#include "host/tokens.h"

namespace simlink {

namespace {

namespace token = gauge::token;
namespace event = gauge::event;

constexpr Named kTokens[] = {
    {"tick_count", token::tick_count}, {"clock_hours", token::clock_hours}, {"clock_minutes", token::clock_minutes},
    {"clock_seconds", token::clock_seconds}, {"latitude", token::latitude}, {"longitude", token::longitude},
    {"altitude_m", token::altitude_m}, {"altitude_ft", token::altitude_ft},
    {"ground_elevation", token::ground_elevation}, {"on_ground", token::on_ground},
    {"true_heading", token::true_heading}, {"magnetic_heading", token::magnetic_heading},
    {"magnetic_variation", token::magnetic_variation}, {"pitch", token::pitch}, {"bank", token::bank},
    {"sideslip", token::sideslip}, {"indicated_airspeed", token::indicated_airspeed},
    {"max_operating_speed", token::max_operating_speed}, {"mach", token::mach},
    {"vertical_speed", token::vertical_speed}, {"stall_warning", token::stall_warning},
    {"altimeter_setting", token::altimeter_setting}, {"wind_speed", token::wind_speed},
    {"wind_direction", token::wind_direction}, {"units", token::units}, {"nav1_frequency", token::nav1_frequency},
    {"nav1_course", token::nav1_course}, {"nav1_flags", token::nav1_flags}, {"nav1_ident", token::nav1_ident},
    {"nav1_deviation", token::nav1_deviation}, {"nav1_to_from", token::nav1_to_from},
    {"nav1_deviation_gate", token::nav1_deviation_gate}, {"glide_slope_available", token::glide_slope_available},
    {"glide_slope_deviation", token::glide_slope_deviation}, {"dme1_distance", token::dme1_distance},
    {"dme1_speed", token::dme1_speed}, {"nav2_flags", token::nav2_flags}, {"nav2_ident", token::nav2_ident},
    {"vor2_bearing", token::vor2_bearing}, {"dme2_distance", token::dme2_distance}, {"dme2_valid", token::dme2_valid},
    {"adf_active", token::adf_active}, {"adf_ident", token::adf_ident}, {"adf_bearing", token::adf_bearing},
    {"marker", token::marker}, {"ap_master", token::ap_master}, {"ap_wing_leveler", token::ap_wing_leveler},
    {"ap_nav_hold", token::ap_nav_hold}, {"ap_heading_hold", token::ap_heading_hold},
    {"ap_heading", token::ap_heading}, {"ap_altitude_hold", token::ap_altitude_hold},
    {"ap_altitude", token::ap_altitude}, {"ap_attitude_hold", token::ap_attitude_hold},
    {"ap_glide_slope_hold", token::ap_glide_slope_hold}, {"ap_localizer_hold", token::ap_localizer_hold},
    {"ap_back_course", token::ap_back_course}, {"yaw_damper", token::yaw_damper},
    {"ap_speed_hold", token::ap_speed_hold}, {"ap_speed", token::ap_speed}, {"ap_mach_hold", token::ap_mach_hold},
    {"ap_vertical_speed_hold", token::ap_vertical_speed_hold}, {"ap_vertical_speed", token::ap_vertical_speed},
    {"autothrottle_armed", token::autothrottle_armed}, {"takeoff_go_around", token::takeoff_go_around},
    {"engine1_epr", token::engine1_epr}, {"engine2_epr", token::engine2_epr}, {"engine1_n1", token::engine1_n1},
    {"engine2_n1", token::engine2_n1}, {"engine1_n2", token::engine1_n2}, {"engine2_n2", token::engine2_n2},
    {"engine1_egt", token::engine1_egt}, {"engine2_egt", token::engine2_egt},
    {"engine1_fuel_flow", token::engine1_fuel_flow}, {"engine2_fuel_flow", token::engine2_fuel_flow},
    {"engine1_fuel_flow_used", token::engine1_fuel_flow_used},
    {"engine2_fuel_flow_used", token::engine2_fuel_flow_used}, {"engine1_oil_pressure", token::engine1_oil_pressure},
    {"engine2_oil_pressure", token::engine2_oil_pressure},
    {"engine1_oil_temperature", token::engine1_oil_temperature},
    {"engine2_oil_temperature", token::engine2_oil_temperature}, {"engine1_turning", token::engine1_turning},
    {"engine2_turning", token::engine2_turning}, {"oil_top_window", token::oil_top_window},
    {"oil_fixed_100_engine1", token::oil_fixed_100_engine1}, {"oil_fixed_100_engine2", token::oil_fixed_100_engine2},
    {"oil_fixed_99_engine1", token::oil_fixed_99_engine1}, {"oil_fixed_99_engine2", token::oil_fixed_99_engine2},
    {"power_bus1", token::power_bus1}, {"power_bus2", token::power_bus2}, {"power_bus3", token::power_bus3},
    {"left_tank", token::left_tank}, {"centre_tank", token::centre_tank}, {"right_tank", token::right_tank},
    {"gear_lever", token::gear_lever}, {"nose_gear", token::nose_gear}, {"left_gear", token::left_gear},
    {"right_gear", token::right_gear}, {"flap_handle", token::flap_handle},
    {"third_light_first_input", token::third_light_first_input},
    {"third_light_second_input", token::third_light_second_input},
};

constexpr Named kEvents[] = {
    {"gear_toggle", event::gear_toggle}, {"ap_master_off", event::ap_master_off},
    {"throttles_up", event::throttles_up}, {"speed_brakes", event::speed_brakes},
    {"ap_master_on", event::ap_master_on}, {"heading_hold_on", event::heading_hold_on},
    {"altitude_hold_on", event::altitude_hold_on}, {"heading_hold_off", event::heading_hold_off},
    {"altitude_hold_off", event::altitude_hold_off}, {"autothrottle_arm", event::autothrottle_arm},
    {"heading_bug_up", event::heading_bug_up}, {"heading_bug_down", event::heading_bug_down},
    {"altitude_up", event::altitude_up}, {"altitude_down", event::altitude_down},
    {"vertical_speed_up", event::vertical_speed_up}, {"vertical_speed_down", event::vertical_speed_down},
    {"speed_up", event::speed_up}, {"speed_down", event::speed_down},
    {"engine1_climb_thrust", event::engine1_climb_thrust}, {"engine2_climb_thrust", event::engine2_climb_thrust},
    {"engine3_climb_thrust", event::engine3_climb_thrust}, {"engine4_climb_thrust", event::engine4_climb_thrust},
    {"engine1_fire_bottle", event::engine1_fire_bottle}, {"engine2_fire_bottle", event::engine2_fire_bottle},
    {"speed_set", event::speed_set}, {"speed_hold_on", event::speed_hold_on},
    {"speed_hold_off", event::speed_hold_off},
};

std::optional<std::int64_t> find(std::span<const Named> table, std::string_view name) {
    const auto it = std::ranges::find(table, name, &Named::name);
    if (it == table.end()) return std::nullopt;
    return it->number;
}

std::string_view name_of(std::span<const Named> table, std::int64_t number) {
    const auto it = std::ranges::find(table, number, &Named::number);
    return it == table.end() ? std::string_view() : it->name;
}

}  // namespace

std::span<const Named> token_names() { return kTokens; }
std::span<const Named> event_names() { return kEvents; }

std::optional<int> token_by_name(std::string_view name) {
    const auto n = find(kTokens, name);
    return n ? std::optional<int>(static_cast<int>(*n)) : std::nullopt;
}

std::optional<std::uint32_t> event_by_name(std::string_view name) {
    const auto n = find(kEvents, name);
    return n ? std::optional<std::uint32_t>(static_cast<std::uint32_t>(*n)) : std::nullopt;
}

std::string_view token_name(int token) { return name_of(kTokens, token); }
std::string_view event_name(std::uint32_t id) { return name_of(kEvents, id); }

}  // namespace simlink
