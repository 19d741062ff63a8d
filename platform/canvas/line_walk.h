#pragma once
// Internal to the canvas: the pixels of a GDI line, one step at a time.

#include <cstdint>

#include "platform/canvas/geometry.h"

namespace plat::detail {

// Walks the Bresenham line from a to b with b left out, GDI's convention that lets polylines join
// without drawing a vertex twice. Where the ideal line passes exactly between two pixels, the one
// nearer the top (x-major) or the left (y-major) is taken whichever way the line is drawn, so a
// line and its reverse share their pixels. The walk starts and stops at the edges of `bounds`
// without changing which pixels are chosen: a clipped line is a piece of the unclipped one.
// Endpoints beyond GDI's coordinate range (27 bits) make an empty walk, as GDI fails such calls.
class LineWalk {
public:
    LineWalk(Point a, Point b, const Rect& bounds);

    bool more() const { return i_ <= last_; }
    // More steps along x than along y: several pixels may share a row; otherwise one per row.
    bool x_major() const { return x_major_; }
    int x() const { return static_cast<int>(x_major_ ? major_ : minor_); }
    int y() const { return static_cast<int>(x_major_ ? minor_ : major_); }
    // Steps from a to this pixel, which a dotted pen uses to keep its pattern along the line.
    std::int64_t index() const { return i_; }

    void advance() {
        ++i_;
        major_ += major_step_;
        rem_ += two_minor_;
        if (rem_ >= two_major_) {
            rem_ -= two_major_;
            minor_ += minor_step_;
        }
    }

private:
    bool x_major_ = true;
    std::int64_t i_ = 0, last_ = -1;
    std::int64_t major_ = 0, minor_ = 0;
    std::int64_t major_step_ = 1, minor_step_ = 1;
    std::int64_t rem_ = 0, two_minor_ = 0, two_major_ = 1;
};

}  // namespace plat::detail
