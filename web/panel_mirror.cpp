#include "web/panel_mirror.h"

#include <algorithm>

namespace web {

void PanelMirror::follow_windows() {
    const std::uint64_t loads = source_.panel_loads();
    const std::vector<WindowInfo> windows = source_.windows();
    const bool same = followed_ && loads == loads_seen_ && state_.feeds.size() == windows.size();
    std::lock_guard l(state_.mutex);
    if (same) {
        for (std::size_t i = 0; i < windows.size(); ++i) state_.feeds[i]->open = windows[i].open;
        return;
    }
    followed_ = true;
    loads_seen_ = loads;
    // The panel was loaded again: every page starts over with its window's new picture.
    state_.feeds.clear();
    for (const WindowInfo& w : windows) {
        auto f = std::make_unique<Feed>(state_.frames_encoded);
        f->number = w.number;
        f->title = w.title;
        f->width = w.width;
        f->height = w.height;
        f->open = w.open;
        state_.feeds.push_back(std::move(f));
    }
    for (auto& [key, c] : state_.clients) c->sent.reset();
}

void PanelMirror::apply_input() {
    std::vector<QueuedInput> input;
    {
        std::lock_guard l(state_.input_mutex);
        input.swap(state_.input);
    }
    for (const QueuedInput& q : input) {
        switch (q.input.kind) {
            case InputKind::press:
                if (source_.press(q.window, q.input.x, q.input.y)) clicks_waiting_.try_emplace(q.window, q.received);
                break;
            case InputKind::release: source_.release(); break;
            case InputKind::key_down: source_.key(q.input.vk, true); break;
            case InputKind::key_up: source_.key(q.input.vk, false); break;
            case InputKind::ping: break;
        }
    }
}

void PanelMirror::take_pictures() {
    follow_windows();
    const auto now = Clock::now();
    std::vector<bool> wanted(state_.feeds.size(), steady_ms() < state_.thumbnails_wanted_until.load());
    {
        std::lock_guard l(state_.mutex);
        for (auto& [key, c] : state_.clients)
            for (std::size_t i = 0; i < state_.feeds.size(); ++i)
                if (state_.feeds[i]->number == c->window) wanted[i] = true;
    }
    for (std::size_t i = 0; i < state_.feeds.size(); ++i)
        if (wanted[i]) mirror_window(i);
    // A click that changed nothing is not waited for long.
    std::erase_if(clicks_waiting_, [&](const auto& kv) { return now - kv.second > std::chrono::seconds(2); });
    {
        std::lock_guard l(state_.mutex);
        ++state_.cycles_published;
    }
    state_.published.notify_all();
}

void PanelMirror::mirror_window(std::size_t index) {
    Feed& f = *state_.feeds[index];
    WindowChanges changes = source_.take_changes(index, f.seen);
    const PictureView picture = source_.picture(index);
    std::optional<Clock::time_point> click;
    if (auto it = clicks_waiting_.find(f.number); it != clicks_waiting_.end() && (changes.whole || !changes.rects.empty())) {
        click = it->second;
        clicks_waiting_.erase(it);
    }
    std::lock_guard l(state_.mutex);
    if (!f.mirrored || f.mirror.width != picture.width || f.mirror.height != picture.height) {
        f.mirror = Picture(picture);
        f.mirrored = true;
        changes.whole = true;
    } else if (changes.whole) {
        std::copy(picture.pixels.begin(), picture.pixels.end(), f.mirror.pixels.begin());
    } else {
        for (const Area& r : changes.rects) copy_area(f.mirror, picture, r);
    }
    f.history.record(changes.whole, changes.rects);
    hand_to_pages(f, click);
}

// The caller holds the state's mutex. The senders make or share the messages themselves, off the
// panel thread.
void PanelMirror::hand_to_pages(const Feed& f, std::optional<Clock::time_point> click) {
    for (auto& [key, c] : state_.clients) {
        if (c->window != f.number || (c->sent && *c->sent >= f.history.cycle())) continue;
        {
            std::lock_guard cl(c->m);
            c->due = true;
            if (click && !c->click_at) c->click_at = click;
        }
        c->cv.notify_one();
    }
}

}  // namespace web
