#pragma once
// The part of a window a client has not been sent yet. Changes merge into it while the client is
// busy, so a slow client is sent the latest picture of everything it missed, never a queue of
// pictures that grows.

#include <vector>

#include "web/picture.h"

namespace web {

class DirtyRegion {
public:
    // Beyond this many separate rectangles they merge into their bounding box.
    static constexpr std::size_t kMaxRects = 16;

    void add(const Area& r);
    void add_whole() { whole_ = true; rects_.clear(); }
    bool empty() const { return !whole_ && rects_.empty(); }
    bool whole() const { return whole_; }
    // The rectangles to send, clipped to a window of the given size, and the region emptied.
    std::vector<Area> take(int width, int height);

private:
    bool whole_ = false;
    std::vector<Area> rects_;
};

}  // namespace web
