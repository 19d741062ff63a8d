#include "web/picture.h"

#include <algorithm>

namespace web {

Area Area::intersect(const Area& o) const {
    const int x0 = std::max(x, o.x), y0 = std::max(y, o.y);
    const int x1 = std::min(x + w, o.x + o.w), y1 = std::min(y + h, o.y + o.h);
    return {x0, y0, std::max(0, x1 - x0), std::max(0, y1 - y0)};
}

void copy_area(Picture& dst, PictureView src, const Area& area) {
    const Area a = area.intersect({0, 0, std::min(dst.width, src.width), std::min(dst.height, src.height)});
    for (int y = a.y; y < a.y + a.h; ++y) std::copy_n(src.row(y) + a.x, a.w, dst.row(y) + a.x);
}

}  // namespace web
