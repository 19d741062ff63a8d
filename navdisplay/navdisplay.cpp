// The navigation display: one gauge that renders its whole picture into the display surface and
// hands it to the host through its display icon. This file holds the gauge's records and the
// routines the host calls; the other files hold the steps they take.

#include <exception>

#include "host/binding.h"
#include "host/declare.h"
#include "navdisplay/nd_state.h"
#include "platform/clock.h"
#include "surface/display_surface.h"

namespace nd {

ModuleState state;
Shared shared;
plat::Lock lists_lock;

namespace {

constexpr std::uint32_t kStartupSeconds = 4;

const gauge::FailureRecord kFailures[] = {{1, 3, 0}, {0, 0, 0}};
const std::int32_t kDisplayPictures[] = {8192, 8195};

gauge::Icon display = gauge::icon({0, 0}, kDisplayPictures, 2, 7, map_element_callback(), nullptr, kFailures);
gauge::Element* const background_children[] = {&display, nullptr};
gauge::StaticImage background = gauge::static_image(4096, {0, 0}, 5, background_children, kFailures);

gauge::MouseArea mouse_areas[] = {gauge::group(), gauge::group_end(), gauge::list_end()};

plat::ModuleHandle module_handle = nullptr;

void reset_state() {
    reset_selections();
    state.geo = Geometry{};
    state.redraw = false;
    state.search_due = 0;
    state.searching = false;
    state.start_time.reset();
    state.first_active = true;
    state.selections_taken = false;
    state.picture = 0;
    state.searched_ident[0] = '\0';
    state.route = Route{};
    plat::LockGuard hold(lists_lock);
    shared = Shared{};
}

// Until the first initialization with a surface, the start counts from the clock's zero.
bool startup_over() { return plat::now_seconds() >= state.start_time.value_or(0) + kStartupSeconds; }

void startup_steps() {
    if (!startup_over()) {
        state.redraw = false;
        return;
    }
    if (state.first_active) {
        state.first_active = false;
        first_active_update();
    }
}

void install(plat::ModuleHandle resources) {
    module_handle = resources;
    reset_state();
    gauge::standard_install(resources);
    state.hot_key = read_hot_key();
    take_up_selections();
    navdb::open_database(state.db, kNavDataFolder);
    initialize_variables();
}

void initialize() {
    gauge::standard_initialize();
    surface::ReleaseDisplaySurface();
    surface::CreateDisplaySurface({kGaugeName, module_handle, &display, &background});
    state.geo.W = surface::SurfaceWidth();
    state.geo.H = surface::SurfaceHeight();
    compute_geometry();
    if (plat::Canvas* dc = surface::SurfaceContext()) {
        make_fonts(*dc);
        if (!state.start_time) state.start_time = plat::now_seconds();
    }
}

void update() {
    gauge::standard_update();
    try {
        startup_steps();
        start_search_if_due();
        check_flight_plan();
    } catch (const std::exception&) {
        // The picture and the look-ups still come.
    }
    if (surface::SurfaceContext() && state.redraw) draw_picture();
    look_up_variables();
}

void kill() {
    gauge::standard_kill();
    surface::ReleaseDisplaySurface();
    release_fonts();
    stop_search();
    navdb::close_database(state.db);
    close_flight_plan();
    write_mode_file();
    close_block();
}

gauge::GaugeHeader header = {
    610, kGaugeName, &background, gauge::standard_query, install, initialize, update,
    gauge::standard_generate, gauge::standard_draw, kill, 89, mouse_areas, nullptr, nullptr,
};

}  // namespace

bool startup_delay_over() { return startup_over(); }

}  // namespace nd

GAUGE_MODULE(nd::header)
