#include "fmcomputer/keys.h"

#include "fmcomputer/guidance.h"
#include "fmcomputer/pages.h"
#include "fmcomputer/plan.h"
#include "fmcomputer/screen.h"
#include "fmcomputer/state.h"
#include "fmcomputer/workers.h"

namespace fmc {

namespace {

int done() {
    bump_redraw();
    return 0;
}

// A record the details page can show: one of the plan's, up to the destination.
bool shows_record(int k) { return k >= 0 && k <= destination_index() && record(k) != nullptr; }

void details_if_record(int k) {
    if (shows_record(k)) toggle_details(k);
}

void menu_line(int n) {
    if (n == 1) build_load();
    if (n == 2) build_performance();
    if (n == 3) build_position_ref();
}

void progress_line(int n) {
    // L1 has no line beside it; L6 would address the record after the destination.
    if (n == 2) details_if_record(to_index - 1);
    if (n == 3) details_if_record(to_index);
    if (n == 4) details_if_record(to_index + 1);
    if (n == 5) details_if_record(destination_index());
}

// The switch letters stand in the EXEC line, which line 13 shows while EXEC is on.
void show_switches() {
    build_exec_line();
    if (exec_on) set_line(kExecLine, exec_line);
}

}  // namespace

int key_line_select_left(int n) {
    const int first = 6 * (page_index - 1);
    switch (current_page) {
        case page_menu: menu_line(n); break;
        case page_legs: details_if_record(first + n); break;
        case page_progress: progress_line(n); break;
        case page_load: load_plan_entry(first + n - 1); break;
        default: break;
    }
    return done();
}

int key_line_select_right(int n) {
    // The details page over PROGRESS leaves R3 and R4 stepping the TO waypoint beneath it.
    if (current_page == page_progress) {
        if (n == 3 && to_index > 1) move_active_waypoint(-1);
        if (n == 4 && to_index < destination_index()) move_active_waypoint(+1);
    }
    return done();
}

int key_menu(gauge::Point*, std::uint32_t) {
    build_menu();
    return done();
}

int key_route(gauge::Point*, std::uint32_t) {
    build_route();
    return done();
}

int key_legs(gauge::Point*, std::uint32_t) {
    build_legs();
    return done();
}

int key_progress(gauge::Point*, std::uint32_t) {
    build_progress();
    return done();
}

int key_prev_page(gauge::Point*, std::uint32_t) {
    if (details_shown) return 0;
    if (page_index > 1) --page_index;
    return done();
}

int key_next_page(gauge::Point*, std::uint32_t) {
    if (details_shown) return 0;
    ++page_index;  // the refresh step clamps it to the page count
    return done();
}

void switch_exec_on() {
    exec_on = true;
    build_exec_line();
    show_exec_line();
    engage_exec();
}

int key_exec(gauge::Point*, std::uint32_t) {
    if (!exec_on)
        switch_exec_on();
    else
        disengage_quietly();
    return done();
}

int key_hrz(gauge::Point*, std::uint32_t) {
    hrz_on = !hrz_on;
    if (!hrz_on) heading_stop = true;
    show_switches();
    return done();
}

int key_vrt(gauge::Point*, std::uint32_t) {
    vrt_on = !vrt_on;
    if (!vrt_on) vertical_stop = true;
    show_switches();
    return done();
}

int key_spd(gauge::Point*, std::uint32_t) {
    // Speed guidance rides on the vertical guidance: it cannot be on without VRT.
    spd_on = !spd_on && vrt_on;
    show_switches();
    return done();
}

}  // namespace fmc
