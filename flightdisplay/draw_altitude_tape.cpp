// The altitude tape with the selected altitude, the radio altitude band and decision height, the
// rolling readout, the vertical speed scale and needle; and the altimeter setting box below.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "flightdisplay/pfd_state.h"
#include "surface/display_surface.h"

namespace pfd {
namespace {

constexpr int kGrey = 0, kWhite = 1, kSelected = 8, kAltimeter = 10, kDecisionHeight = 14, kRadioBand = 15;
constexpr double kPi = 3.14159265358979323846;
constexpr double kAltitudeLimit = 1000000.0;  // feet; keeps the tape's arithmetic in range
constexpr double kFeetPerMetre = 3.280839895013123;
constexpr double kNeedleDegreesPerUnit = 1.0 / 67.0;

plat::Rect tape() {
    const Layout& g = layout;
    return {g.f + 3, g.t + 3, g.xc + g.W / 5 + g.r, g.H - g.t - 3};
}

plat::Region tape_window() {
    const plat::Rect tp = tape();
    return plat::Region({layout.f, tp.top, tp.right, tp.bottom});
}

int readout_right() { return tape().right + 8; }

plat::Region readout_window() {
    const Layout& g = layout;
    return plat::Region({g.f + 8, g.yc - g.t + 4, readout_right(), g.yc + g.t - 3});
}

void draw_ticks(plat::Canvas& dc, const plat::Rect& tp) {
    const Layout& g = layout;
    const int n = trunc_int(bounded(kAltitude, kAltitudeLimit) * 0.1);
    const int base = g.yc + (n % 10) * g.H / 120;
    dc.select_pen(surface::SurfacePen(kWhite));
    char label[24];
    int c = n / 10 * 10 - 60;
    for (int k = -6; k <= 6; ++k, c += 10) {
        const int y = base - k * g.H / 12;
        line(dc, {tp.left, y}, {tp.left + 3, y});
        if ((c / 10) % 2 != 0) continue;
        std::snprintf(label, sizeof label, "%02d0", c);
        text(dc, kFontE, colour(kWhite), kAlignBaselineRight, tp.right - 1, y + 3, label);
    }
}

void draw_selected_altitude_marker(plat::Canvas& dc, const plat::Rect& tp) {
    const Layout& g = layout;
    const int y = std::clamp(g.yc - scaled(value(kAltitudeSelect) - bounded(kAltitude, kAltitudeLimit), g.H, 1200),
                             tp.top, tp.bottom);
    const int L = tp.left;
    dc.select_pen(surface::SurfacePen(kSelected));
    dc.select_brush(plat::Brush::none());
    dc.rectangle({L - 3, y - 6, L + 3, y});
    dc.rectangle({L - 3, y - 1, L + 3, y + 5});
}

double displayed_vertical_speed() { return value(kVerticalSpeed) * state.vs_factor; }

void draw_radio_altitude(plat::Canvas& dc, const plat::Rect& tp) {
    const Layout& g = layout;
    const RadioAltitude ra = radio_altitude();
    if (!ra.known || !(ra.value < 2500 * ra.unit) || !(displayed_vertical_speed() < 100) || on(kOnGround)) return;
    const int L = tp.left, R = tp.right, T = tp.top;
    dc.select_pen(surface::SurfacePen(kRadioBand));
    dc.select_brush(plat::Brush::hatch(colour(kRadioBand)));
    dc.rectangle({L, g.yc + scaled(ra.value, g.H, 1200), R, g.H});
    const int yd = g.yc + trunc_int((ra.value - state.limits.decision_height * ra.unit) * g.H / 1200);
    const plat::Point mark[] = {{R, yd}, {L, yd}, {L - 3, yd - 5}, {L - 3, yd + 5}, {L, yd}};
    dc.select_pen(surface::SurfacePen(kDecisionHeight));
    dc.polyline(mark);
    dc.select_pen(surface::SurfacePen(kWhite));
    dc.select_brush(surface::SurfaceBrush(kGrey));
    dc.rectangle({L + 3, T, R, T + g.t + 2});
    char s[24];
    std::snprintf(s, sizeof s, "%d", ra.value);
    text(dc, kFontF, colour(kWhite), kAlignTopRight, R - 1, T, s);
}

void draw_selected_altitude(plat::Canvas& dc, const plat::Rect& tp) {
    char s[24];
    std::snprintf(s, sizeof s, "%d", trunc_int(value(kAltitudeSelect)));
    text(dc, kFontF, colour(kSelected), kAlignBottomRight, tp.right, tp.top - 1, s);
    text(dc, kFontF, colour(kSelected), kAlignBottomLeft, tp.right + 1, tp.top - 1, value(kUnitSystem) == 2.0 ? " m" : " ft");
}

void draw_readout_box(plat::Canvas& dc) {
    const Layout& g = layout;
    const int xa = readout_right(), f = g.f, yc = g.yc, t = g.t;
    const plat::Point box[] = {{xa, yc - t}, {f + 8, yc - t}, {f + 8, yc - 3}, {f + 5, yc},
                               {f + 8, yc + 3}, {f + 8, yc + t}, {xa, yc + t}, {xa, yc - t}};
    dc.select_pen(surface::SurfacePen(kWhite));
    dc.polyline(box);
    surface::FillSurfaceRect(f + 9, yc - t + 1, xa, yc + t);
}

// The last two places roll together as tens and a fixed 0; the places to their left roll only
// while the place to their right stands at 9.
void draw_altitude_digits(plat::Canvas& dc) {
    const Layout& g = layout;
    char digits[24];
    std::snprintf(digits, sizeof digits, "%05d", trunc_int(bounded(kAltitude, kAltitudeLimit)));
    const int n = static_cast<int>(std::strlen(digits));
    const char tens = digits[n - 2], units = digits[n - 1];
    const int o = (units >= '0' && units <= '9' ? units - '0' : 0) * 3 * g.t / 20;
    const int xa = readout_right(), t = g.t;
    const auto pair = [&](char d, int y) {
        const char s[3] = {d, '0', 0};
        text(dc, kFontF, colour(kWhite), kAlignBaselineRight, xa, y, s);
    };
    pair(tens, g.yc + o + t / 2);
    if (tens >= '0' && tens <= '9') {
        pair(tens == '9' ? '0' : static_cast<char>(tens + 1), g.yc + o - t);
        pair(tens == '0' ? '9' : static_cast<char>(tens - 1), g.yc + o + 2 * t);
    }
    for (int k = 2; k <= 4 && n - 1 - k >= 0; ++k) {
        const char digit = digits[n - 1 - k];
        const int x = xa - k * (t / 2 + 1) - (k >= 3 ? 2 : 0);
        rolling_digit(dc, x, g.yc, digits[n - k] == '9' ? o : 0, digit);
    }
}

plat::Point vs_pivot() {
    const Layout& g = layout;
    return {tape().right + 3 + 10 + g.r / 2, g.yc};
}

void draw_vs_scale(plat::Canvas& dc) {
    const Layout& g = layout;
    const int x0 = tape().right + 3, yc = g.yc, r = g.r, t = g.t;
    const plat::Point outline[] = {{x0, yc - r}, {x0, yc - t - 6}, {x0 + 8, yc - t}, {x0 + 8, yc + t},
                                   {x0, yc + t + 6}, {x0, yc + r}, {x0 + 10, yc + r}, {x0 + 10 + r / 2, yc},
                                   {x0 + 10, yc - r}, {x0, yc - r}};
    dc.select_pen(surface::SurfacePen(kGrey));
    dc.polyline(outline);
    dc.select_brush(surface::SurfaceBrush(kGrey));
    dc.flood_fill(g.W - 3, yc, colour(kGrey));

    const plat::Point P = vs_pivot();
    const plat::Point Q = {P.x - r + 3, yc};
    dc.select_pen(surface::SurfacePen(kWhite));
    line(dc, {x0 + 10, yc}, {x0 + 8, yc});
    const double step = 15.0 * kPi / 180.0;
    for (double direction : {-1.0, 1.0}) {
        plat::Point p = Q;
        for (int s = 1; s <= 6; ++s) {
            if (s == 5) continue;
            p = surface::RotatePoint(p, P.x, P.y, direction * step);
            line(dc, {x0 + 10, p.y}, {x0 + 8, p.y});
            if (s == 2) text(dc, kFontE, colour(kWhite), kAlignBaselineRight, x0 + 8, p.y + g.e / 2, "2");
            if (s == 6) text(dc, kFontE, colour(kWhite), kAlignBaselineRight, x0 + 8, p.y + g.e / 2, "6");
        }
    }
}

void draw_vs_needle(plat::Canvas& dc) {
    const plat::Point P = vs_pivot();
    const plat::Point Q = {P.x - layout.r + 3, layout.yc};
    double angle = displayed_vertical_speed() * kNeedleDegreesPerUnit;
    if (std::isnan(angle)) angle = 0;
    angle = std::clamp(angle, -90.0, 90.0);
    dc.select_pen(surface::SurfacePen(kWhite));
    line(dc, P, surface::RotatePoint(Q, P.x, P.y, -angle * kPi / 180.0));
}

}  // namespace

RadioAltitude radio_altitude() {
    const double above_ground = value(kAltitudeMetres) - value(kGroundElevation) / 256.0;
    const double units = value(kUnitSystem);
    if (units == 0.0 || units == 1.0)
        return {true, trunc_int(std::clamp(above_ground * kFeetPerMetre, -kAltitudeLimit, kAltitudeLimit)), 1.0};
    if (units == 2.0) return {true, trunc_int(std::clamp(above_ground, -kAltitudeLimit, kAltitudeLimit)), 0.3048};
    return {};
}

void draw_altitude_tape(plat::Canvas& dc) {
    const plat::Rect& a = layout.altitude;
    surface::FillSurfaceRect(a.left, a.top, a.right, a.bottom);
    const plat::Rect tp = tape();
    dc.select_pen(surface::SurfacePen(kGrey));
    dc.select_brush(surface::SurfaceBrush(kGrey));
    dc.rectangle(tp);
    dc.select_clip(clip_region(kClipAltitudeTape, tape_window));
    draw_ticks(dc, tp);
    draw_selected_altitude_marker(dc, tp);
    draw_radio_altitude(dc, tp);
    dc.clear_clip();
    draw_selected_altitude(dc, tp);
    draw_readout_box(dc);
    dc.select_clip(clip_region(kClipAltitudeReadout, readout_window));
    draw_altitude_digits(dc);
    dc.clear_clip();
    draw_vs_scale(dc);
    draw_vs_needle(dc);
}

void draw_altimeter_box(plat::Canvas& dc) {
    const Layout& g = layout;
    const plat::Rect& b = g.altimeter;
    surface::FillSurfaceRect(b.left, b.top, b.right, b.bottom);
    const int x = g.xc + g.W / 5 + g.r, y = b.top + 1;
    char s[32];
    std::snprintf(s, sizeof s, "%0.2f", bounded(kAltimeterSetting, 1e6));
    text(dc, kFontF, colour(kAltimeter), kAlignTopRight, x, y, s);
    text(dc, kFontE, colour(kAltimeter), kAlignTopLeft, x, y, "IN");
}

}  // namespace pfd
