#include "panelhost/radio_keys.h"

#include <cstdio>

#include "panelhost/session.h"
#include "platform/keyboard.h"

namespace panelhost {

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

}  // namespace panelhost
