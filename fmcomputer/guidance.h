#pragma once
// Guidance: every update the FMC follows the aircraft along the published plan, sequences its
// waypoints and, with EXEC engaged, steers the simulator's autopilot by key events.

#include <cstdint>

#include "host/key_events.h"

namespace fmc {

namespace event = gauge::event;

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
