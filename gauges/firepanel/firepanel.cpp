// The engine fire-protection panel: a fire handle per engine that is pulled, then turned left to
// fire bottle 1 or right to fire bottle 2, and the two AGENT LOW lights they share. A turned
// handle discharges its bottle by key event on every cycle for as long as it stays turned.

#include "gauges/firepanel/fire_handles.h"
#include "host/binding.h"
#include "host/declare.h"
#include "host/key_events.h"
#include "host/tokens.h"

namespace {

using fire::HandleState;

// An engine turning this fast or faster still has its bottle's pressure: the light stays dark.
constexpr double kEngineTurning = 2000.0;

gauge::VariableRecord engine1_turning = gauge::variable(gauge::token::engine1_turning);
gauge::VariableRecord engine2_turning = gauge::variable(gauge::token::engine2_turning);

constexpr double kShown = 0.0;
constexpr double kHidden = -1.0;

// --- Pictures ----------------------------------------------------------------------------------

// Sends the engine's extinguisher event once per turn state that is set, then shows picture
// 1 (turned left, which wins), 2 (turned right) or 0 (upright).
double handle_picture(const HandleState& handle, std::uint32_t extinguisher) {
    if (handle.turned_left == 1.0) gauge::send_key_event(extinguisher, 1);
    if (handle.turned_right == 1.0) gauge::send_key_event(extinguisher, 1);
    if (handle.turned_left == 1.0) return 1.0;
    if (handle.turned_right == 1.0) return 2.0;
    return 0.0;
}

double engine1_handle(gauge::VariableRecord*) {
    return handle_picture(fire::engine1, gauge::event::engine1_fire_bottle);
}
double engine2_handle(gauge::VariableRecord*) {
    return handle_picture(fire::engine2, gauge::event::engine2_fire_bottle);
}

// The lit, pulled handle covers the upright one only while it is not turned.
double pulled_picture(const HandleState& handle) {
    return handle.pulled == 1.0 && handle.turned_left == 0.0 && handle.turned_right == 0.0 ? kShown : kHidden;
}

double engine1_pulled(gauge::VariableRecord*) { return pulled_picture(fire::engine1); }
double engine2_pulled(gauge::VariableRecord*) { return pulled_picture(fire::engine2); }

bool discharging(double turned, const gauge::VariableRecord& engine) {
    return turned == 1.0 && engine.value.d < kEngineTurning;
}

double agent1_low(gauge::VariableRecord*) {
    return discharging(fire::engine1.turned_left, engine1_turning) ||
                   discharging(fire::engine2.turned_left, engine2_turning)
               ? kShown
               : kHidden;
}

double agent2_low(gauge::VariableRecord*) {
    return discharging(fire::engine1.turned_right, engine1_turning) ||
                   discharging(fire::engine2.turned_right, engine2_turning)
               ? kShown
               : kHidden;
}

// --- Clicks ------------------------------------------------------------------------------------

template <HandleState* Handle>
int click_pull(gauge::Point*, std::uint32_t) {
    fire::toggle_pulled(*Handle);
    return 0;
}

template <HandleState* Handle, double HandleState::*Turn, int To>
int click_turn(gauge::Point*, std::uint32_t) {
    (*Handle).*Turn = To;
    return 0;
}

// --- Tables ------------------------------------------------------------------------------------

const gauge::FailureRecord hide_on_failure[] = {{1, 3, 0}, {0, 0, 0}};
constexpr std::uint32_t kLightFlags = gauge::draw_transparent | gauge::draw_erase | gauge::draw_lit;
constexpr std::uint32_t kHandleFlags = gauge::draw_transparent | gauge::draw_erase;

const std::int32_t agent2_pictures[] = {8720};
const std::int32_t agent1_pictures[] = {8704};
const std::int32_t engine2_handle_pictures[] = {8448, 8451, 8454};
const std::int32_t engine1_handle_pictures[] = {8192, 8195, 8198};
const std::int32_t engine2_pulled_pictures[] = {8457};
const std::int32_t engine1_pulled_pictures[] = {8201};

gauge::Icon agent2_light = gauge::icon({92, 30}, agent2_pictures, 1, kLightFlags, agent2_low, nullptr, hide_on_failure);
gauge::Icon agent1_light = gauge::icon({92, 8}, agent1_pictures, 1, kLightFlags, agent1_low, nullptr, hide_on_failure);
gauge::Icon engine2_handle_icon =
    gauge::icon({142, 24}, engine2_handle_pictures, 3, kHandleFlags, engine2_handle, nullptr, hide_on_failure);
gauge::Icon engine1_handle_icon =
    gauge::icon({-14, 24}, engine1_handle_pictures, 3, kHandleFlags, engine1_handle, nullptr, hide_on_failure);
gauge::Icon engine2_pulled_icon =
    gauge::icon({174, 24}, engine2_pulled_pictures, 1, kLightFlags, engine2_pulled, nullptr, hide_on_failure);
gauge::Icon engine1_pulled_icon =
    gauge::icon({20, 24}, engine1_pulled_pictures, 1, kLightFlags, engine1_pulled, nullptr, hide_on_failure);

gauge::Element* const face_children[] = {
    &agent2_light,        &agent1_light,        &engine2_handle_icon, &engine1_handle_icon,
    &engine2_pulled_icon, &engine1_pulled_icon, nullptr,
};
gauge::StaticImage face = gauge::static_image(4096, {0, 0}, gauge::draw_transparent | gauge::draw_lit, face_children);

constexpr auto kLeft = &HandleState::turned_left;
constexpr auto kRight = &HandleState::turned_right;
constexpr auto kClick = gauge::mouse_left_single;

gauge::MouseArea mouse_areas[] = {
    gauge::group(),
    gauge::area(48, 72, 26, 26, gauge::cursor_hand, kClick, click_pull<&fire::engine1>),
    gauge::area(146, 72, 26, 26, gauge::cursor_hand, kClick, click_pull<&fire::engine2>),
    gauge::area(21, 9, 13, 14, gauge::cursor_down, kClick, click_turn<&fire::engine1, kLeft, 0>),
    gauge::area(6, 26, 10, 10, gauge::cursor_up, kClick, click_turn<&fire::engine1, kLeft, 1>),
    gauge::area(34, 9, 13, 14, gauge::cursor_down, kClick, click_turn<&fire::engine1, kRight, 0>),
    gauge::area(52, 26, 10, 10, gauge::cursor_up, kClick, click_turn<&fire::engine1, kRight, 1>),
    gauge::area(173, 9, 13, 14, gauge::cursor_down, kClick, click_turn<&fire::engine2, kLeft, 0>),
    gauge::area(158, 26, 10, 10, gauge::cursor_up, kClick, click_turn<&fire::engine2, kLeft, 1>),
    gauge::area(186, 9, 13, 14, gauge::cursor_down, kClick, click_turn<&fire::engine2, kRight, 0>),
    gauge::area(203, 26, 10, 10, gauge::cursor_up, kClick, click_turn<&fire::engine2, kRight, 1>),
    gauge::group_end(),
    gauge::list_end(),
};

// --- Routines ----------------------------------------------------------------------------------

void install(plat::ModuleHandle resources) {
    fire::reset_handles();
    gauge::standard_install(resources);
    gauge::initialize_variable(engine1_turning);
    gauge::initialize_variable(engine2_turning);
}

void update() {
    gauge::lookup(engine1_turning);
    gauge::lookup(engine2_turning);
    gauge::standard_update();
}

gauge::GaugeHeader header = {
    610, "firepanel by Dunmore", &face, gauge::standard_query, install, gauge::standard_initialize, update,
    gauge::standard_generate, gauge::standard_draw, gauge::standard_kill, 221, mouse_areas, nullptr, nullptr,
};

}  // namespace

GAUGE_MODULE(header)
