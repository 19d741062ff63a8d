#pragma once
// The open panel windows laid out as one picture, at their configured positions, as the window
// viewer shows them. Each refresh takes from every window only what changed since the last one, so
// an idle panel costs nothing and a busy one only its changed gauges' rectangles.

#include <cstdint>
#include <vector>

#include "panelhost/image.h"

namespace panelhost {

class Panel;

class ScreenFrame {
public:
    // Brings the frame up to date; the frame's rectangles that changed (none when idle). A change
    // of layout (a window opened or closed) changes the whole frame.
    std::vector<Rect> refresh(Panel& panel);

    int width() const { return frame_.width; }
    int height() const { return frame_.height; }
    // Opaque 0xFFRRGGBB pixels, row after row.
    const Image& picture() const { return frame_; }

private:
    void redraw(Panel& panel, const Rect& area);

    Image frame_;
    std::vector<std::uint64_t> seen_;  // by window: the change count the frame shows
    std::vector<bool> open_;           // by window: open when the frame was laid out
};

}  // namespace panelhost
