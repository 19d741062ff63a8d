#include "fmcomputer/guidance.h"

#include <cmath>
#include <cstdio>

#include "fmcomputer/pages.h"
#include "fmcomputer/plan.h"
#include "fmcomputer/screen.h"
#include "fmcomputer/simvars.h"
#include "fmcomputer/state.h"
#include "fmcomputer/waypoint_record.h"
#include "fmcomputer/workers.h"
#include "host/binding.h"

namespace fmc {

int to_index = 1;
double min_distance = kNoDistance;
char last_ata[8];
char takeoff_time[8];

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kFeetPerMetre = 3.280839895013123;

int commanded_course = 0;
int last_turn = 0;
double phase = 1.0;
bool start_flag = false;
bool force_change = false;
double remembered_master = 0.0;
double remembered_lat_raw = 0.0;
double remembered_lon_raw = 0.0;
double remembered_hours = 0.0;
double remembered_minutes = 0.0;

int round_half_away(double x) { return static_cast<int>(std::lround(x)); }

void send(std::uint32_t id, std::uint32_t value = 0) { gauge::send_key_event(id, value); }

int plan_altitude(int i) { return record_altitude(record(i)); }

// A plan altitude (feet) as the autopilot's altitude setting reads it.
double in_setting_units(double feet) { return feet / units_factor * 0.3048; }

void clock_text(char* out, std::size_t size) {
    std::snprintf(out, size, "%02d%02dz", static_cast<int>(var(token::clock_hours)),
                  static_cast<int>(var(token::clock_minutes)));
}

void watch_autopilot() {
    const double master = var(token::ap_master);
    if (master == remembered_master) return;
    remembered_master = master;
    if (master == 0.0) disengage_quietly();
}

void run_start_sequence() {
    if (!start_flag || var(token::on_ground) != 0.0) return;
    if (var(token::ap_master) == 0.0) send(event::ap_master_on);
    if (std::abs(last_turn) < 10) send(event::heading_hold_on);
    if (in_setting_units(plan_altitude(to_index)) - 200.0 < var(token::ap_altitude)) {
        start_flag = false;
        send(event::altitude_hold_on);
    }
}

bool cycle_changed() {
    const bool changed = force_change ||
                         std::trunc(var(token::latitude) * 0.01) != std::trunc(remembered_lat_raw * 0.01) ||
                         std::trunc(var(token::longitude) * 3.0763687626008064e-08) !=
                             std::trunc(remembered_lon_raw * 3.0763687626008064e-08) ||
                         var(token::clock_hours) != remembered_hours || var(token::clock_minutes) != remembered_minutes;
    force_change = false;
    return changed;
}

void take_takeoff_time() {
    const double speed = var(token::indicated_airspeed);
    if (!takeoff_time[0] && speed > 150.0)
        clock_text(takeoff_time, sizeof takeoff_time);
    else if (speed < 100.0)
        takeoff_time[0] = '\0';
}

// EXEC off with the autopilot told: master, heading and altitude holds, speed hold.
void disengage_with_events() {
    exec_on = false;
    start_flag = false;
    build_exec_line();
    set_line(kExecLine, exec_line);
    heading_stop = true;
    vertical_stop = true;
    if (var(token::ap_master) != 0.0) send(event::ap_master_off);
    if (hrz_on) send(event::heading_hold_off);
    if (vrt_on) send(event::altitude_hold_off);
    if (spd_on) send(event::speed_hold_off);
}

void climb_thrust() {
    send(event::speed_hold_off);
    send(event::engine1_climb_thrust);
    send(event::engine2_climb_thrust);
    send(event::engine3_climb_thrust);
    send(event::engine4_climb_thrust);
}

// At a waypoint with SPD: the next leg's climb or descent is begun with a phase factor.
void prepare_next_leg() {
    if (!exec_on || !spd_on) return;
    const double altitude_ft = var(token::altitude_m) * kFeetPerMetre;
    if (std::fabs(altitude_ft - plan_altitude(to_index)) <= 1000.0 || phase != 1.0) {
        phase = 1.0;
        send(event::speed_hold_on);
        send(event::speed_brakes, 0);
    } else if (var(token::ap_vertical_speed) > 0.0) {
        phase = 1.1;
        if (host_2000) climb_thrust();
        send(event::vertical_speed_up);
    } else {
        phase = 1.5;
        send(event::speed_brakes, 8000);
        send(event::vertical_speed_up);
    }
}

void sequence_if_passed(const Leg& leg) {
    if (leg.distance <= min_distance) {
        min_distance = leg.distance;
        return;
    }
    const int dest = destination_index();
    if (to_index >= dest) return;
    const int c = record_course(record(to_index + 1));
    if (!(std::fabs(c - var(token::true_heading)) < 30.0 || std::abs(c - commanded_course) > 150)) return;
    prepare_next_leg();
    if (to_index < dest) ++to_index;
    clock_text(last_ata, sizeof last_ata);
    min_distance = kNoDistance;
    heading_stop = true;
}

void follow_vertical_warning() {
    if (vrt_on && var(token::stall_warning) != 0.0 && var(token::ap_vertical_speed) > 0.0 && phase != 1.0) {
        phase = 1.0;
        send(event::vertical_speed_down);
    }
}

void follow_speed() {
    if (!spd_on) return;
    const double speed = var(token::indicated_airspeed), setting = var(token::ap_speed),
                 vs = var(token::ap_vertical_speed);
    const bool warning = var(token::stall_warning) != 0.0;
    if ((speed < setting - 10.0 || warning) && !start_flag) {
        if (vs > 0.0) {
            climb_thrust();
            if (!host_2000) {
                if (warning)
                    disengage_with_events();
                else
                    phase = 0.5;
            }
        } else if (vs < 0.0) {
            send(event::speed_brakes, 0);
            send(event::throttles_up);
        } else if (warning) {
            send(event::throttles_up);
        }
    }
    if (aircraft().climb_speed - 10.0 < setting && setting + 10.0 < speed && var(token::ap_speed_hold) == 0.0) {
        heading_stop = true;
        vertical_stop = true;
        send(event::speed_hold_on);
        phase = 1.0;
    }
}

// How far before a waypoint the turn onto the next leg begins: where a turn at the standard rate
// rolls out on the next leg's line, r·tan(turn / 2), r from the true airspeed; never more than
// 3 NM. Turning 3 NM early whatever the turn (the old rule) rolled out up to 1 NM beside a
// final approach course, outside the localizer's capture.
double turn_lead_nm(double leg_course, double next_course) {
    constexpr double standard_rate_rad_per_s = 3.0 * kPi / 180.0;
    constexpr double settle_nm = 0.1;  // the heading bug's steps and the roll into the turn
    const double altitude_kft = var(token::altitude_m) * kFeetPerMetre / 1000.0;
    const double tas_kt = var(token::indicated_airspeed) * (1.0 + 0.02 * std::max(0.0, altitude_kft));
    const double radius_nm = tas_kt / 3600.0 / standard_rate_rad_per_s;
    double turn = std::fabs(std::remainder(next_course - leg_course, 360.0));
    turn = std::min(turn, 150.0);
    return std::min(3.0, radius_nm * std::tan(turn * kPi / 360.0) + settle_nm);
}

void steer_heading(const Leg& leg) {
    if (!hrz_on) return;
    const int dest = destination_index();
    const double bearing = std::atan2(leg.delta_lon, leg.delta_lat) * 180.0 / kPi;
    const double lead = to_index == dest ? 3.0 : turn_lead_nm(bearing, record_course(record(to_index + 1)));
    if (leg.distance > lead) {
        commanded_course = round_half_away(std::atan2(leg.delta_lon, leg.delta_lat) * 180.0 / kPi);
        if (commanded_course < 0) commanded_course += 360;
    } else if (to_index != dest) {
        commanded_course = record_course(record(to_index + 1));
    } else {
        commanded_course = record_course(record(to_index));
        disengage_with_events();
    }
    commanded_course += round_half_away(var(token::magnetic_heading) - var(token::true_heading));
    int turn = commanded_course - round_half_away(var(token::ap_heading));
    while (turn > 180) turn -= 360;
    while (turn < -180) turn += 360;
    if (turn == 0) return;
    if (heading_running()) {
        if ((turn > 0 && last_turn < 0) || (turn < 0 && last_turn > 0)) heading_stop = true;
        return;
    }
    last_turn = turn;
    vertical_stop = true;
    start_heading_thread(turn);
}

int climb_steps(double rate) {
    return static_cast<int>(std::trunc(std::trunc(rate / units_factor * phase * 0.3048 -
                                                  round_half_away(var(token::ap_vertical_speed))) /
                                       100.0));
}

void set_vertical_targets() {
    const AircraftValues& a = aircraft();
    const double setting = var(token::ap_altitude);
    const double delta = setting - var(token::altitude_m) / units_factor;
    int vs = 0;
    int target = 0;
    if (delta > 500.0) {
        vs = climb_steps(a.climb_rate);
        target = a.climb_speed;
    } else if (delta < -500.0) {
        vs = climb_steps(-a.descent_rate);
        target = a.descent_speed;
    } else {
        target = (std::fabs(delta) < 500.0 && std::fabs(setting - a.cruise_altitude) < 500.0) ? a.cruise_speed
                                                                                              : a.descent_speed;
    }
    // Cruising towards a lower point: half way between cruise and descent speed.
    if (to_index < destination_index() && in_setting_units(a.cruise_altitude) - 100.0 < setting &&
        plan_altitude(to_index + 1) < a.cruise_altitude - 100)
        target = (a.cruise_speed + a.descent_speed) / 2;
    vertical_speed_steps = vs;
    speed_steps = (target - round_half_away(var(token::ap_speed))) / step_divisor();
}

void follow_altitude() {
    if (!vrt_on) return;
    const int vs = vertical_speed_steps.load();
    const double target = plan_altitude(to_index) - (vs != 0 ? 1.0 : 0.0);
    altitude_target_ft = target;
    const int steps = round_half_away((in_setting_units(target) - var(token::ap_altitude)) * 0.01);
    if ((steps != 0 || vs != 0 || speed_steps.load() != 0) && !vertical_running()) start_vertical_thread(steps);
}

void steer(const Leg& leg) {
    follow_vertical_warning();
    follow_speed();
    steer_heading(leg);
    set_vertical_targets();
    follow_altitude();
}

}  // namespace

Leg leg_to(int index) {
    Leg leg;
    const char* r = record(index);
    if (!r) return leg;
    const double lat = var(token::latitude) * 8.998425275576774e-06;
    double lon = var(token::longitude) * 1.2789770768341246e-12;
    if (lon >= 180.0) lon -= 360.0;
    const double to_lat = record_latitude(r);
    double to_lon = record_longitude(r);
    // Across the date line the nearer way round counts.
    if (((to_lon < 0) != (lon < 0)) && std::fabs(lon) >= 60.0) to_lon += to_lon > 0 ? -360.0 : 360.0;
    const double k = std::cos(to_lat * kPi / 180.0) * (kPi / 180.0) * 3438.0;
    leg.delta_lat = to_lat - lat;
    leg.delta_lon = to_lon - lon;
    leg.distance = std::sqrt(3600.0 * leg.delta_lat * leg.delta_lat + k * k * leg.delta_lon * leg.delta_lon);
    return leg;
}

void guidance_cycle() {
    watch_autopilot();
    run_start_sequence();
    const bool changed = cycle_changed();
    take_takeoff_time();
    if (!changed || destination_index() == 0) return;
    remembered_lat_raw = var(token::latitude);
    remembered_lon_raw = var(token::longitude);
    remembered_hours = var(token::clock_hours);
    remembered_minutes = var(token::clock_minutes);
    const int before = to_index;
    Leg leg = leg_to(to_index);
    sequence_if_passed(leg);
    if (to_index != before) leg = leg_to(to_index);
    if (exec_on) steer(leg);
    if (current_page == page_progress) compute_progress(leg.distance);
    bump_redraw();
}

void remember_position(double lat_raw, double lon_raw) {
    remembered_lat_raw = lat_raw;
    remembered_lon_raw = lon_raw;
}

double remembered_latitude_raw() { return remembered_lat_raw; }
double remembered_longitude_raw() { return remembered_lon_raw; }

void force_recompute() { force_change = true; }

void plan_loaded_for_guidance() {
    to_index = 1;
    min_distance = kNoDistance;
}

void move_active_waypoint(int delta) {
    const int next = to_index + delta;
    if (next < 1 || next > destination_index()) return;
    to_index = next;
    min_distance = kNoDistance;
    force_recompute();
}

void engage_exec() {
    if (var(token::autothrottle_armed) == 0.0) send(event::autothrottle_arm);
    start_flag = true;
    force_recompute();
}

void disengage_quietly() {
    exec_on = false;
    start_flag = false;
    build_exec_line();
    set_line(kExecLine, exec_line);
    bump_redraw();
    heading_stop = true;
    vertical_stop = true;
}

void reset_guidance() {
    to_index = 1;
    min_distance = kNoDistance;
    last_ata[0] = '\0';
    takeoff_time[0] = '\0';
    commanded_course = 0;
    last_turn = 0;
    phase = 1.0;
    start_flag = false;
    force_change = false;
    remembered_master = 0.0;
    remembered_lat_raw = remembered_lon_raw = 0.0;
    remembered_hours = remembered_minutes = 0.0;
}

}  // namespace fmc
