// A probe display for the surface's own cases: it fills its surface with the background, draws a
// black square at (2, 2)..(6, 6) and one pixel of slot 3 at (10, 2), and presents every cycle.
// Clicking its left half releases the surface twice; its right half creates it again.

#include "host/binding.h"
#include "host/declare.h"
#include "surface/display_surface.h"

namespace {

#ifdef PROBE_WITHOUT_COLOUR_TABLE
constexpr const char* kName = "surfaceprobe_nokeys";
constexpr std::int32_t kBackground = 4097;
#else
constexpr const char* kName = "surfaceprobe";
constexpr std::int32_t kBackground = 4096;
#endif

const std::int32_t kPictures[] = {8192, 8192};
double shown = 0;

double next_picture(gauge::VariableRecord*) { return shown = shown == 0 ? 1 : 0; }

gauge::Icon display = gauge::icon({0, 0}, kPictures, 2, 7, next_picture);
gauge::Element* const children[] = {&display, nullptr};
gauge::StaticImage background = gauge::static_image(kBackground, {0, 0}, 5, children);
plat::ModuleHandle module = nullptr;

void create() { surface::CreateDisplaySurface({kName, module, &display, &background}); }

int release_twice(gauge::Point*, std::uint32_t) {
    surface::ReleaseDisplaySurface();
    surface::ReleaseDisplaySurface();
    return 0;
}

int create_again(gauge::Point*, std::uint32_t) {
    create();
    return 0;
}

gauge::MouseArea areas[] = {
    gauge::group(),
    gauge::area(0, 0, 16, 8, gauge::cursor_hand, gauge::mouse_left_single, release_twice),
    gauge::area(16, 0, 16, 8, gauge::cursor_hand, gauge::mouse_left_single, create_again),
    gauge::group_end(),
    gauge::list_end(),
};

void install(plat::ModuleHandle resources) {
    module = resources;
    gauge::standard_install(resources);
}

void initialize() {
    gauge::standard_initialize();
    surface::ReleaseDisplaySurface();
    create();
}

void update() {
    gauge::standard_update();
    plat::Canvas* dc = surface::SurfaceContext();
    surface::FillSurfaceRect(0, 0, surface::SurfaceWidth(), surface::SurfaceHeight());
    if (dc) {
        dc->select_pen(plat::Pen::solid(plat::rgb(0, 0, 0)));
        dc->select_brush(plat::Brush::solid(plat::rgb(0, 0, 0)));
        dc->rectangle({2, 2, 6, 6});
        dc->set_pixel(10, 2, surface::SurfaceColour(3));
    }
    surface::PresentSurface();
}

void kill() {
    gauge::standard_kill();
    surface::ReleaseDisplaySurface();
}

gauge::GaugeHeader header = {
    610, kName, &background, gauge::standard_query, install, initialize, update,
    gauge::standard_generate, gauge::standard_draw, kill, 20, areas, nullptr, nullptr,
};

}  // namespace

GAUGE_MODULE(header)
