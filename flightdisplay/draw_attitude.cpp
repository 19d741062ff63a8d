// The attitude section: aircraft symbol, horizon with sky and ground, bank scale and pointer,
// sideslip box, pitch ladder and the flight director bars. Order matters: every flood fill stops
// at the white pixels drawn before it.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <optional>
#include <span>

#include "flightdisplay/pfd_state.h"
#include "surface/display_surface.h"

namespace pfd {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kWhite = 1, kGrey = 0, kGround = 2, kSky = 3, kSideslipPen = 4, kFdBars = 7;
constexpr double kPitchScale = 0.04;  // r * 0.04 pixels per degree of pitch
constexpr double kLocalizerDegrees = 0.23640661938534277;

plat::Point rotate(plat::Point p, double b) { return surface::RotatePoint(p, layout.xc, layout.yc, b); }

void closed_outline(plat::Canvas& dc, std::initializer_list<plat::Point> points) {
    std::array<plat::Point, 8> pts{};
    std::size_t n = 0;
    for (plat::Point p : points) pts[n++] = p;
    pts[n++] = pts[0];
    dc.polyline(std::span<const plat::Point>(pts.data(), n));
}

plat::Region attitude_window() { return plat::Region::round_rect(layout.attitude, 15, 15); }

plat::Region pitch_ladder_window() {
    const Layout& g = layout;
    const plat::Region rounded = plat::Region::round_rect({g.xc - g.r, g.yc - g.r + 15, g.xc + g.r, g.H}, 3 * g.r / 2, 3 * g.r / 2);
    return plat::subtract(rounded, plat::Region({g.xc - g.r, g.yc + g.r - 3, g.xc + g.r, g.H}));
}

void draw_aircraft_symbol(plat::Canvas& dc) {
    const Layout& g = layout;
    dc.select_pen(surface::SurfacePen(kWhite));
    dc.select_brush(surface::SurfaceBrush(kGrey));
    for (int side : {1, -1}) {
        const int tip = g.xc + side * (g.r - 5), inner = g.xc + side * (g.r / 2), notch = inner + side * 4;
        closed_outline(dc, {{tip, g.yc - 2}, {inner, g.yc - 2}, {inner, g.yc + 5}, {notch, g.yc + 5},
                            {notch, g.yc + 2}, {tip, g.yc + 2}});
        dc.flood_fill(g.xc + side * (g.r - 6), g.yc - 1, colour(kWhite));
    }
}

void draw_horizon(plat::Canvas& dc, double b) {
    const Layout& g = layout;
    const int y_h = std::clamp(g.yc - trunc_int(g.r * value(kPitch) * kPitchScale), g.yc - g.xc, g.yc + g.xc);
    const plat::Point a = rotate({g.xc + 2 * g.r, y_h}, b), c = rotate({g.xc - 2 * g.r, y_h}, b);
    plat::Point ground = rotate({g.xc, y_h + 2}, b), sky = rotate({g.xc, y_h - 2}, b);
    dc.select_pen(surface::SurfacePen(kWhite));
    line(dc, a, c);
    if (y_h - g.yc > 2) sky = {g.xc, g.yc};
    if (g.yc - y_h > 2) ground = {g.xc, g.yc};
    dc.select_brush(surface::SurfaceBrush(kGround));
    dc.flood_fill(ground.x, ground.y, colour(kWhite));
    dc.select_brush(surface::SurfaceBrush(kSky));
    dc.flood_fill(sky.x, sky.y, colour(kWhite));
}

void draw_centre_dot(plat::Canvas& dc) {
    const Layout& g = layout;
    dc.select_pen(surface::SurfacePen(kWhite));
    dc.select_brush(surface::SurfaceBrush(kGrey));
    dc.rectangle({g.xc - 1, g.yc - 1, g.xc + 2, g.yc + 2});
}

// A tick between two points of the upright scale, turned by `degrees`; the fine ticks have their
// outer end pushed one pixel away from the vertical centre line.
void bank_tick(plat::Canvas& dc, int outer_y, int inner_y, double degrees, bool spread) {
    const Layout& g = layout;
    const double a = degrees * kPi / 180.0;
    plat::Point outer = rotate({g.xc, outer_y}, a);
    const plat::Point inner = rotate({g.xc, inner_y}, a);
    if (spread) outer.x += degrees > 0 ? -1 : degrees < 0 ? 1 : 0;
    line(dc, outer, inner);
}

void draw_bank_scale(plat::Canvas& dc) {
    const Layout& g = layout;
    dc.select_pen(surface::SurfacePen(kWhite));
    for (double d : {30.0, -30.0}) bank_tick(dc, g.yc - g.r, g.yc - g.r + 5, d, false);
    for (double d : {0.0, -6.0, -12.0, 6.0, 12.0}) bank_tick(dc, g.yc - g.r, g.yc - g.r + 5, d, d != 0.0);
    for (double d : {-20.0, 20.0}) bank_tick(dc, g.yc - g.r - 5, g.yc - g.r + 5, d, false);
}

void draw_bank_pointer(plat::Canvas& dc, double b) {
    const Layout& g = layout;
    dc.select_pen(surface::SurfacePen(kWhite));
    closed_outline(dc, {rotate({g.xc, g.yc - g.r + 5}, b), rotate({g.xc + 3, g.yc - g.r + 10}, b),
                        rotate({g.xc - 3, g.yc - g.r + 10}, b)});
    const int s = trunc_int(value(kSideslip)) / 10;
    dc.select_pen(surface::SurfacePen(kSideslipPen));
    closed_outline(dc, {rotate({g.xc + 3 + s, g.yc - g.r + 11}, b), rotate({g.xc - 3 + s, g.yc - g.r + 11}, b),
                        rotate({g.xc - 3 + s, g.yc - g.r + 14}, b), rotate({g.xc + 3 + s, g.yc - g.r + 14}, b)});
}

// One rung of the ladder, half length `half`, its left end a pixel further left after turning.
void rung(plat::Canvas& dc, int y, int half, double b) {
    const Layout& g = layout;
    const plat::Point right = rotate({g.xc + half, y}, b);
    plat::Point left = rotate({g.xc - half, y}, b);
    left.x -= 1;
    line(dc, right, left);
}

void draw_pitch_ladder(plat::Canvas& dc, double b) {
    const Layout& g = layout;
    dc.clear_clip();
    dc.select_clip(clip_region(kClipPitchLadder, pitch_ladder_window));
    dc.select_pen(surface::SurfacePen(kWhite));
    const int y0 = g.yc - trunc_int(g.r * value(kPitch) * kPitchScale);
    char label[8];
    for (int k = -2; k <= 2; ++k) {
        const int y = y0 - 2 * k * g.r / 5;
        rung(dc, y, g.r / 2, b);
        if (k == 0) continue;
        std::snprintf(label, sizeof label, "%2d", std::abs(k) * 10);
        for (int x : {g.xc + g.r / 2 + 5, g.xc - g.r / 2 - 5}) {
            const plat::Point at = rotate({x, y + 3}, b);
            text(dc, kFontD, colour(kWhite), kAlignBaselineCentre, at.x, at.y, label);
        }
    }
    for (int k = -2; k <= 3; ++k) rung(dc, y0 + 2 * k * g.r / 5 - g.r / 5, g.r / 4, b);
    for (int k = -4; k <= 5; ++k) rung(dc, y0 + k * g.r / 5 - g.r / 10, g.r / 8, b);
}

int wrapped_heading_error(int e) {
    if (e >= 181) return e - 360;
    if (e < -180) return 360 - std::abs(e);
    return e;
}

int lateral_bar_from_error(int e) {
    const Layout& g = layout;
    const double bank = value(kBank);
    const double a = std::atan(wrapped_heading_error(e) * kPi / 180.0);
    if (wrapped_heading_error(e) > 0) return g.xc + trunc_int(a * (bank + 20.0) * g.r * 0.05);
    return g.xc - trunc_int(a * (bank - 20.0) * g.r * 0.05);
}

// The lateral bar's x, or none when the FD gives no lateral guidance.
std::optional<int> lateral_bar_x() {
    const Layout& g = layout;
    int x = 0;
    if (state.fd_mode == 1) {
        x = lateral_bar_from_error(round_half_up(value(kHeadingSelect)) - round_half_up(value(kHeading)));
    } else {
        const std::int32_t nav = flags(kNavFlags);
        if (nav & 0x08) return std::nullopt;
        if (nav & 0x80) {
            x = g.xc + trunc_int(g.r * value(kLocalizerNeedle) / 127.0);
        } else {
            const double product = value(kLocalizerNeedle) * kLocalizerDegrees;
            const int course_offset = trunc_int(product + (product < 0 ? -0.5 : 0.5));
            x = lateral_bar_from_error(round_half_up(value(kSelectedCourse)) + course_offset -
                                       round_half_up(value(kHeading)));
        }
    }
    if (x > g.xc + g.r) x = g.xc + g.r - 1;
    if (x < g.xc - g.r) x = g.xc - g.r;
    return x;
}

int vertical_bar_y() {
    const Layout& g = layout;
    int y = 0;
    if (state.fd_mode == 2 && on(kGlideslopeAvailable)) {
        y = g.yc + trunc_int(g.r * value(kGlideslopeNeedle) / 127.0);
    } else {
        const double a = (value(kAltitudeSelect) - value(kAltitude)) * kPi / 180.0;
        const int gain = on(kVerticalSpeedSelect)
                             ? trunc_int(value(kVerticalSpeedSelect) - value(kVerticalSpeed) * state.vs_factor) / 100
                             : trunc_int(2 * g.r / kPi);
        y = g.yc - trunc_int(std::atan(a) * gain);
    }
    if (y > g.yc + g.r) y = g.yc + g.r - 1;
    if (y < g.yc - g.r) y = g.yc - g.r;
    return y;
}

void draw_fd_bars(plat::Canvas& dc) {
    if (state.fd_mode != 1 && state.fd_mode != 2) return;
    const Layout& g = layout;
    dc.select_pen(surface::SurfacePen(kFdBars));
    if (const std::optional<int> x = lateral_bar_x()) line(dc, {*x, g.yc - g.r + 10}, {*x, g.yc + g.r - 10});
    const int y = vertical_bar_y();
    line(dc, {g.xc - g.r + 10, y}, {g.xc + g.r - 10, y});
}

}  // namespace

void draw_attitude(plat::Canvas& dc) {
    const plat::Rect& a = layout.attitude;
    surface::FillSurfaceRect(a.left, a.top, a.right, a.bottom);
    const double b = -value(kBank) * kPi / 180.0;
    draw_aircraft_symbol(dc);
    dc.select_clip(clip_region(kClipAttitude, attitude_window));
    draw_horizon(dc, b);
    draw_centre_dot(dc);
    draw_bank_scale(dc);
    draw_bank_pointer(dc, b);
    draw_pitch_ladder(dc, b);
    dc.clear_clip();
    draw_fd_bars(dc);
}

}  // namespace pfd
