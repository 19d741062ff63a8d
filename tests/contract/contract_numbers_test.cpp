// The panel's contract numbers as the simulator gives them: every module, the host's aircraft and
// the simulator links use the names, so a wrong number would pass every other test unnoticed.

#include <gtest/gtest.h>

#include <cstdint>

#include "host/key_events.h"
#include "host/tokens.h"

namespace token = gauge::token;
namespace event = gauge::event;

namespace {

template <typename T>
struct Pinned {
    T named;
    T number;
};

}  // namespace

TEST(ContractNumbers, TokensAreTheSimulatorsIds) {
    const Pinned<std::int32_t> tokens[] = {
        {token::tick_count, 1}, {token::clock_hours, 3}, {token::clock_minutes, 4}, {token::clock_seconds, 5},
        {token::latitude, 71}, {token::longitude, 72}, {token::altitude_m, 73}, {token::altitude_ft, 74},
        {token::ground_elevation, 2}, {token::on_ground, 60}, {token::true_heading, 86},
        {token::magnetic_heading, 81}, {token::magnetic_variation, 82}, {token::pitch, 78}, {token::bank, 80},
        {token::sideslip, 69}, {token::indicated_airspeed, 61}, {token::max_operating_speed, 63}, {token::mach, 64},
        {token::vertical_speed, 65}, {token::stall_warning, 67}, {token::altimeter_setting, 76},
        {token::wind_speed, 343}, {token::wind_direction, 344}, {token::units, 335}, {token::nav1_frequency, 24},
        {token::nav1_course, 45}, {token::nav1_flags, 46}, {token::nav1_ident, 47}, {token::nav1_deviation, 40},
        {token::nav1_to_from, 42}, {token::nav1_deviation_gate, 49}, {token::glide_slope_available, 44},
        {token::glide_slope_deviation, 41}, {token::dme1_distance, 31}, {token::dme1_speed, 32},
        {token::nav2_flags, 55}, {token::nav2_ident, 56}, {token::vor2_bearing, 59}, {token::dme2_distance, 35},
        {token::dme2_valid, 58}, {token::adf_active, 20}, {token::adf_ident, 19}, {token::adf_bearing, 39},
        {token::marker, 354}, {token::ap_master, 103}, {token::ap_wing_leveler, 104}, {token::ap_nav_hold, 105},
        {token::ap_heading_hold, 106}, {token::ap_heading, 107}, {token::ap_altitude_hold, 108},
        {token::ap_altitude, 109}, {token::ap_attitude_hold, 110}, {token::ap_glide_slope_hold, 111},
        {token::ap_localizer_hold, 112}, {token::ap_back_course, 113}, {token::yaw_damper, 114},
        {token::ap_speed_hold, 115}, {token::ap_speed, 116}, {token::ap_mach_hold, 117},
        {token::ap_vertical_speed_hold, 119}, {token::ap_vertical_speed, 120}, {token::autothrottle_armed, 123},
        {token::takeoff_go_around, 124}, {token::engine1_epr, 630}, {token::engine2_epr, 649},
        {token::engine1_n1, 624}, {token::engine2_n1, 643}, {token::engine1_n2, 625}, {token::engine2_n2, 644},
        {token::engine1_egt, 567}, {token::engine2_egt, 577}, {token::engine1_fuel_flow, 638},
        {token::engine2_fuel_flow, 657}, {token::engine1_fuel_flow_used, 138}, {token::engine2_fuel_flow_used, 173},
        {token::engine1_oil_pressure, 562}, {token::engine2_oil_pressure, 572},
        {token::engine1_oil_temperature, 561}, {token::engine2_oil_temperature, 571}, {token::engine1_turning, 136},
        {token::engine2_turning, 171}, {token::oil_top_window, 350}, {token::oil_fixed_100_engine1, 149},
        {token::oil_fixed_100_engine2, 184}, {token::oil_fixed_99_engine1, 151}, {token::oil_fixed_99_engine2, 186},
        {token::power_bus1, 364}, {token::power_bus2, 761}, {token::power_bus3, 763}, {token::left_tank, 304},
        {token::centre_tank, 303}, {token::right_tank, 305}, {token::gear_lever, 331}, {token::nose_gear, 332},
        {token::left_gear, 333}, {token::right_gear, 334}, {token::flap_handle, 328},
        {token::third_light_first_input, 330}, {token::third_light_second_input, 319},
    };
    for (const auto& t : tokens) EXPECT_EQ(t.named, t.number);
    EXPECT_EQ(token::none, -1);
    EXPECT_EQ(token::power_buses[0], 364);
    EXPECT_EQ(token::power_buses[1], 761);
    EXPECT_EQ(token::power_buses[2], 763);
}

TEST(ContractNumbers, KeyEventsAreTheSimulatorsNumbers) {
    const Pinned<std::uint32_t> events[] = {
        {event::gear_toggle, 65570}, {event::ap_master_off, 65580}, {event::throttles_up, 65597},
        {event::speed_brakes, 65786}, {event::ap_master_on, 65792}, {event::heading_hold_on, 65807},
        {event::altitude_hold_on, 65808}, {event::heading_hold_off, 65815}, {event::altitude_hold_off, 65816},
        {event::autothrottle_arm, 65860}, {event::heading_bug_up, 65879}, {event::heading_bug_down, 65880},
        {event::altitude_up, 65892}, {event::altitude_down, 65893}, {event::vertical_speed_up, 65894},
        {event::vertical_speed_down, 65895}, {event::speed_up, 65896}, {event::speed_down, 65897},
        {event::engine1_climb_thrust, 65963}, {event::engine2_climb_thrust, 65968},
        {event::engine3_climb_thrust, 65973}, {event::engine4_climb_thrust, 65978},
        {event::engine1_fire_bottle, 65987}, {event::engine2_fire_bottle, 65992}, {event::speed_set, 66037},
        {event::speed_hold_on, 66112}, {event::speed_hold_off, 66113},
    };
    for (const auto& e : events) EXPECT_EQ(e.named, e.number);
}
