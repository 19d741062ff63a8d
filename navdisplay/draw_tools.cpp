// The drawing helpers and the map projection.

#include "navdisplay/draw_tools.h"

#include <vector>

#include "surface/display_surface.h"

namespace nd::draw {

int trunc_int(double v) {
    if (!(v == v)) return 0;
    constexpr double kLimit = 1 << 26;
    if (v > kLimit) return static_cast<int>(kLimit);
    if (v < -kLimit) return -static_cast<int>(kLimit);
    return static_cast<int>(v);
}

int round_int(double v) { return trunc_int(v < 0 ? v - 0.5 : v + 0.5); }

plat::ColorRef surface_colour(int slot) { return surface::SurfaceColour(slot); }

void use_slot(plat::Canvas& dc, int slot) {
    dc.select_pen(surface::SurfacePen(slot));
    dc.set_text_color(surface::SurfaceColour(slot));
}

void polyline(plat::Canvas& dc, std::initializer_list<Point> points) {
    dc.polyline(std::span<const Point>(points.begin(), points.size()));
}

Point rotate(Point p, int cx, int cy, double angle) { return surface::RotatePoint(p, cx, cy, angle); }

void rotated_polyline(plat::Canvas& dc, std::initializer_list<Point> points, int cx, int cy, double angle) {
    Point turned[16];
    std::size_t n = 0;
    for (const Point& p : points)
        if (n < std::size(turned)) turned[n++] = rotate(p, cx, cy, angle);
    dc.polyline(std::span<const Point>(turned, n));
}

void line(plat::Canvas& dc, Point a, Point b) {
    const Point pts[2] = {a, b};
    dc.polyline(pts);
}

void circle(plat::Canvas& dc, int x, int y, int r) {
    dc.select_brush(plat::Brush::none());
    dc.ellipse({x - r, y - r, x + r, y + r});
}

void text(plat::Canvas& dc, const std::shared_ptr<plat::Font>& font, plat::ColorRef colour, unsigned align, int x,
          int y, std::string_view s) {
    dc.select_font(font);
    dc.set_text_color(colour);
    dc.set_text_align(align);
    dc.text_out(x, y, s);
}

Projection make_projection(double east_west_scale) {
    Projection p;
    const Geometry& g = state.geo;
    p.s = static_cast<double>(g.R) / static_cast<double>(state.sel.range);
    p.lat0 = navsearch::latitude_degrees(value(kLatitude));
    p.lon0 = navsearch::longitude_degrees(value(kLongitude));
    p.k = east_west_scale;
    p.turn = state.sel.map_mode == 1;
    p.t = value(kMapRotation) * kDegrees;
    p.cx = g.cx;
    p.cy = g.cy;
    return p;
}

Point project(const Projection& p, float lat, float& lon) {
    if (static_cast<double>(lon) * p.lon0 < 0 && std::fabs(p.lon0) >= 60.0) lon += lon > 0 ? -360.0f : 360.0f;
    Point pt{p.cx + trunc_int((lon - p.lon0) * p.s * p.k), p.cy - trunc_int((lat - p.lat0) * p.s * 60.0)};
    if (p.turn) pt = rotate(pt, p.cx, p.cy, p.t);
    return pt;
}

bool visible(int y) { return y >= 20 && !(state.sel.nd_mode == 1 && y > state.geo.H); }

}  // namespace nd::draw
