// Mouse routing: a click at a window or gauge pixel found among the gauges' attached mouse areas
// (groups offset what they hold), fired, and repeated every cycle while held.

#include "panelhost/panel.h"

namespace panelhost {

void Panel::mouse_install(GaugeInstance& g, gauge::MouseArea* list) {
    for (auto& m : g.mouse_lists)
        if (m.list == list) return;
    g.mouse_lists.push_back({list, false});
}

void Panel::mouse_attach(GaugeInstance& g, gauge::MouseArea* list, bool attached) {
    for (auto& m : g.mouse_lists)
        if (m.list == list) m.attached = attached;
    if (!attached && holding_ && held_.gauge == &g) release();
}

namespace {

// Calls take(area, x, y) for every left-clickable area of the gauge's attached lists, with the
// area's corner in the gauge's pixels (groups offset what they hold), until take returns true.
template <typename F>
void walk_clickable_areas(GaugeInstance& g, F&& take) {
    constexpr int kMaxDepth = 16;
    for (auto& m : g.mouse_lists) {
        if (!m.attached) continue;
        gauge::Point origin[kMaxDepth + 1] = {};
        int depth = 0;
        for (gauge::MouseArea* a = m.list; a->kind != gauge::mouse_end; ++a) {
            const gauge::Point base = origin[depth];
            if (a->kind == gauge::mouse_group) {
                if (depth < kMaxDepth) origin[++depth] = {base.x + a->x, base.y + a->y};
            } else if (a->kind == gauge::mouse_group_end) {
                if (depth > 0) --depth;
            } else if (a->kind == gauge::mouse_area && (a->event_flags & gauge::mouse_left_single)) {
                if (take(a, base.x + a->x, base.y + a->y)) return;
            }
        }
    }
}

}  // namespace

MouseHit Panel::route(GaugeInstance& g, int x, int y) {
    MouseHit hit;
    walk_clickable_areas(g, [&](gauge::MouseArea* a, int ax, int ay) {
        if (x < ax || x >= ax + a->w || y < ay || y >= ay + a->h) return false;
        hit = MouseHit{&g, a, {x, y}};
        return true;
    });
    return hit;
}

std::vector<AreaRect> Panel::clickable_areas(GaugeInstance& g) {
    std::vector<AreaRect> areas;
    walk_clickable_areas(g, [&](gauge::MouseArea* a, int ax, int ay) {
        areas.push_back({ax, ay, a->w, a->h});
        return false;
    });
    return areas;
}

bool Panel::fire(const MouseHit& hit, std::uint32_t flags) {
    if (!hit.area || !hit.gauge->installed) return false;
    if (hit.area->callback) {
        CallScope scope(*this, hit.gauge);
        gauge::Point p = hit.local;
        hit.area->callback(&p, flags);
    } else if (hit.area->key_event != 0) {
        send_key_event(hit.gauge->name(), static_cast<std::uint32_t>(hit.area->key_event), 0);
    }
    return true;
}

GaugeInstance* Panel::find_gauge(const std::string& name) {
    for (auto& g : gauges_)
        if (g->placement.gauge == name || g->placement.module == name) return g.get();
    // Scenario files cannot hold spaces: a gauge name may be given with '-' or '_' for them.
    for (auto& g : gauges_) {
        std::string n = g->placement.gauge;
        for (char& c : n)
            if (c == ' ') c = '_';
        if (n == name) return g.get();
    }
    return nullptr;
}

bool Panel::click_gauge(const std::string& name, int x, int y) {
    GaugeInstance* g = find_gauge(name);
    if (!g) return false;
    return fire(route(*g, x, y), gauge::mouse_left_single);
}

bool Panel::press_gauge(const std::string& name, int x, int y) {
    release();
    GaugeInstance* g = find_gauge(name);
    if (!g) return false;
    MouseHit hit = route(*g, x, y);
    if (!fire(hit, gauge::mouse_left_single)) return false;
    if (hit.area->event_flags & gauge::mouse_repeat) {
        held_ = hit;
        holding_ = true;
    }
    return true;
}

namespace {

GaugeInstance* gauge_at(Window& w, int x, int y, int& lx, int& ly) {
    for (auto it = w.gauges.rbegin(); it != w.gauges.rend(); ++it) {
        GaugeInstance* g = *it;
        int gw = g->width(), gh = g->height();
        if (gw <= 0 || gh <= 0 || x < g->placement.x || y < g->placement.y || x >= g->placement.x + gw ||
            y >= g->placement.y + gh)
            continue;
        lx = (x - g->placement.x) * g->native_width / gw;
        ly = (y - g->placement.y) * g->native_height / gh;
        return g;
    }
    return nullptr;
}

}  // namespace

bool Panel::click_window(int number, int x, int y) {
    for (auto& w : windows_) {
        if (w->config.number != number || !w->open) continue;
        int lx = 0, ly = 0;
        if (GaugeInstance* g = gauge_at(*w, x, y, lx, ly)) return fire(route(*g, lx, ly), gauge::mouse_left_single);
    }
    return false;
}

bool Panel::press_window(int number, int x, int y) {
    release();
    for (auto& w : windows_) {
        if (w->config.number != number || !w->open) continue;
        int lx = 0, ly = 0;
        GaugeInstance* g = gauge_at(*w, x, y, lx, ly);
        if (!g) return false;
        MouseHit hit = route(*g, lx, ly);
        if (!fire(hit, gauge::mouse_left_single)) return false;
        if (hit.area->event_flags & gauge::mouse_repeat) {
            held_ = hit;
            holding_ = true;
        }
        return true;
    }
    return false;
}

void Panel::release() {
    holding_ = false;
    held_ = {};
}

}  // namespace panelhost
