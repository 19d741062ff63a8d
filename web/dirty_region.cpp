#include "web/dirty_region.h"

#include <algorithm>

namespace web {
namespace {

bool contains(const Area& outer, const Area& inner) {
    return inner.x >= outer.x && inner.y >= outer.y && inner.x + inner.w <= outer.x + outer.w &&
           inner.y + inner.h <= outer.y + outer.h;
}

Area bounding(const Area& a, const Area& b) {
    const int x0 = std::min(a.x, b.x), y0 = std::min(a.y, b.y);
    const int x1 = std::max(a.x + a.w, b.x + b.w), y1 = std::max(a.y + a.h, b.y + b.h);
    return {x0, y0, x1 - x0, y1 - y0};
}

}  // namespace

void DirtyRegion::add(const Area& r) {
    if (whole_ || r.empty()) return;
    for (const Area& have : rects_)
        if (contains(have, r)) return;
    std::erase_if(rects_, [&](const Area& have) { return contains(r, have); });
    rects_.push_back(r);
    if (rects_.size() > kMaxRects) {
        Area all = rects_.front();
        for (const Area& have : rects_) all = bounding(all, have);
        rects_ = {all};
    }
}

std::vector<Area> DirtyRegion::take(int width, int height) {
    const Area window{0, 0, width, height};
    std::vector<Area> out;
    if (whole_) {
        if (!window.empty()) out.push_back(window);
    } else {
        for (const Area& r : rects_)
            if (const Area c = r.intersect(window); !c.empty()) out.push_back(c);
    }
    whole_ = false;
    rects_.clear();
    return out;
}

}  // namespace web
