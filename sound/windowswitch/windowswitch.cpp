// A small panel button that opens and closes the panel window 44 with a click sound stored in the
// module. The window toggles whatever becomes of the sound.

#include "host/binding.h"
#include "host/declare.h"
#include "sound/windowswitch/click_sound.h"

namespace {

constexpr std::uint32_t kClickSound = 3001;
constexpr std::uint32_t kPanelWindow = 44;

plat::ModuleHandle module = nullptr;

int click_button(gauge::Point*, std::uint32_t) {
    click::play_resource_sound(module, kClickSound);
    gauge::toggle_panel_window(kPanelWindow);
    return 0;
}

gauge::StaticImage face = gauge::static_image(1000, {0, 0}, gauge::draw_transparent);

gauge::MouseArea mouse_areas[] = {
    gauge::group(),
    gauge::area(0, 0, 30, 30, gauge::cursor_hand, gauge::mouse_left_single, click_button),
    gauge::group_end(),
    gauge::list_end(),
};

void install(plat::ModuleHandle resources) {
    module = resources;
    gauge::standard_install(resources);
}

void kill() {
    gauge::standard_kill();
    click::release_sounds();
    module = nullptr;
}

gauge::GaugeHeader header = {
    610, "Vell-Window-Switch-44-v1s", &face, gauge::standard_query, install, gauge::standard_initialize,
    gauge::standard_update, gauge::standard_generate, gauge::standard_draw, kill, 40, mouse_areas, nullptr, nullptr,
};

}  // namespace

GAUGE_MODULE(header)
