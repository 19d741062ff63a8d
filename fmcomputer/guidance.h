#pragma once
// Guidance: every update the FMC follows the aircraft along the published plan, sequences its
// waypoints and, with EXEC engaged, steers the simulator's autopilot by key events.

#include <cstdint>

namespace fmc {

// The key events the FMC sends.
enum KeyEventId : std::uint32_t {
    ev_throttle_step = 65597,
    ev_ap_master_off = 65580,
    ev_spoilers = 65786,
    ev_ap_master_on = 65792,
    ev_heading_hold_on = 65807,
    ev_altitude_hold_on = 65808,
    ev_heading_hold_off = 65815,
    ev_altitude_hold_off = 65816,
    ev_autothrottle_arm = 65860,
    ev_heading_bug_up = 65879,
    ev_heading_bug_down = 65880,
    ev_altitude_up = 65892,
    ev_altitude_down = 65893,
    ev_vertical_speed_up = 65894,
    ev_vertical_speed_down = 65895,
    ev_speed_up = 65896,
    ev_speed_down = 65897,
    ev_engine1_climb = 65963,
    ev_engine2_climb = 65968,
    ev_engine3_climb = 65973,
    ev_engine4_climb = 65978,
    ev_speed_hold_on = 66112,
    ev_speed_hold_off = 66113,
};

inline constexpr double kNoDistance = 99999.0;

// Guidance state the pages show and the keys move.
extern int to_index;            // the active waypoint (TO)
extern double min_distance;     // closest approach to TO so far
extern char last_ata[8];        // "%02d%02dz"
extern char takeoff_time[8];    // "" until the airspeed passes 150 kt

// Where TO lies from the aircraft: great-circle distance in NM and the degree differences.
struct Leg {
    double distance = 0.0;
    double delta_lat = 0.0;
    double delta_lon = 0.0;
};
Leg leg_to(int index);

// The aircraft position (raw variables 71, 72) the change test and POSITION REF last took.
void remember_position(double lat_raw, double lon_raw);
double remembered_latitude_raw();
double remembered_longitude_raw();

// Every update, inside the PROG guard.
void guidance_cycle();
// The next guidance cycle counts as changed (EXEC, PROG, R3/R4).
void force_recompute();
// A new plan: TO back to 1 and the closest approach forgotten.
void plan_loaded_for_guidance();
// R3/R4: TO moves; the closest approach is forgotten as for a new leg.
void move_active_waypoint(int delta);

// EXEC key on: the autothrottle armed if needed and the start sequence begun.
void engage_exec();
// EXEC key off, or the autopilot master gone: no key events, both threads asked to stop.
void disengage_quietly();

// Back to the state a fresh load of the module starts from.
void reset_guidance();

}  // namespace fmc
