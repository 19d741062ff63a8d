#include "platform/canvas/demo_picture.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

namespace plat {
namespace {

constexpr double pi = 3.141592653589793;
constexpr double bank_degrees = 12.0;
constexpr double pitch_degrees = 4.0;

constexpr ColorRef white = rgb(255, 255, 255);
constexpr ColorRef black = rgb(0, 0, 0);
constexpr ColorRef sky = rgb(0, 128, 128);
constexpr ColorRef ground = rgb(128, 0, 0);
constexpr ColorRef grey = rgb(128, 128, 128);
constexpr ColorRef magenta = rgb(255, 0, 255);
constexpr ColorRef green = rgb(0, 255, 0);
constexpr ColorRef orange = rgb(255, 128, 0);
constexpr ColorRef yellow = rgb(255, 255, 0);
constexpr ColorRef cyan = rgb(0, 255, 255);

// Screen y grows downwards, so a positive (clockwise-looking) bank turns points with -angle.
Point rotate(Point p, Point centre, double radians) {
    const double dx = p.x - centre.x, dy = p.y - centre.y;
    const double c = std::cos(radians), s = std::sin(radians);
    return {centre.x + static_cast<int>(std::lround(dx * c - dy * s)),
            centre.y + static_cast<int>(std::lround(dx * s + dy * c))};
}

std::shared_ptr<Font> open_font(const char* face, int height) {
    return Font::open(FontSpec{face, height, 0});
}

void line(Canvas& c, Point a, Point b) {
    c.move_to(a.x, a.y);
    c.line_to(b.x, b.y);
}

struct Layout {
    int w, h;
    Point centre;
    int r;      // attitude ball radius
    int scale;  // pixels per 256th of the picture, at least 1
};

void draw_attitude(Canvas& c, const Layout& l, const std::shared_ptr<Font>& small) {
    const Point o = l.centre;
    const double bank = -bank_degrees * pi / 180.0;
    const int horizon_y = o.y + static_cast<int>(pitch_degrees * l.r / 25.0);

    c.select_pen(Pen::solid(white));
    c.select_brush(Brush::none());
    c.ellipse({o.x - l.r, o.y - l.r, o.x + l.r + 1, o.y + l.r + 1});
    c.select_clip(Region::ellipse({o.x - l.r, o.y - l.r, o.x + l.r + 1, o.y + l.r + 1}));
    line(c, rotate({o.x - 2 * l.r, horizon_y}, o, bank),
         rotate({o.x + 2 * l.r, horizon_y}, o, bank));
    c.select_brush(Brush::solid(sky));
    const Point sky_seed = rotate({o.x, horizon_y - l.r / 2}, o, bank);
    c.flood_fill(sky_seed.x, sky_seed.y, white);
    c.select_brush(Brush::solid(ground));
    const Point ground_seed = rotate({o.x, horizon_y + l.r / 2}, o, bank);
    c.flood_fill(ground_seed.x, ground_seed.y, white);

    // Pitch ladder, every 5 degrees, labelled every 10.
    c.select_font(small);
    c.set_text_color(white);
    c.set_bk_mode(BkMode::transparent);
    c.set_text_align(text_align::center | text_align::baseline);
    for (int k = -4; k <= 4; ++k) {
        if (k == 0) continue;
        const int y = horizon_y - k * l.r / 5;
        const int half = k % 2 == 0 ? l.r / 3 : l.r / 6;
        line(c, rotate({o.x - half, y}, o, bank), rotate({o.x + half, y}, o, bank));
        if (k % 2 != 0) continue;
        char label[8];
        std::snprintf(label, sizeof label, "%d", std::abs(k) * 5);
        const Point at = rotate({o.x + half + 8 * l.scale, y + 3 * l.scale}, o, bank);
        c.text_out(at.x, at.y, label);
    }
    c.clear_clip();

    // Bank scale: ticks at 10, 20, 30 and 60 degrees either side, fixed to the instrument.
    for (const int deg : {-60, -30, -20, -10, 0, 10, 20, 30, 60}) {
        const int len = deg % 30 == 0 ? 8 * l.scale : 4 * l.scale;
        const double a = deg * pi / 180.0;
        line(c, rotate({o.x, o.y - l.r - 1}, o, a), rotate({o.x, o.y - l.r - 1 - len}, o, a));
    }
    c.select_pen(Pen::solid(yellow));
    c.select_brush(Brush::solid(black));
    const int wing = l.r * 2 / 3, inner = l.r / 4;
    const std::array<Point, 4> left{{{o.x - wing, o.y}, {o.x - inner, o.y}, {o.x - inner, o.y + 6},
                                     {o.x - inner + 2, o.y + 6}}};
    const std::array<Point, 4> right{{{o.x + wing, o.y}, {o.x + inner, o.y}, {o.x + inner, o.y + 6},
                                      {o.x + inner - 2, o.y + 6}}};
    c.polyline(left);
    c.polyline(right);
    c.rectangle({o.x - 2, o.y - 2, o.x + 3, o.y + 3});
}

void draw_tapes(Canvas& c, const Layout& l, const std::shared_ptr<Font>& small,
                const std::shared_ptr<Font>& mono) {
    const int tape_w = l.w / 8;
    c.select_pen(Pen::solid(white));
    c.select_brush(Brush::solid(grey));
    c.rectangle({2, l.h / 8, 2 + tape_w, l.h * 7 / 8});
    c.rectangle({l.w - tape_w - 2, l.h / 8, l.w - 2, l.h * 7 / 8});
    c.set_text_color(white);
    c.set_bk_mode(BkMode::transparent);
    for (int k = 0; k < 6; ++k) {
        const int y = l.h / 8 + (k + 1) * (l.h * 3 / 4) / 7;
        line(c, {2 + tape_w - 5, y}, {2 + tape_w, y});
        line(c, {l.w - tape_w - 2, y}, {l.w - tape_w + 3, y});
        char speed[8], altitude[8];
        std::snprintf(speed, sizeof speed, "%d", 280 - k * 20);
        std::snprintf(altitude, sizeof altitude, "%d", 3400 - k * 200);
        c.select_font(small);
        c.set_text_align(text_align::right | text_align::baseline);
        c.text_out(2 + tape_w - 7, y + 4, speed);
        c.select_font(mono);
        c.set_text_align(text_align::left | text_align::baseline);
        c.text_out(l.w - tape_w + 5, y + 4, altitude);
    }
    // A radio-altitude style band: hatch over what is already there.
    c.select_pen(Pen::solid(orange));
    c.select_brush(Brush::hatch(orange));
    c.rectangle({l.w - tape_w - 2, l.h * 6 / 8, l.w - tape_w / 2, l.h * 7 / 8});
}

void draw_annunciations(Canvas& c, const Layout& l, const std::shared_ptr<Font>& small,
                        const std::shared_ptr<Font>& digits) {
    c.select_font(small);
    c.set_bk_mode(BkMode::transparent);
    c.set_text_align(text_align::center | text_align::top);
    c.set_text_color(green);
    c.text_out(l.centre.x - l.r * 2 / 3, 1, "SPD");
    c.text_out(l.centre.x, 1, "HDG");
    c.set_text_color(magenta);
    c.text_out(l.centre.x + l.r * 2 / 3, 1, "V / S");
    c.select_pen(Pen::dotted(cyan));
    line(c, {l.centre.x, l.centre.y + l.r + 4}, {l.centre.x, l.h - 2});

    c.select_font(digits);
    c.set_text_color(yellow);
    c.set_bk_color(black);
    c.set_bk_mode(BkMode::opaque);
    c.set_text_align(text_align::right | text_align::bottom);
    c.text_out(l.w - 4, l.h - 1, "29.92");
}

}  // namespace

void draw_demo_picture(Canvas& canvas) {
    Layout l{canvas.width(), canvas.height(), {canvas.width() / 2, canvas.height() / 2},
             std::min(canvas.width(), canvas.height()) * 5 / 16,
             std::max(1, std::min(canvas.width(), canvas.height()) / 256)};
    if (l.r < 8) return;
    canvas.clear_clip();
    canvas.fill_rect(canvas.bitmap().bounds(), black);
    const int dpi = canvas.logical_dpi_y();
    const auto small = open_font("Arial", -(9 * dpi * l.scale + 36) / 72);
    const auto mono = open_font("Courier New", -(9 * dpi * l.scale + 36) / 72);
    const auto digits = open_font("Quartz", -(12 * dpi * l.scale + 36) / 72);
    draw_attitude(canvas, l, small);
    draw_tapes(canvas, l, small, mono);
    draw_annunciations(canvas, l, small, digits);
}

}  // namespace plat
