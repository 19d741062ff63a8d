// A push button that opens and closes panel window 40. Its face counts this button's own clicks
// only: a window opened or closed by other means does not change it.

#include "host/binding.h"
#include "host/declare.h"

namespace {

constexpr std::uint32_t kToggledWindow = 40;

// Picture 0 grey (released), 1 green (pressed). The icon has neither callback nor token, so the
// host shows the value held in its own record, which only the click below writes.
const std::int32_t face_pictures[] = {8192, 8195};
gauge::Icon button_face = gauge::icon({0, 0}, face_pictures, 2,
                                      gauge::draw_transparent | gauge::draw_erase | gauge::draw_lit, nullptr);

gauge::Element* const background_children[] = {&button_face, nullptr};
gauge::StaticImage background =
    gauge::static_image(4096, {0, 0}, gauge::draw_transparent | gauge::draw_erase, background_children);

void advance_face() {
    double& picture = button_face.source.value.d;
    picture += 1.0;
    if (picture == 2.0) picture = 0.0;
}

int click_button(gauge::Point*, std::uint32_t) {
    advance_face();
    gauge::toggle_panel_window(kToggledWindow);
    return 0;
}

gauge::MouseArea mouse_areas[] = {
    gauge::group(),
    gauge::area(3, 12, 103, 105, gauge::cursor_hand, gauge::mouse_left_single, click_button),
    gauge::group_end(),
    gauge::list_end(),
};

void install(plat::ModuleHandle resources) {
    button_face.source.value.d = 0.0;
    gauge::standard_install(resources);
}

gauge::GaugeHeader header = {
    610, "paneltoggle", &background, gauge::standard_query, install, gauge::standard_initialize,
    gauge::standard_update, gauge::standard_generate, gauge::standard_draw, gauge::standard_kill, 100,
    mouse_areas, nullptr, nullptr,
};

}  // namespace

GAUGE_MODULE(header)
