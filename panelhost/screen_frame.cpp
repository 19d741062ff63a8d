#include "panelhost/screen_frame.h"

#include <algorithm>

#include "panelhost/panel.h"

namespace panelhost {
namespace {

// The frame holds every open window at its position; never smaller than a usable window.
Rect layout_of(Panel& panel) {
    Rect l{0, 0, 320, 200};
    for (auto& w : panel.windows()) {
        if (!w->open) continue;
        l.w = std::max(l.w, w->config.x + w->picture.width);
        l.h = std::max(l.h, w->config.y + w->picture.height);
    }
    return l;
}

Rect place_of(const Window& w) { return {w.config.x, w.config.y, w.picture.width, w.picture.height}; }

}  // namespace

// Windows overlap where their positions say so: the later one lies on top. Black shows where no
// window is; an area within one window is all drawn over.
void ScreenFrame::redraw(Panel& panel, const Rect& area) {
    const bool within_one = std::any_of(panel.windows().begin(), panel.windows().end(),
                                        [&](const auto& w) { return w->open && place_of(*w).intersect(area) == area; });
    if (!within_one) fill_rect(frame_, area.x, area.y, area.w, area.h, kOpaque);
    for (auto& w : panel.windows()) {
        if (!w->open) continue;
        const Rect place = place_of(*w);
        const Rect a = place.intersect(area);
        for (int y = a.y; y < a.y + a.h; ++y) {
            const std::uint32_t* in = w->picture.row(y - place.y) + (a.x - place.x);
            std::uint32_t* out = frame_.row(y) + a.x;
            for (int x = 0; x < a.w; ++x) out[x] = in[x] | kOpaque;
        }
    }
}

std::vector<Rect> ScreenFrame::refresh(Panel& panel) {
    auto& windows = panel.windows();
    bool relayout = seen_.size() != windows.size();
    if (relayout) {
        seen_.assign(windows.size(), 0);
        open_.assign(windows.size(), false);
    }
    std::vector<Rect> changed;
    for (std::size_t i = 0; i < windows.size(); ++i) {
        Window& w = *windows[i];
        relayout |= open_[i] != w.open;
        open_[i] = w.open;
        const WindowChanges c = panel.take_window(w, seen_[i]);
        if (!w.open) continue;
        relayout |= c.whole;
        for (const Rect& r : c.rects) changed.push_back({r.x + w.config.x, r.y + w.config.y, r.w, r.h});
    }
    const Rect layout = layout_of(panel);
    if (relayout || layout.w != frame_.width || layout.h != frame_.height) {
        frame_ = Image(layout.w, layout.h, kOpaque);
        redraw(panel, layout);
        return {layout};
    }
    for (const Rect& r : changed) redraw(panel, r.intersect(layout));
    return changed;
}

}  // namespace panelhost
