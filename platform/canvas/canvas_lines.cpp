// Pixels and lines.

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/canvas/canvas.h"
#include "platform/canvas/line_walk.h"
#include "platform/canvas/pixel_ops.h"
#include "platform/canvas/span_painter.h"

namespace plat {
namespace {

// Calls run(y, x0, x1) for each row's stretch [x0, x1) of the walk's pixels, in order. Successive
// pixels on one row are always neighbours, so a stretch only ever grows. The walk is taken by value
// so that it stays in registers.
template <typename Run>
void for_each_run(detail::LineWalk walk, Run&& run) {
    if (!walk.more()) return;
    int run_y = walk.y(), run_x0 = walk.x(), run_x1 = run_x0 + 1;
    for (walk.advance(); walk.more(); walk.advance()) {
        const int x = walk.x(), y = walk.y();
        if (y == run_y) {
            if (x < run_x0) run_x0 = x; else run_x1 = x + 1;
            continue;
        }
        run(run_y, run_x0, run_x1);
        run_y = y;
        run_x0 = x;
        run_x1 = x + 1;
    }
    run(run_y, run_x0, run_x1);
}

// A solid line inside a rectangular clip, written straight into the rows in the format's word size
// (the walk is taken by value so that it stays in registers): a steep line is one store a row; a
// shallow one's consecutive pixels on a row are gathered into one run (successive pixels on one
// row are always neighbours, so a run only ever grows).
template <typename Word>
void walk_solid(detail::LineWalk walk, std::uint8_t* base, std::ptrdiff_t pitch, std::uint32_t value) {
    const Word word = static_cast<Word>(value);
    auto run = [&](int y, int x0, int x1) {
        std::uint8_t* p = base + y * pitch + static_cast<std::ptrdiff_t>(x0) * sizeof(Word);
        if (x1 - x0 == 1) {
            std::memcpy(p, &word, sizeof(Word));
        } else if constexpr (sizeof(Word) == 1) {
            std::memset(p, word, static_cast<std::size_t>(x1 - x0));
        } else {
            for (int x = x0; x < x1; ++x, p += sizeof(Word)) std::memcpy(p, &word, sizeof(Word));
        }
    };
    if (!walk.x_major()) {
        for (; walk.more(); walk.advance())
            std::memcpy(base + walk.y() * pitch + static_cast<std::ptrdiff_t>(walk.x()) * sizeof(Word), &word,
                        sizeof(Word));
        return;
    }
    for_each_run(walk, run);
}

}  // namespace

void Canvas::set_pixel(int x, int y, ColorRef c) {
    refresh_paints();
    if (!clip_.contains(x, y)) return;
    target_.set_pixel(x, y, target_.map_color(c));
}

ColorRef Canvas::get_pixel(int x, int y) const {
    if (!clip_.contains(x, y)) return clr_invalid;
    return target_.color_of(target_.pixel(x, y));
}

void Canvas::move_to(int x, int y) {
    position_ = {x, y};
    dot_phase_ = 0;
}

void Canvas::line_to(int x, int y) {
    draw_line(position_, {x, y});
    position_ = {x, y};
}

void Canvas::polyline(std::span<const Point> points) {
    const Point saved = position_;
    const std::int64_t saved_phase = dot_phase_;
    dot_phase_ = 0;
    for (std::size_t i = 1; i < points.size(); ++i) draw_line(points[i - 1], points[i]);
    position_ = saved;
    dot_phase_ = saved_phase;
}

// A solid line's consecutive pixels on a row are gathered into one span, so a shallow line costs
// a handful of span fills rather than one call per pixel. The walk already stays inside the
// clip's bounds, so with a rectangular clip a solid line goes straight into the rows.
void Canvas::draw_line(Point a, Point b) {
    refresh_paints();
    const std::int64_t steps = std::max(std::abs(std::int64_t{b.x} - a.x),
                                        std::abs(std::int64_t{b.y} - a.y));
    const bool dotted = pen_.style == Pen::Style::dotted;
    if (pen_.style != Pen::Style::null) {
        detail::SpanPainter painter(target_, clip_);
        const bool direct = painter.clip_is_rect();
        const detail::PixelOps& ops = target_.ops();
        std::uint8_t* const base = target_.scanline(0);
        const std::ptrdiff_t pitch = target_.pitch();
        auto emit = [&](int y, int x0, int x1, const detail::Paint& p) {
            if (!direct) {
                painter.fill(y, x0, x1, p);
            } else if (p.kind == detail::Paint::Kind::solid) {
                std::uint8_t* row = base + y * pitch;
                if (x1 - x0 == 1) ops.put(row, x0, p.ink);
                else ops.fill(row, x0, x1, p.ink);
            }
        };
        detail::LineWalk walk(a, b, clip_box_);
        const bool straight_in = direct && !dotted && pen_ink_.kind == detail::Paint::Kind::solid;
        if (straight_in && walk.more()) {
            const std::uint32_t value = pen_ink_.ink | ops.fixed_bits;
            switch (ops.bytes) {
                case 1: walk_solid<std::uint8_t>(walk, base, pitch, value); break;
                case 2: walk_solid<std::uint16_t>(walk, base, pitch, value); break;
                default: walk_solid<std::uint32_t>(walk, base, pitch, value); break;
            }
        } else if (dotted) {
            for (; walk.more(); walk.advance()) {
                const bool on = (dot_phase_ + walk.index()) % 2 == 0;
                emit(walk.y(), walk.x(), walk.x() + 1, on ? pen_ink_ : pen_gap_);
            }
        } else {
            for_each_run(walk, [&](int y, int x0, int x1) { emit(y, x0, x1, pen_ink_); });
        }
    }
    if (dotted) dot_phase_ += steps;
}

}  // namespace plat
