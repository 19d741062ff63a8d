#pragma once
// What a gauge shows in the rendered window of a PanelRun: a bitmap of its module, element
// states and string texts.

#include <gtest/gtest.h>

#include <string>

#include "panel_fixture.h"
#include "panelhost/image.h"

namespace gauge_test {

// The tests set the simulator's variables themselves: the host's aircraft stays out of them.
inline panelhost::SessionOptions without_aircraft() {
    panelhost::SessionOptions options;
    options.own_aircraft = false;
    return options;
}

inline panelhost::GaugeInstance& gauge_of(PanelRun& run, const std::string& name) {
    panelhost::GaugeInstance* g = run.panel().find_gauge(name);
    if (!g) throw std::runtime_error("no gauge " + name);
    return *g;
}

// Whether window `window` shows bitmap `id` of the gauge's module with its top-left at gauge
// pixel (x, y): every non-black pixel of the bitmap that falls on the gauge is on screen.
inline bool shows(PanelRun& run, const std::string& name, int id, int x, int y, int window = 0) {
    panelhost::GaugeInstance& g = gauge_of(run, name);
    auto bitmap = panelhost::load_bitmap_resource(g.module->handle(), id);
    if (!bitmap) {
        ADD_FAILURE() << bitmap.error();
        return false;
    }
    int compared = 0;
    for (int by = 0; by < bitmap->height; ++by)
        for (int bx = 0; bx < bitmap->width; ++bx) {
            const std::uint32_t p = bitmap->row(by)[bx];
            const int gx = x + bx, gy = y + by;
            if (panelhost::is_black(p) || gx < 0 || gy < 0 || gx >= g.native_width || gy >= g.native_height) continue;
            ++compared;
            if (run.pixel(window, g.placement.x + gx, g.placement.y + gy) != (p & 0x00FFFFFFu)) return false;
        }
    return compared > 0;
}

// How many pixels of the gauge's box (x, y, w, h) have exactly this colour on screen.
inline int count_colour(PanelRun& run, const std::string& name, int x, int y, int w, int h, std::uint32_t colour,
                        int window = 0) {
    panelhost::GaugeInstance& g = gauge_of(run, name);
    int n = 0;
    for (int yy = y; yy < y + h; ++yy)
        for (int xx = x; xx < x + w; ++xx)
            if (run.pixel(window, g.placement.x + xx, g.placement.y + yy) == colour) ++n;
    return n;
}

inline panelhost::ElementState& element(PanelRun& run, const std::string& name, std::size_t index) {
    return *gauge_of(run, name).elements.at(index);
}

}  // namespace gauge_test
