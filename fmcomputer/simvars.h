#pragma once
// The simulator variables the FMC reads, by token, and the copies its worker threads read.
// The panel thread refreshes every record at the start of each update; the worker threads only
// see the atomic copies, which hold the values as the panel thread last stored them.

#include <atomic>

namespace fmc {

enum Token : int {
    tok_clock_hours = 3,
    tok_clock_minutes = 4,
    tok_on_ground = 60,
    tok_airspeed = 61,
    tok_vertical_speed = 65,
    tok_stall = 67,
    tok_latitude = 71,
    tok_longitude = 72,
    tok_altitude_m = 73,
    tok_heading_second = 81,
    tok_heading = 86,
    tok_ap_master = 103,
    tok_ap_heading = 107,
    tok_ap_altitude = 109,
    tok_ap_speed_hold = 115,
    tok_ap_speed = 116,
    tok_ap_vertical_speed = 120,
    tok_autothrottle = 123,
    tok_units = 335,
    tok_wind_speed = 343,
    tok_wind_direction = 344,
};

// Initializes the records with the host (at install).
void init_vars();
// Looks up every variable but the units (each update) and refreshes the threads' copies.
void lookup_vars();
// The value of a token as last looked up (0 for a token the FMC does not read).
double var(int token);
// Looks up the units variable alone (once at install).
double lookup_units();

// Read by the vertical thread.
extern std::atomic<double> shared_ap_altitude;  // variable 109
extern std::atomic<double> shared_altitude_m;   // variable 73

}  // namespace fmc
