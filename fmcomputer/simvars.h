#pragma once
// The simulator variables the FMC reads (by the names of host/tokens.h), and the copies its worker
// threads read. The panel thread refreshes every record at the start of each update; the worker
// threads only see the atomic copies, which hold the values as the panel thread last stored them.

#include <atomic>

#include "host/tokens.h"

namespace fmc {

namespace token = gauge::token;

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
