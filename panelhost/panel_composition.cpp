// The windows' pictures: each changed gauge drawn again and laid over its window's background, only
// when something looks at the window, and what changed since a viewer last looked.

#include "panelhost/element_render.h"
#include "panelhost/panel.h"

namespace panelhost {

void GaugeInstance::mark_changed() {
    dirty = true;
    if (window) changed_at = ++window->changes;
}

void Panel::compose() {
    for (auto& w : windows_) compose_window(*w);
}

// The background, then every gauge over it in panel order, within one area of the window.
void Panel::repaint(Window& w, const Rect& area) {
    if (w.background.empty())
        fill_rect(w.picture, area.x, area.y, area.w, area.h, kPanelBackground);
    else
        copy_area(w.picture, w.background, area);
    for (GaugeInstance* g : w.gauges)
        draw_scaled(w.picture, g->picture, g->placement.x, g->placement.y, g->width(), g->height(), area);
}

void Panel::render_changed_gauges(Window& w) {
    for (GaugeInstance* g : w.gauges) {
        if (g->dirty && g->installed) render_gauge(*g, options_);
        g->dirty = false;
    }
}

void Panel::compose_window(Window& w) {
    if (w.composed_at == w.changes) return;
    render_changed_gauges(w);
    const Rect whole{0, 0, w.picture.width, w.picture.height};
    if (w.whole_at > w.composed_at) {
        repaint(w, whole);
    } else {
        for (GaugeInstance* g : w.gauges)
            if (g->changed_at > w.composed_at) repaint(w, g->box().intersect(whole));
    }
    w.composed_at = w.changes;
}

void Panel::compose_whole(Window& w) {
    render_changed_gauges(w);
    repaint(w, {0, 0, w.picture.width, w.picture.height});
    w.composed_at = w.changes;
}

WindowChanges Panel::take_window(Window& w, std::uint64_t& seen) {
    compose_window(w);
    WindowChanges c;
    if (seen < w.whole_at) {
        c.whole = true;
    } else {
        const Rect whole{0, 0, w.picture.width, w.picture.height};
        for (GaugeInstance* g : w.gauges)
            if (g->changed_at > seen)
                if (const Rect r = g->box().intersect(whole); !r.empty()) c.rects.push_back(r);
    }
    seen = w.changes;
    return c;
}

}  // namespace panelhost
