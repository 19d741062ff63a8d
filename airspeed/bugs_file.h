#pragma once
// The bugs file "737aspdbugs.txt" in the simulator's working folder: one text line of the five bug
// speeds and, after them, the values of the panel's timer and decision-height gauges, which other
// gauges of the panel publish and this one saves alongside:
//
//   "%d %d %d %d %d %lf %lf %d %d %d\r\n"  bugs 1..5, 737_ET, 737_CT, 737_ER, 737_CR, 737_DH
//
// Only the five bugs are read back.

#include "airspeed/speed_bugs.h"

namespace airspeed {

inline constexpr const char* kBugsFile = "737aspdbugs.txt";

// The named variables saved with the bugs, as their publishers left them.
struct SavedTimers {
    double elapsed_time;   // "737_ET"
    double chrono_time;    // "737_CT"
    double elapsed_run;    // "737_ER"
    double chrono_run;     // "737_CR"
    double decision_height;  // "737_DH"
};

// Each of the first five whole numbers of the file that lies in 1 .. 449 replaces that bug's
// speed; anything else, a missing file or a line cut short leaves the bugs as they are.
void read_bugs_file(const char* path, SpeedBugs& bugs);

// Replaces the file atomically (platform/atomic_file.h): a kill or a failed write at any moment
// leaves the previous file whole. False when nothing was saved.
bool write_bugs_file(const char* path, const SpeedBugs& bugs, const SavedTimers& timers);

}  // namespace airspeed
