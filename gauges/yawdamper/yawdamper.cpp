// The YAW DAMP OFF annunciator: two full-face overlays over a black background. The unlit one
// shows the lens dark, the lit one shows the caption; which of them shows follows the light's
// supply and the yaw damper state, read every update.

#include "host/binding.h"
#include "host/declare.h"
#include "host/tokens.h"

namespace {

constexpr double kSupplyPresent = 250.0;

// The light's supply condition rides on the airspeed token.
gauge::VariableRecord supply = gauge::variable(gauge::token::indicated_airspeed);
gauge::VariableRecord damper_state = gauge::variable(gauge::token::yaw_damper);

bool supply_present() { return supply.value.d >= kSupplyPresent; }

// Picture 0 shows the dark lens; picture 1 has no bitmap and draws nothing.
double unlit_picture(gauge::VariableRecord*) {
    return supply_present() && damper_state.value.d != 1.0 ? 1.0 : 0.0;
}

// Picture 0 shows the lit caption.
double lit_picture(gauge::VariableRecord*) {
    return supply_present() && damper_state.value.d == 0.0 ? 0.0 : 1.0;
}

// --- Tables ------------------------------------------------------------------------------------

const gauge::FailureRecord no_action_on_failure[] = {{1, 0, 0}, {0, 0, 0}};
const std::int32_t unlit_pictures[] = {12288, gauge::kNoBitmap};
const std::int32_t lit_pictures[] = {8192, gauge::kNoBitmap};

gauge::Icon unlit_overlay = gauge::icon({7, 5}, unlit_pictures, 2, gauge::draw_transparent | gauge::draw_erase,
                                        unlit_picture, nullptr, no_action_on_failure);
gauge::Icon lit_overlay =
    gauge::icon({7, 5}, lit_pictures, 2, gauge::draw_transparent | gauge::draw_erase | gauge::draw_lit,
                lit_picture, nullptr, no_action_on_failure);

gauge::Element* const background_children[] = {&unlit_overlay, &lit_overlay, nullptr};
gauge::StaticImage background = gauge::static_image(4096, {0, 0}, gauge::draw_transparent, background_children);

// --- Routines ----------------------------------------------------------------------------------

void install(plat::ModuleHandle resources) {
    gauge::standard_install(resources);
    gauge::initialize_variable(supply);
    gauge::initialize_variable(damper_state);
}

void update() {
    gauge::lookup(supply);
    gauge::lookup(damper_state);
    gauge::standard_update();
}

gauge::GaugeHeader header = {
    610, "yawdamper", &background, gauge::standard_query, install, gauge::standard_initialize, update,
    gauge::standard_generate, gauge::standard_draw, gauge::standard_kill, 57, nullptr, nullptr, nullptr,
};

}  // namespace

GAUGE_MODULE(header)
