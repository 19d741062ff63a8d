#include "panelhost/host_keys.h"

#include <cstdio>

#include "panelhost/session.h"
#include "platform/keyboard.h"
#include "sim/crew.h"

namespace panelhost {
namespace {

bool turn_radio_knob(Session& session, int vk, bool shift) {
    struct Key {
        int down, up;
        sim::RadioKnob knob;
    };
    static constexpr Key keys[] = {{plat::vk::f1 + 4, plat::vk::f1 + 5, sim::RadioKnob::nav1},
                                   {plat::vk::f1 + 6, plat::vk::f1 + 7, sim::RadioKnob::course1},
                                   {plat::vk::f1 + 8, plat::vk::f1 + 9, sim::RadioKnob::nav2},
                                   {plat::vk::f1 + 10, plat::vk::f1 + 11, sim::RadioKnob::adf}};
    for (const Key& key : keys) {
        if (vk != key.down && vk != key.up) continue;
        sim::RadioTuning t = session.aircraft().state().radios;
        sim::turn_knob(t, key.knob, vk == key.up ? 1 : -1, shift);
        session.aircraft().tune(t);
        std::printf("NAV1 %.2f  course %03.0f  NAV2 %.2f  ADF %d\n", t.nav_channel[0] / 100.0, t.course_deg[0],
                    t.nav_channel[1] / 100.0, t.adf_khz);
        return true;
    }
    return false;
}

// Only without modifiers, so a module's Shift or Ctrl combination never moves the aircraft.
bool fly_by_key(Session& session, int vk, KeyModifiers mods) {
    if (mods.shift || mods.ctrl || mods.alt) return false;
    using plat::vk::letter;
    sim::CrewAction a;
    switch (vk) {
        case plat::vk::prior: a = sim::CrewAction::throttle_up; break;
        case plat::vk::next: a = sim::CrewAction::throttle_down; break;
        case plat::vk::up: a = sim::CrewAction::nose_down; break;
        case plat::vk::down: a = sim::CrewAction::nose_up; break;
        case plat::vk::left: a = sim::CrewAction::roll_left; break;
        case plat::vk::right: a = sim::CrewAction::roll_right; break;
        case letter('L'): a = sim::CrewAction::gear; break;
        case letter('F'): a = sim::CrewAction::flaps_down; break;
        case letter('R'): a = sim::CrewAction::flaps_up; break;
        case letter('B'): a = sim::CrewAction::brakes; break;
        case letter('I'): a = sim::CrewAction::approach; break;
        default: return false;
    }
    sim::AircraftState& s = session.aircraft().state();
    sim::apply_crew_action(s, a);
    std::printf("throttle %.2f  column %+.0f fpm  bank %+.0f  gear %s  flaps %.2f  brakes %s  approach %d\n",
                s.controls.throttle[0], s.hand_vertical_speed_fpm, s.hand_bank_deg, s.controls.gear_down ? "down" : "up",
                s.controls.flaps, s.controls.brakes > 0 ? "on" : "off", static_cast<int>(s.approach));
    return true;
}

}  // namespace

bool apply_host_key(Session& session, int vk, KeyModifiers mods) {
    return turn_radio_knob(session, vk, mods.shift) || fly_by_key(session, vk, mods);
}

void apply_key(Session& session, int vk, bool down) {
    if (down)
        apply_host_key(session, vk,
                       {plat::key_down(plat::vk::shift), plat::key_down(plat::vk::control), plat::key_down(plat::vk::menu)});
    plat::set_key_state(vk, down);
}

}  // namespace panelhost
