#pragma once
// The FMC's module-wide state: the page machine, the guidance switches and the EXEC line. The
// switches are atomic because the worker threads read them beside the panel thread.

#include <atomic>
#include <cstddef>

namespace fmc {

enum Page : int {
    page_menu = 0,
    page_route = 1,
    page_legs = 2,
    page_progress = 3,
    page_load = 4,
    page_performance = 5,
    page_position = 6,
};

extern int current_page;
extern bool details_shown;
extern int page_index;  // screen page of the current page, from 1

extern std::atomic<bool> exec_on;
extern std::atomic<bool> hrz_on;
extern std::atomic<bool> vrt_on;
extern std::atomic<bool> spd_on;

inline constexpr std::size_t kExecLineLength = 30;
extern char exec_line[kExecLineLength + 1];
inline constexpr const char* kDashes = "------------------------------";

// 1.0 when the simulator runs metric units, else 0.3048.
extern double units_factor;
// The 2000 host: speed steps divided by 10, and its own key events at waypoints.
extern bool host_2000;
inline int step_divisor() { return host_2000 ? 10 : 1; }

// Rebuilds the EXEC line from the switches (dashes when EXEC is off).
void build_exec_line();
// Shows the EXEC line buffer on line 13 without highlight.
void show_exec_line();
// Back to the state a fresh load of the module starts from.
void reset_state();

}  // namespace fmc
