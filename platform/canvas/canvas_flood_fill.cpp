// FloodFill with FLOODFILLBORDER. Finding the area and painting it are kept apart: the search
// gathers the area's row spans with an explicit stack (no recursion, so no depth limit), marking
// what it has taken in a mask; then the brush paints the spans once. The mask is what stops the
// search, not the painted colour, so a brush that leaves pixels as they were (a hatch, or the
// colour already there) still terminates.

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/canvas/canvas.h"
#include "platform/canvas/pixel_ops.h"
#include "platform/canvas/span_painter.h"

namespace plat {
namespace {

struct RowSpan {
    int y, x0, x1;
};

// The pixels the search may take: inside the clip, not yet taken, not the border colour.
class FillArea {
public:
    FillArea(const Bitmap& bitmap, const Region& clip, const Rect& box, std::uint32_t border)
        : bitmap_(bitmap), ops_(bitmap.ops()), box_(box), border_(border),
          stride_(static_cast<std::size_t>(box.width())),
          taken_(stride_ * static_cast<std::size_t>(box.height()), 1) {
        for (const Region::Band& band : clip.bands())
            for (int y = band.top; y < band.bottom; ++y)
                for (const Span& s : clip.spans(band))
                    std::fill_n(taken_.begin() + static_cast<std::ptrdiff_t>(index(s.x0, y)),
                                s.x1 - s.x0, std::uint8_t{0});
    }

    bool open(int x, int y) const {
        return taken_[index(x, y)] == 0 &&
               (ops_.get(bitmap_.scanline(y), x) & ops_.value_mask) != border_;
    }
    void take(int y, int x0, int x1) {
        std::fill_n(taken_.begin() + static_cast<std::ptrdiff_t>(index(x0, y)), x1 - x0,
                    std::uint8_t{1});
    }
    const Rect& box() const { return box_; }

private:
    std::size_t index(int x, int y) const {
        return static_cast<std::size_t>(y - box_.top) * stride_ +
               static_cast<std::size_t>(x - box_.left);
    }

    const Bitmap& bitmap_;
    const detail::PixelOps& ops_;
    Rect box_;
    std::uint32_t border_;
    std::size_t stride_;
    std::vector<std::uint8_t> taken_;
};

std::vector<RowSpan> find_area(FillArea& area, int x, int y) {
    std::vector<RowSpan> found;
    std::vector<Point> seeds{{x, y}};
    const Rect& box = area.box();
    while (!seeds.empty()) {
        const Point p = seeds.back();
        seeds.pop_back();
        if (!area.open(p.x, p.y)) continue;
        int x0 = p.x, x1 = p.x + 1;
        while (x0 > box.left && area.open(x0 - 1, p.y)) --x0;
        while (x1 < box.right && area.open(x1, p.y)) ++x1;
        area.take(p.y, x0, x1);
        found.push_back({p.y, x0, x1});
        // One seed per open run in the rows above and below; each run is entered once.
        for (const int ny : {p.y - 1, p.y + 1}) {
            if (ny < box.top || ny >= box.bottom) continue;
            bool in_run = false;
            for (int nx = x0; nx < x1; ++nx) {
                const bool o = area.open(nx, ny);
                if (o && !in_run) seeds.push_back({nx, ny});
                in_run = o;
            }
        }
    }
    return found;
}

}  // namespace

bool Canvas::flood_fill(int x, int y, ColorRef border) {
    refresh_paints();
    if (!clip_.contains(x, y)) return false;
    const detail::PixelOps& ops = target_.ops();
    FillArea area(target_, clip_, clip_box_, target_.map_color(border) & ops.value_mask);
    if (!area.open(x, y)) return false;
    const std::vector<RowSpan> spans = find_area(area, x, y);
    detail::SpanPainter painter(target_, clip_);
    for (const RowSpan& s : spans) painter.fill(s.y, s.x0, s.x1, brush_ink_);
    return true;
}

}  // namespace plat
