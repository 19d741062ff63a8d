// The primary flight display: one gauge that renders its whole picture into the display surface
// and hands it to the host through its display icon. This file holds the gauge's records and the
// routines the host calls; the sections are drawn by the draw_*.cpp files.

#include "host/binding.h"
#include "host/declare.h"
#include "flightdisplay/pfd_state.h"
#include "platform/clock.h"
#include "platform/module.h"
#include "surface/display_surface.h"

namespace pfd {

ModuleState state;

namespace {

constexpr double kStartupSeconds = 4.0;

const gauge::FailureRecord kFailures[] = {{4, 0, 0}, {1, 3, 0}, {0, 0, 0}};
const std::int32_t kDisplayPictures[] = {8192, 8192};

gauge::Icon display = gauge::icon({0, 0}, kDisplayPictures, 2, 7, detect_changes, nullptr, kFailures);
gauge::Element* const background_children[] = {&display, nullptr};
gauge::StaticImage background = gauge::static_image(4096, {0, 0}, 5, background_children, kFailures);

gauge::MouseArea mouse_areas[] = {gauge::group(), gauge::group_end(), gauge::list_end()};

plat::ModuleHandle module_handle = nullptr;

double now_seconds() { return static_cast<double>(plat::now_ms()) / 1000.0; }

// The display element's picture size, which the whole layout follows.
void display_size(int& width, int& height) {
    width = height = 0;
    gauge::ElementImage image{};
    gauge::PanelServices* s = gauge::services();
    if (s && s->element_image && s->element_image(&display, 0, &image)) {
        width = image.width;
        height = image.height;
    }
}

void draw_dirty_sections(plat::Canvas& dc) {
    const std::uint8_t dirty = state.dirty;
    if (dirty & kDirtyAttitude) draw_attitude(dc);
    if (dirty & kDirtySpeed) draw_speed_tape(dc);
    if (dirty & kDirtyAltitude) draw_altitude_tape(dc);
    if (dirty & kDirtyAltimeter) draw_altimeter_box(dc);
    if (dirty & kDirtyModes) draw_annunciations(dc);
    if (dirty & kDirtyHeading) draw_heading(dc);
}

// The first update after start-up, and the first after the panel was generated anew, draws
// everything; the FD switch's block is (re)attached then.
void attach_after_generate() {
    state.reattach = false;
    if (state.rebuilt) {
        state.rebuilt = false;
        surface::FillSurfaceRect(0, 0, surface::SurfaceWidth(), surface::SurfaceHeight());
        state.changed = true;
        state.dirty = kDirtyAll;
        state.flip_pending = true;
    }
    fd_link_attach();
}

void install(plat::ModuleHandle resources) {
    module_handle = resources;
    state = ModuleState{};
    gauge::standard_install(resources);
    state.shortcut = read_shortcut_key();
    state.limits = read_or_create_speed_limits(speed_limit_file_path(plat::module_path(resources)), SpeedLimits{});
    initialize_variables();
    presence_open();
}

void initialize() {
    gauge::standard_initialize();
    surface::ReleaseDisplaySurface();
    surface::CreateDisplaySurface({kGaugeName, module_handle, &display, &background});
    int width = 0, height = 0;
    display_size(width, height);
    make_layout(width, height);
    state.rebuilt = true;
    state.reattach = true;
    if (plat::Canvas* dc = surface::SurfaceContext()) {
        make_fonts(*dc);
        if (!state.start_time) state.start_time = now_seconds();
    }
}

void update() {
    gauge::standard_update();
    if (!state.start_time || now_seconds() < *state.start_time + kStartupSeconds)
        state.changed = false;
    else if (state.reattach)
        attach_after_generate();
    plat::Canvas* dc = surface::SurfaceContext();
    if (dc && state.changed) {
        remember_drawn_values();
        draw_dirty_sections(*dc);
        surface::PresentSurface();
    }
    look_up_variables();
}

// The host generates the panel every cycle: a full redraw is due only once after each
// initialization, while a missing FD switch block is looked for again each time.
void generate(std::uint32_t phase) {
    gauge::standard_generate(phase);
    if (state.rebuilt || !fd_link_attached()) state.reattach = true;
}

void kill() {
    gauge::standard_kill();
    surface::ReleaseDisplaySurface();
    release_tools();
    fd_link_close();
    presence_close();
}

gauge::GaugeHeader header = {
    610, kGaugeName, &background, gauge::standard_query, install, initialize, update,
    generate, gauge::standard_draw, kill, 89, mouse_areas, nullptr, nullptr,
};

}  // namespace
}  // namespace pfd

GAUGE_MODULE(pfd::header)
