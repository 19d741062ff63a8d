#pragma once
// Clip regions in device pixels, as GDI's HRGN: any set of pixels, kept as y-sorted bands of
// x-sorted spans so that clipping a row costs a band look-up and a walk over a few spans.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "platform/canvas/geometry.h"

namespace plat {

// Pixels x0 <= x < x1 of one row.
struct Span {
    int x0 = 0;
    int x1 = 0;
    friend bool operator==(const Span&, const Span&) = default;
};

// A set of pixels. Canonical form: bands sorted and disjoint, none empty; spans in a band sorted,
// disjoint and not touching; two touching bands never hold the same spans. So equal sets compare
// equal.
class Region {
public:
    // Rows top <= y < bottom share the spans [first, first + count) of the span list.
    struct Band {
        int top = 0;
        int bottom = 0;
        std::uint32_t first = 0;
        std::uint32_t count = 0;
        friend bool operator==(const Band&, const Band&) = default;
    };

    Region() = default;  // empty
    explicit Region(const Rect& r);
    // GDI's CreateRoundRectRgn over r (right and bottom exclusive): each corner is a quarter of an
    // ellipse_w x ellipse_h ellipse; sizes beyond the rectangle's are limited to it.
    static Region round_rect(const Rect& r, int ellipse_w, int ellipse_h);
    // The pixels of the ellipse inscribed in r, the same ones Canvas::ellipse covers.
    static Region ellipse(const Rect& r);

    bool empty() const { return bands_.empty(); }
    Rect bounds() const;
    bool contains(int x, int y) const;
    void offset(int dx, int dy);
    std::int64_t area() const;  // number of pixels

    std::span<const Band> bands() const { return bands_; }
    std::span<const Span> spans(const Band& b) const {
        return std::span<const Span>(spans_).subspan(b.first, b.count);
    }
    // Index of the first band whose bottom is below y (the band holding y if any), or the band
    // count. `hint` is where to look first: consecutive rows usually fall in the same band.
    std::size_t find_band(int y, std::size_t hint = 0) const;

    friend bool operator==(const Region&, const Region&) = default;

private:
    friend class RegionBuilder;
    std::vector<Band> bands_;
    std::vector<Span> spans_;
};

Region unite(const Region& a, const Region& b);
Region intersect(const Region& a, const Region& b);
Region subtract(const Region& a, const Region& b);  // a minus b

// Assembles a region row by row, top to bottom, coalescing rows that repeat the previous one.
class RegionBuilder {
public:
    // Rows [top, bottom) get these spans, which must be sorted, disjoint and not touching; rows
    // must be added top-down without overlap.
    void add_rows(int top, int bottom, std::span<const Span> spans);
    Region finish();

private:
    Region region_;
};

}  // namespace plat
