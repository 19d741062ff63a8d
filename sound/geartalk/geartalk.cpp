// The landing-gear panel: the gear lever, the three gear position lights and the spoken call-outs
// played when the nose gear is nearly up or nearly down. A click anywhere on the face is handed to
// the simulator as the gear key event by the host itself.

#include <string>

#include "host/binding.h"
#include "host/declare.h"
#include "host/key_events.h"
#include "host/tokens.h"
#include "platform/window_registry.h"
#include "sound/geartalk/sound_library.h"

namespace {

namespace token = gauge::token;

constexpr double kUp = 0.0;
constexpr double kDown = 16383.0;

constexpr const char* kUpCallout = "./Sound/talkup.wav";
constexpr const char* kDownCallout = "./Sound/talkdn.wav";

// --- Module state ------------------------------------------------------------------------------

int up_callout = 0;
int down_callout = 0;
std::string active_window;

// --- Element values ----------------------------------------------------------------------------

double value_of(const gauge::VariableRecord& v) {
    return v.type == gauge::var_integer ? static_cast<double>(v.value.i) : v.value.d;
}

// Picture 0 is the lever down, 1 the lever up.
double lever_picture(gauge::VariableRecord* source) { return value_of(*source) != kUp ? 0.0 : 1.0; }

// Picture 0 is the green DOWN legend, 1 the blank of a gear up and locked, 2 the in-transit stripes.
double position_picture(double position) {
    if (position == kUp) return 1.0;
    if (position == kDown) return 0.0;
    return 2.0;
}

void play_callouts(double lever, double nose) {
    if (lever != kDown && nose > 100.0 && nose < 400.0) soundlib::play_sound(up_callout);
    if (lever != kUp && nose > 16000.0 && nose < 16300.0) soundlib::play_sound(down_callout);
}

double nose_light(gauge::VariableRecord* source) {
    gauge::VariableRecord lever = gauge::variable(token::gear_lever);
    gauge::lookup(lever);
    const double nose = value_of(*source);
    play_callouts(value_of(lever), nose);
    return position_picture(nose);
}

double gear_light(gauge::VariableRecord* source) { return position_picture(value_of(*source)); }

// --- Tables ------------------------------------------------------------------------------------

const gauge::FailureRecord hide_on_failure[] = {{1, 3, 0}, {0, 0, 0}};
const std::int32_t lever_pictures[] = {20480, 20483};
const std::int32_t nose_pictures[] = {8192, 8195, 8198};
const std::int32_t left_pictures[] = {12288, 12291, 12294};
const std::int32_t right_pictures[] = {16384, 16387, 16390};

constexpr std::uint32_t kLeverFlags = gauge::draw_transparent | gauge::draw_erase;
constexpr std::uint32_t kLightFlags = gauge::draw_transparent | gauge::draw_erase | gauge::draw_lit;

gauge::Icon lever = gauge::icon({132, 8}, lever_pictures, 2, kLeverFlags, lever_picture,
                                nullptr, hide_on_failure, token::gear_lever);
gauge::Icon nose_lamp = gauge::icon({30, 34}, nose_pictures, 3, kLightFlags, nose_light,
                                nullptr, hide_on_failure, token::nose_gear);
gauge::Icon left_lamp = gauge::icon({13, 67}, left_pictures, 3, kLightFlags, gear_light,
                                nullptr, hide_on_failure, token::left_gear);
gauge::Icon right_lamp = gauge::icon({46, 67}, right_pictures, 3, kLightFlags, gear_light,
                                nullptr, hide_on_failure, token::right_gear);

gauge::Element* const face_children[] = {&lever, &nose_lamp, &left_lamp, &right_lamp, nullptr};
gauge::StaticImage face = gauge::static_image(4096, {0, 0}, gauge::draw_transparent, face_children);

constexpr std::int32_t kFaceHelp = 41253;

gauge::MouseArea mouse_areas[] = {
    gauge::group(),
    {gauge::mouse_group, 0, 0, 172, 124, gauge::cursor_none, kFaceHelp, 0, 0, nullptr},
    gauge::area(0, 0, 172, 124, gauge::cursor_hand, gauge::mouse_left_single, nullptr, gauge::event::gear_toggle),
    gauge::group_end(),
    gauge::group_end(),
    gauge::list_end(),
};

// --- Routines ----------------------------------------------------------------------------------

// The window that is active while the panel installs: the simulator's main window.
std::string take_active_window() {
    return plat::window_title(plat::find_window("FS98MAIN", "")).value_or("");
}

void install(plat::ModuleHandle resources) {
    gauge::standard_install(resources);
    active_window = take_active_window();
    up_callout = soundlib::load_sound(active_window.c_str(), kUpCallout);
    down_callout = soundlib::load_sound(active_window.c_str(), kDownCallout);
}

void kill() {
    soundlib::free_sound(down_callout);
    soundlib::free_sound(up_callout);
    down_callout = 0;
    up_callout = 0;
    gauge::standard_kill();
}

gauge::GaugeHeader header = {
    610, "geartalk", &face, gauge::standard_query, install, gauge::standard_initialize, gauge::standard_update,
    gauge::standard_generate, gauge::standard_draw, kill, 100, mouse_areas, nullptr, nullptr,
};

}  // namespace

GAUGE_MODULE(header)
