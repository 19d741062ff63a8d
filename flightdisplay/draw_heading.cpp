// The heading arc below the attitude window: a compass disc turning under a fixed pointer, with
// ticks every 5 degrees, labels every 30 and the heading select marker.

#include <cmath>
#include <cstdio>

#include "flightdisplay/pfd_state.h"
#include "surface/display_surface.h"

namespace pfd {
namespace {

constexpr int kGrey = 0, kWhite = 1, kSelectMarker = 5;
constexpr double kPi = 3.14159265358979323846;

struct Arc {
    int a;        // radius
    plat::Point centre;
    int top;
};

Arc arc() {
    const Layout& g = layout;
    const int a = 3 * g.W / 10;
    const plat::Point c{g.xc, g.H + 2 * a / 3};
    return {a, c, c.y - a};
}

plat::Point on_arc(const Arc& k, int radius, double degrees) {
    const double g = degrees * kPi / 180.0;
    return {k.centre.x + trunc_int(radius * std::cos(g)), k.centre.y - trunc_int(radius * std::sin(g))};
}

void draw_pointer(plat::Canvas& dc, const Arc& k) {
    const int xc = layout.xc;
    const plat::Point p[] = {{xc - 3, k.top - 5}, {xc, k.top - 2}, {xc + 3, k.top - 5}, {xc - 3, k.top - 5}};
    dc.select_pen(surface::SurfacePen(kWhite));
    dc.polyline(p);
}

void draw_disc(plat::Canvas& dc, const Arc& k) {
    dc.select_pen(surface::SurfacePen(kGrey));
    dc.select_brush(plat::Brush::none());
    dc.ellipse({k.centre.x - k.a, k.centre.y - k.a, k.centre.x + k.a + 1, k.centre.y + k.a + 1});
    dc.select_brush(surface::SurfaceBrush(kGrey));
    dc.flood_fill(layout.xc, k.top + 2, colour(kGrey));
}

void draw_scale(plat::Canvas& dc, const Arc& k) {
    const double heading = bounded(kHeading, 1e6);
    const int tens = trunc_int(heading) / 10;
    dc.select_pen(surface::SurfacePen(kWhite));
    char label[16];
    for (int j = 40; j <= 130; j += 10) {
        const double g = heading - tens * 10 + j;
        line(dc, on_arc(k, k.a, g), on_arc(k, k.a - 4, g));
        int n = tens - j / 10 + 9;
        if (tens - j / 10 < -9) n += 36;
        if (n >= 36) n -= 36;
        if (n % 3 == 0) {
            std::snprintf(label, sizeof label, "%d", n);
            const plat::Point at = on_arc(k, k.a - 6, g);
            text(dc, kFontD, colour(kWhite), kAlignBaselineCentre, at.x, at.y + 4, label);
        }
        line(dc, on_arc(k, k.a, g + 5), on_arc(k, k.a - 2, g + 5));
    }
}

void draw_select_marker(plat::Canvas& dc, const Arc& k) {
    const int xc = layout.xc;
    const double turn = (bounded(kHeading, 1e6) - bounded(kHeadingSelect, 1e6)) * kPi / 180.0;
    const plat::Point shape[] = {{xc - 3, k.top - 3}, {xc - 3, k.top + 2}, {xc, k.top + 5}, {xc + 3, k.top + 2}, {xc + 3, k.top - 4}};
    plat::Point turned[5];
    for (int i = 0; i < 5; ++i) turned[i] = surface::RotatePoint(shape[i], k.centre.x, k.centre.y, turn);
    dc.select_pen(surface::SurfacePen(kSelectMarker));
    dc.polyline(turned);
}

}  // namespace

void draw_heading(plat::Canvas& dc) {
    const plat::Rect& h = layout.heading;
    surface::FillSurfaceRect(h.left, h.top, h.right, h.bottom);
    const Arc k = arc();
    draw_pointer(dc, k);
    draw_disc(dc, k);
    draw_scale(dc, k);
    draw_select_marker(dc, k);
}

}  // namespace pfd
