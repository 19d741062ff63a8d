// The flight management computer: a control and display unit that loads a flight plan, shows its
// pages and, with EXEC engaged, flies the plan through the simulator's autopilot.

#include <cstdio>

#include "fmcomputer/guidance.h"
#include "fmcomputer/keys.h"
#include "fmcomputer/pages.h"
#include "fmcomputer/plan.h"
#include "fmcomputer/scratch_file.h"
#include "fmcomputer/screen.h"
#include "fmcomputer/simvars.h"
#include "fmcomputer/state.h"
#include "fmcomputer/workers.h"
#include "host/binding.h"
#include "host/declare.h"
#include "platform/window_registry.h"

namespace {

using namespace fmc;

const char* const kMessageProgress = "- EXCEPTION   IN         PROG -";

// --- Tables ------------------------------------------------------------------------------------

const gauge::FailureRecord hide_on_failure[] = {{1, 3, 0}, {0, 0, 0}};

gauge::StaticImage lighting =
    gauge::static_image(5376, {0, 0}, gauge::draw_transparent | gauge::draw_lit, nullptr, hide_on_failure);

gauge::Element* const face_children[] = {
    &lighting,        &screen_lines[0], &screen_lines[1],  &screen_lines[2],  &screen_lines[3],
    &screen_lines[4], &screen_lines[5], &screen_lines[6],  &screen_lines[7],  &screen_lines[8],
    &screen_lines[9], &screen_lines[10], &screen_lines[11], &screen_lines[12], &screen_lines[13],
    nullptr,
};
gauge::StaticImage face = gauge::static_image(4096, {0, 0}, gauge::draw_transparent, face_children);

constexpr auto kClick = gauge::mouse_left_single;
constexpr auto kHand = gauge::cursor_hand;

gauge::MouseArea mouse_areas[] = {
    gauge::group(),
    gauge::area(5, 36, 23, 15, kHand, kClick, key_left<1>),
    gauge::area(5, 66, 23, 15, kHand, kClick, key_left<2>),
    gauge::area(5, 96, 23, 15, kHand, kClick, key_left<3>),
    gauge::area(5, 126, 23, 15, kHand, kClick, key_left<4>),
    gauge::area(5, 156, 23, 15, kHand, kClick, key_left<5>),
    gauge::area(5, 186, 23, 15, kHand, kClick, key_left<6>),
    gauge::area(252, 36, 23, 15, kHand, kClick, key_right<1>),
    gauge::area(252, 66, 23, 15, kHand, kClick, key_right<2>),
    gauge::area(252, 96, 23, 15, kHand, kClick, key_right<3>),
    gauge::area(252, 126, 23, 15, kHand, kClick, key_right<4>),
    gauge::area(252, 156, 23, 15, kHand, kClick, key_right<5>),
    gauge::area(252, 186, 23, 15, kHand, kClick, key_right<6>),
    gauge::area(29, 225, 32, 19, kHand, kClick, key_menu),
    gauge::area(67, 225, 32, 19, kHand, kClick, key_route),
    gauge::area(105, 225, 32, 19, kHand, kClick, key_legs),
    gauge::area(143, 225, 32, 19, kHand, kClick, key_prev_page),
    gauge::area(181, 225, 32, 19, kHand, kClick, key_next_page),
    gauge::area(29, 251, 32, 19, kHand, kClick, key_progress),
    gauge::area(67, 251, 32, 19, kHand, kClick, key_exec),
    gauge::area(105, 251, 32, 19, kHand, kClick, key_hrz),
    gauge::area(143, 251, 32, 19, kHand, kClick, key_vrt),
    gauge::area(181, 251, 32, 19, kHand, kClick, key_spd),
    gauge::group_end(),
    gauge::list_end(),
};

// --- Start and stop ----------------------------------------------------------------------------

void install(plat::ModuleHandle resources) {
    reset_state();
    reset_guidance();
    reset_publication();
    gauge::standard_install(resources);
    init_vars();
    units_factor = lookup_units() >= 2.0 ? 1.0 : 0.3048;
    build_menu();
    restore_from_scratch();
    // Only the pages that follow the plan are built again; the others leave the MENU page.
    show_page(current_page >= page_menu && current_page <= page_progress ? current_page : page_menu);
    bump_redraw();
    host_2000 = plat::find_window("FS98MAIN", "Microsoft Flight Simulator 2000") != 0;
}

void update() {
    lookup_vars();
    guarded(kMessageProgress, guidance_cycle);
    if (redraw_counter > 100) redraw_counter = 0;
    if (redraw_counter != last_seen_counter && !details_shown) {
        last_seen_counter = redraw_counter;
        if (current_page == page_position) compute_position_ref();
        refresh_screen(current_page == page_legs);
    }
    gauge::standard_update();
}

void kill() {
    stop_workers_and_wait();
    char path[kPlanPathSize];
    std::snprintf(path, sizeof path, "%s", loaded_path());
    unpublish_plan();
    write_scratch(path);
    gauge::standard_kill();
}

gauge::GaugeHeader header = {
    610, "fmcomputer", &face, gauge::standard_query, install, gauge::standard_initialize, update,
    gauge::standard_generate, gauge::standard_draw, kill, 140, mouse_areas, nullptr, nullptr,
};

}  // namespace

GAUGE_MODULE(header)
