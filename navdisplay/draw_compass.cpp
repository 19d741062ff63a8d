// The compass card or arc, the aircraft symbol, the heading box, the wind and the selected-heading
// marker.

#include <cstdio>

#include "navdisplay/draw_tools.h"

namespace nd::draw {
namespace {

Point on_radius(double radius, double angle) {
    const Geometry& g = state.geo;
    return {g.cx + trunc_int(radius * std::cos(angle)), g.cy - trunc_int(radius * std::sin(angle))};
}

void tick(plat::Canvas& dc, double angle, int inner) {
    const Geometry& g = state.geo;
    line(dc, on_radius(g.R, angle), on_radius(inner, angle));
}

}  // namespace

void draw_compass(plat::Canvas& dc) {
    const Geometry& g = state.geo;
    use_slot(dc, 1);
    if (state.sel.nd_mode == 1) circle(dc, g.cx, g.cy, g.R);
    use_slot(dc, 2);
    polyline(dc, {{g.cx, g.cy}, {g.cx + 3, g.cy + 8}, {g.cx - 3, g.cy + 8}, {g.cx, g.cy}});

    use_slot(dc, 1);
    dc.select_font(fonts.f9);
    dc.set_text_align(plat::text_align::center | plat::text_align::baseline);
    const double h = value(kHeading);
    const int h10 = trunc_int(h) / 10;
    const int span = state.sel.nd_mode == 1 ? 180 : 360;
    for (int off = 0; off < span; off += 10) {
        const double a = ((h - 10.0 * h10) + off) * kDegrees;
        if (std::abs(trunc_int(g.R * std::cos(a))) < g.W / 2) {
            tick(dc, a, g.R - 10);
            int n = h10 - off / 10 + 9;
            if (n < 0) n += 36;
            if (n >= 36) n -= 36;
            if (n % 3 == 0) {
                char label[16];
                std::snprintf(label, sizeof label, "%d", n);
                const Point p = on_radius(g.R - 15, a);
                dc.text_out(p.x, p.y + 4, label);
            }
        }
        tick(dc, a + 5 * kDegrees, g.R - 5);
    }
}

void draw_heading_box(plat::Canvas& dc) {
    const int cx = state.geo.cx;
    use_slot(dc, 0);
    polyline(dc, {{cx - 10, 2}, {cx - 10, 13}, {cx - 3, 13}, {cx, 16}, {cx + 3, 13}, {cx + 10, 13}, {cx + 10, 1}});
    const plat::ColorRef green = surface_colour(0);
    text(dc, fonts.f9, green, plat::text_align::right | plat::text_align::top, cx - 11, 0, "HDG");
    text(dc, fonts.f9, green, plat::text_align::left | plat::text_align::top, cx + 13, 0, "MAG");
    char digits[16];
    std::snprintf(digits, sizeof digits, "%03d", round_int(value(kHeading)));
    text(dc, fonts.f11, surface_colour(1), plat::text_align::left | plat::text_align::top, cx - 8, 0, digits);
}

void draw_wind(plat::Canvas& dc) {
    char wind[32];
    std::snprintf(wind, sizeof wind, "%03d\xB0 / %d", round_int(value(kWindDirection)), round_int(value(kWindSpeed)));
    text(dc, fonts.f9, surface_colour(1), plat::text_align::left | plat::text_align::top, 0, 4, wind);
    if (value(kWindSpeed) == 0) return;
    use_slot(dc, 1);
    rotated_polyline(dc, {{10, 15}, {10, 35}, {7, 32}}, 10, 25, (value(kHeading) - value(kWindDirection)) * kDegrees);
}

void draw_selected_heading(plat::Canvas& dc) {
    const Geometry& g = state.geo;
    use_slot(dc, 10);
    rotated_polyline(dc,
                     {{g.cx - 3, g.cy - g.R - 3}, {g.cx - 3, g.cy - g.R + 2}, {g.cx, g.cy - g.R + 5},
                      {g.cx + 3, g.cy - g.R + 2}, {g.cx + 3, g.cy - g.R - 4}},
                     g.cx, g.cy, (value(kHeading) - value(kSelectedHeading)) * kDegrees);
}

}  // namespace nd::draw
