#pragma once
// Flight plans: the list of NavData/FlightPlans/*.pln, loading one, its publication as
// fltplanMap1 / fltplanMap0 for the navigation display, and the values read from the published
// copy (the aircraft keys, the departure and arrival, the waypoint records).

#include <cstddef>

namespace fmc {

inline constexpr int kMaxPlans = 256;
inline constexpr int kMaxRecords = 256;
inline constexpr std::size_t kPlanNameSize = 33;
inline constexpr std::size_t kPlanPathSize = 260;
inline constexpr const char* kPlanFolder = "NavData/FlightPlans/";

// The plan list: display names and paths by entry.
extern char plan_names[kMaxPlans][kPlanNameSize];
extern char plan_paths[kMaxPlans][kPlanPathSize];
void clear_plan_paths();
// Clears the list and fills it in directory order; "NO FLIGHT PLAN AVAILABLE" when empty.
void build_plan_list();

enum class LoadResult { loaded, open_error, map_error, no_entry };
// Loads plan list entry k: publishes it under the next name and reads it. On an error the
// FMC is left without a plan.
LoadResult load_plan(int k);
// Drops the FMC's view of the published plan.
void unpublish_plan();
// The next publication index (1 for the first plan after the module is loaded).
void reset_publication();

struct RunwayInfo {
    char designator[8];
    char heading[4];
    char length[6];
};
struct AirportInfo {
    char airport[32];
    RunwayInfo runway;
};

struct AircraftValues {
    char aircraft[256];
    double cruise_mach;  // shown on the performance page
    int cruise_speed;    // knots
    int cruise_altitude;
    int climb_rate;
    int descent_rate;
    int climb_speed;
    int descent_speed;
};

// The loaded plan (all empty when none).
bool plan_loaded();
const char* loaded_path();  // "" when none
int record_count();
int destination_index();
// Record i as a 103-character string inside the published block; null out of range.
const char* record(int i);
const AircraftValues& aircraft();
const AirportInfo& departure();
const AirportInfo& arrival();

// Read from a plan text (zero-terminated): exposed for the published copy's parse.
void parse_aircraft_keys(const char* text, AircraftValues& out);
void parse_airport_section(const char* text, const char* header, AirportInfo& out);

}  // namespace fmc
