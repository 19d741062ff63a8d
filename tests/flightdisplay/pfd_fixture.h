#pragma once
// The flight display on a panel of its own (and with the FD switch below it), run through the
// real host past its start-up delay, with helpers to set variables and look at the picture.

#include <cstdint>
#include <string>

#include "panel_fixture.h"
#include "panelhost/panel.h"

namespace pfdtest {

inline const char* kPanelAlone =
    "[Window00]\nsize=256,256\ngauge00=flightdisplay!flightdisplay, 0, 0\n";
inline const char* kPanelWithSwitch =
    "[Window00]\nsize=256,360\ngauge00=flightdisplay!flightdisplay, 0, 0\n"
    "gauge01=fdswitch!Lumiscope-Brightline-FDSW, 0, 260\n";

// Colours as the window shows them (0x00RRGGBB). The 8-bit panel palette has no (255, 128, 0):
// the shipped art's orange keys take its nearest entry.
inline constexpr std::uint32_t kWhite = 0xFFFFFF, kGrey = 0x808080, kSky = 0x008080, kGround = 0x800000,
                               kRed = 0xFF0000, kMagenta = 0xFF00FF, kGreen = 0x00FF00, kOrange = 0xFF9900;

// Cycles at 18 per second: 4 seconds of start-up and a few more.
inline constexpr int kPastStartup = 80;

// The host's own aircraft stays out of it: the tests set the variables themselves.
inline panelhost::SessionOptions quiet() {
    panelhost::SessionOptions o;
    o.own_aircraft = false;
    return o;
}

inline void set(PanelRun& run, int token, double value) { run.session().variables().set_double(token, value); }

// Pixels of a colour in the box x0 <= x < x1, y0 <= y < y1 of window 0.
inline int count(PanelRun& run, int x0, int y0, int x1, int y1, std::uint32_t rgb) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) n += run.pixel(0, x, y) == rgb;
    return n;
}

// The display element's value as the host last saw it (it flips with every new picture).
inline double display_value(PanelRun& run) {
    panelhost::GaugeInstance* g = run.panel().find_gauge("flightdisplay");
    return g && g->elements.size() > 1 ? g->elements[1]->value : -1.0;
}

}  // namespace pfdtest
