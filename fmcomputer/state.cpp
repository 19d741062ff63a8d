#include "fmcomputer/state.h"

#include <cstdio>
#include <cstring>

#include "fmcomputer/screen.h"

namespace fmc {

int current_page = page_menu;
bool details_shown = false;
int page_index = 1;
std::atomic<bool> exec_on{false};
std::atomic<bool> hrz_on{true};
std::atomic<bool> vrt_on{true};
std::atomic<bool> spd_on{true};
char exec_line[kExecLineLength + 1] = "------------------------------";
double units_factor = 0.3048;
bool host_2000 = false;

void build_exec_line() {
    std::snprintf(exec_line, sizeof exec_line, "%s", exec_on ? "----EXEC----------------------" : kDashes);
    if (!exec_on) return;
    if (hrz_on) std::memcpy(exec_line + 11, "HRZ", 3);
    if (vrt_on) std::memcpy(exec_line + 17, "VRT", 3);
    if (spd_on) std::memcpy(exec_line + 23, "SPD", 3);
}

void show_exec_line() {
    set_line(kExecLine, exec_line);
    highlight_exec_line(false);
}

void reset_state() {
    current_page = page_menu;
    details_shown = false;
    page_index = 1;
    exec_on = false;
    hrz_on = true;
    vrt_on = true;
    spd_on = true;
    std::snprintf(exec_line, sizeof exec_line, "%s", kDashes);
    redraw_counter = 1;
    last_seen_counter = 0;
}

}  // namespace fmc
