// FloodFill with FLOODFILLBORDER. Finding the area and painting it are kept apart: the search
// gathers the area's row spans with an explicit stack (no recursion, so no depth limit), marking
// what it has taken in a mask; then the brush paints the spans once. The mask is what stops the
// search, not the painted colour, so a brush that leaves pixels as they were (a hatch, or the
// colour already there) still terminates. The search reads the rows directly, one word size per
// pixel format.

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#include "platform/canvas/canvas.h"
#include "platform/canvas/pixel_ops.h"
#include "platform/canvas/span_painter.h"

namespace plat {
namespace {

struct RowSpan {
    int y, x0, x1;
};

// The pixels the search may take: inside the clip, not yet taken, not the border colour. Rows are
// read directly as words of the format's size (through memcpy: a wrapped bitmap's rows may be
// unaligned), not through the format table, since the search reads every pixel of the area and
// its edges at least twice.
template <typename Word>
class FillArea {
public:
    // The mask's rows are made when the search first reaches them: a small area inside a large
    // clip then costs only its own rows.
    FillArea(const Bitmap& bitmap, const Region& clip, const Rect& box, std::uint32_t border, std::uint32_t mask)
        : bitmap_(bitmap), clip_(clip), box_(box), border_(border), mask_(mask),
          stride_(static_cast<std::size_t>(box.width())),
          taken_(new std::uint8_t[stride_ * static_cast<std::size_t>(box.height())]),
          made_(static_cast<std::size_t>(box.height()), false) {}

    bool open(int x, int y) { return open_in(Row{row_of(y), taken_of(y)}, x); }
    void take(int y, int x0, int x1) { std::fill_n(taken_of(y) + (x0 - box_.left), x1 - x0, std::uint8_t{1}); }
    const Rect& box() const { return box_; }

    // The open run through (x, y), which must be open: [x0, x1).
    std::pair<int, int> run_through(int x, int y) {
        const Row r{row_of(y), taken_of(y)};
        return {last_closed_before(r, x, box_.left) + 1, next_with(r, x + 1, box_.right, false)};
    }
    // Calls seed(x) at the first pixel of every open run of row y within [x0, x1).
    template <typename Seed>
    void runs_in(int y, int x0, int x1, Seed seed) {
        const Row r{row_of(y), taken_of(y)};
        for (int x = next_with(r, x0, x1, true); x < x1; x = next_with(r, x, x1, true)) {
            seed(x);
            x = next_with(r, x + 1, x1, false);
        }
    }

private:
    struct Row {
        const std::uint8_t* pixels;
        const std::uint8_t* taken;  // at the box's left edge
    };

    // One byte-sized pixel per byte of a word: eight at a time, as a bit 7 set in each byte that is
    // open. The byte tests are exact (no carries between bytes), so any set bit may be taken.
    static constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Full;
    static constexpr std::uint64_t kHigh = 0x8080808080808080ull;
    static constexpr bool kBytewise = sizeof(Word) == 1;
    static std::uint64_t load8(const std::uint8_t* p) {
        std::uint64_t v;
        std::memcpy(&v, p, sizeof v);
        return v;
    }
    static std::uint64_t zero_bytes(std::uint64_t v) { return ~(((v & kLow7) + kLow7) | v | kLow7); }
    std::uint64_t open_bytes(const Row& r, int x) const {
        const std::uint64_t values = load8(r.pixels + x) & (mask_ * 0x0101010101010101ull);
        const std::uint64_t border = zero_bytes(values ^ (border_ * 0x0101010101010101ull));
        const std::uint64_t taken = load8(r.taken + (x - box_.left)) << 7;  // taken bytes hold 0 or 1
        return ~(border | taken) & kHigh;
    }

    // The first x in [x, end) that is open (or closed), else end.
    int next_with(const Row& r, int x, int end, bool open) const {
        if constexpr (kBytewise) {
            for (; x + 8 <= end; x += 8) {
                const std::uint64_t found = open ? open_bytes(r, x) : ~open_bytes(r, x) & kHigh;
                if (found) return x + std::countr_zero(found) / 8;
            }
        }
        while (x < end && open_in(r, x) != open) ++x;
        return x;
    }
    // The last x in [begin, before) that is closed, else begin - 1.
    int last_closed_before(const Row& r, int before, int begin) const {
        int x = before;
        if constexpr (kBytewise) {
            for (; x - 8 >= begin; x -= 8) {
                if (const std::uint64_t closed = ~open_bytes(r, x - 8) & kHigh)
                    return x - 8 + (63 - std::countl_zero(closed)) / 8;
            }
        }
        while (x > begin && open_in(r, x - 1)) --x;
        return x - 1;
    }

    bool open_in(const Row& r, int x) const {
        if (r.taken[x - box_.left]) return false;
        Word w;
        std::memcpy(&w, r.pixels + static_cast<std::ptrdiff_t>(x) * sizeof(Word), sizeof(Word));
        return (w & mask_) != border_;
    }
    const std::uint8_t* row_of(int y) const { return bitmap_.scanline(y); }
    // Row y of the mask, at the box's left edge: taken outside the clip's spans.
    std::uint8_t* taken_of(int y) {
        const auto i = static_cast<std::size_t>(y - box_.top);
        std::uint8_t* row = taken_.get() + i * stride_;
        if (made_[i]) return row;
        made_[i] = true;
        std::fill_n(row, stride_, std::uint8_t{1});
        band_ = clip_.find_band(y, band_);
        if (band_ < clip_.bands().size() && clip_.bands()[band_].top <= y)
            for (const Span& s : clip_.spans(clip_.bands()[band_]))
                std::fill_n(row + (s.x0 - box_.left), s.x1 - s.x0, std::uint8_t{0});
        return row;
    }

    const Bitmap& bitmap_;
    const Region& clip_;
    Rect box_;
    std::uint32_t border_, mask_;
    std::size_t stride_;
    std::unique_ptr<std::uint8_t[]> taken_;
    std::vector<bool> made_;
    std::size_t band_ = 0;  // where the clip's last row was found
};

template <typename Word>
std::vector<RowSpan> find_area(FillArea<Word>& area, int x, int y) {
    std::vector<RowSpan> found;
    std::vector<Point> seeds{{x, y}};
    const Rect& box = area.box();
    while (!seeds.empty()) {
        const Point p = seeds.back();
        seeds.pop_back();
        if (!area.open(p.x, p.y)) continue;
        const auto [x0, x1] = area.run_through(p.x, p.y);
        area.take(p.y, x0, x1);
        found.push_back({p.y, x0, x1});
        // One seed per open run in the rows above and below; each run is entered once.
        for (const int ny : {p.y - 1, p.y + 1}) {
            if (ny < box.top || ny >= box.bottom) continue;
            area.runs_in(ny, x0, x1, [&](int nx) { seeds.push_back({nx, ny}); });
        }
    }
    return found;
}

// The spans of the area around (x, y) up to the border value; none when (x, y) is not open.
template <typename Word>
std::vector<RowSpan> spans_of(const Bitmap& bitmap, const Region& clip, const Rect& box, std::uint32_t border,
                              std::uint32_t mask, int x, int y) {
    FillArea<Word> area(bitmap, clip, box, border, mask);
    if (!area.open(x, y)) return {};
    return find_area(area, x, y);
}

}  // namespace

bool Canvas::flood_fill(int x, int y, ColorRef border) {
    refresh_paints();
    if (!clip_.contains(x, y)) return false;
    const detail::PixelOps& ops = target_.ops();
    const std::uint32_t value = target_.map_color(border) & ops.value_mask;
    std::vector<RowSpan> spans;
    switch (ops.bytes) {
        case 1: spans = spans_of<std::uint8_t>(target_, clip_, clip_box_, value, ops.value_mask, x, y); break;
        case 2: spans = spans_of<std::uint16_t>(target_, clip_, clip_box_, value, ops.value_mask, x, y); break;
        default: spans = spans_of<std::uint32_t>(target_, clip_, clip_box_, value, ops.value_mask, x, y); break;
    }
    if (spans.empty()) return false;
    detail::SpanPainter painter(target_, clip_);
    for (const RowSpan& s : spans) painter.fill(s.y, s.x0, s.x1, brush_ink_);
    return true;
}

}  // namespace plat
