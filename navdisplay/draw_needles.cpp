// The bearing needles (ADF, VOR2) and the VOR mode's course pointer, deviation bar, dots and
// to/from triangle.

#include <algorithm>

#include "navdisplay/draw_tools.h"
#include "surface/display_surface.h"

namespace nd::draw {
namespace {

bool nav1_shown() { return !(low_word(kNav1Flags) & 0x08) && text(kNav1Ident)[0] != '\0'; }

void draw_deviation(plat::Canvas& dc, double angle) {
    const Geometry& g = state.geo;
    const int cx = g.cx, cy = g.cy;
    use_slot(dc, 4);
    if (value(kDeviationGate) * 0.001 >= 30) {
        rotated_polyline(dc, {{cx - 3, cy - 18}, {cx + 3, cy + 18}, {cx, cy}, {cx - 3, cy + 18}, {cx + 3, cy - 18}}, cx,
                         cy, angle);
    } else {
        // Limited first: the whole units are multiplied by the radius in int arithmetic.
        const int x = cx + trunc_int(std::clamp(value(kNav1Deviation), -1e6, 1e6)) * g.R / 350;
        rotated_polyline(dc, {{x - 3, cy - 18}, {x - 3, cy + 18}, {x + 3, cy + 18}, {x + 3, cy - 18}, {x - 3, cy - 18}},
                         cx, cy, angle);
    }
    use_slot(dc, 5);
    for (int i : {0, 1, 3, 4}) {
        const Point p = rotate({cx + (i - 2) * g.R * 64 / 350, cy}, cx, cy, angle);
        circle(dc, p.x, p.y, 3);
    }
}

void draw_to_from(plat::Canvas& dc) {
    const int P = state.geo.H - 5 * 9;
    const int d = (low_word(kToFrom) & 0x04) ? 8 : -8;
    use_slot(dc, 11);
    polyline(dc, {{2, P}, {8, P}, {5, P + d}, {2, P}});
    dc.select_brush(surface::SurfaceBrush(11));
    dc.flood_fill(5, P + d / 2, surface::SurfaceColour(11));
}

}  // namespace

void draw_adf_needle(plat::Canvas& dc) {
    if (value(kAdfActive) == 0) return;
    const Geometry& g = state.geo;
    const int cx = g.cx, cy = g.cy, R = g.R, q = trunc_int(2.0 * R / 3.0);
    const double a = -value(kAdfAngle) * kDegrees;
    use_slot(dc, 12);
    rotated_polyline(dc, {{cx - 3, cy - R + 5}, {cx, cy - R}, {cx, cy - q}, {cx, cy - R}, {cx + 3, cy - R + 6}}, cx, cy, a);
    rotated_polyline(dc, {{cx - 3, cy + R + 5}, {cx, cy + R}, {cx, cy + q}, {cx, cy + R}, {cx + 3, cy + R + 6}}, cx, cy, a);
}

void draw_vor2_needle(plat::Canvas& dc) {
    if ((low_word(kNav2Flags) & 0x08) || text(kNav2Ident)[0] == '\0') return;
    const Geometry& g = state.geo;
    const int cx = g.cx, cy = g.cy, R = g.R, q = trunc_int(2.0 * R / 3.0);
    const double a = -value(kVor2Angle) * kDegrees;
    use_slot(dc, 13);
    rotated_polyline(dc, {{cx - 3, cy - q}, {cx - 3, cy - R + 5}, {cx, cy - R}, {cx + 3, cy - R + 5}, {cx + 3, cy - q + 1}},
                     cx, cy, a);
    rotated_polyline(dc, {{cx - 3, cy + R}, {cx - 3, cy + q}, {cx, cy + q - 5}, {cx + 3, cy + q}, {cx + 3, cy + R + 1}},
                     cx, cy, a);
}

void draw_vor_mode(plat::Canvas& dc) {
    const Geometry& g = state.geo;
    const int cx = g.cx, cy = g.cy;
    const double a = (value(kHeading) - value(kNav1Course)) * kDegrees;
    use_slot(dc, 3);
    rotated_polyline(dc,
                     {{cx, cy - g.R}, {cx, cy - 30}, {cx - 3, cy - 24}, {cx - 3, cy - 19}, {cx + 3, cy - 19},
                      {cx + 3, cy - 24}, {cx, cy - 30}},
                     cx, cy, a);
    rotated_polyline(dc,
                     {{cx, cy + 38}, {cx, cy + 28}, {cx - 3, cy + 28}, {cx - 3, cy + 19}, {cx + 3, cy + 19},
                      {cx + 3, cy + 28}, {cx, cy + 28}},
                     cx, cy, a);
    if (!nav1_shown()) return;
    draw_deviation(dc, a);
    draw_to_from(dc);
}

}  // namespace nd::draw
