// The speed tape: ticks and labels, the speed limit marks or the V-speeds on the ground, the
// selected speed, the Mach number and the rolling readout.

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "flightdisplay/pfd_state.h"
#include "surface/display_surface.h"

namespace pfd {
namespace {

constexpr int kGrey = 0, kWhite = 1, kLimits = 6, kSelected = 9;
constexpr double kMachUnit = 0.000048828125;  // 1 / 20480
constexpr double kSpeedLimit = 100000.0;      // knots; keeps the tape's arithmetic in range

plat::Rect tape() {
    const Layout& g = layout;
    return {2, g.t + 3, g.xc - g.r - 8, g.H - g.t - 3};
}

plat::Region tape_window() {
    const Layout& g = layout;
    return plat::Region({2, g.t + 3, g.xc - g.r - 5, g.H - g.t - 3});
}

int readout_right() { return layout.xc - layout.r - 12; }

plat::Region readout_window() {
    const Layout& g = layout;
    return plat::Region({0, g.H / 2 - g.t + 4, readout_right(), g.H / 2 + g.t - 3});
}

void draw_ticks(plat::Canvas& dc, int R) {
    const Layout& g = layout;
    const double speed = bounded(kAirspeed, kSpeedLimit);
    const int V = trunc_int(speed), tens = trunc_int(speed * 0.1) * 10;
    const int base = g.H / 2 + (V - tens) * g.H / 150;
    dc.select_pen(surface::SurfacePen(kWhite));
    char label[16];
    for (int k = -60; k <= 60; k += 10) {
        if (k + speed < 0) continue;
        const int y = base - k * g.H / 150;
        line(dc, {R - 1, y}, {R - 4, y});
        const int v = k + tens;
        if ((v / 10) % 2 != 0) continue;
        std::snprintf(label, sizeof label, "%3d", v);
        text(dc, kFontE, colour(kWhite), kAlignBaselineRight, R - 4, y + 3, label);
    }
}

void mark(plat::Canvas& dc, int R, int y) { dc.rectangle({R, y - 3, R + 3, y}); }

void draw_limits(plat::Canvas& dc, int R) {
    const Layout& g = layout;
    const int V = trunc_int(bounded(kAirspeed, kSpeedLimit));
    const SpeedBand band = speed_band(value(kFlapHandle), value(kMaxOperatingSpeed), state.limits);
    const int step = g.H / 15;
    dc.select_pen(surface::SurfacePen(kLimits));
    dc.select_brush(surface::SurfaceBrush(kLimits));
    if (step <= 0) return;
    // Marks beyond the picture are skipped a whole number of steps at a time.
    int top = g.H / 2 + scaled(double(band.maximum) - V, -g.H, 150);
    if (top > g.H + step) top -= (top - g.H) / step * step;
    for (int y = top; y >= 1; y -= step) mark(dc, R, y);
    const int y = g.H / 2 + scaled(double(band.minimum) - V, -g.H, 150);
    if (on(kOnGround)) {
        text(dc, kFontE, colour(kLimits), kAlignBaselineRight, R + 3, y + step, "VR");
        text(dc, kFontE, colour(kLimits), kAlignBaselineRight, R + 3, y + 2 * g.H / 15, "V1");
        text(dc, kFontE, colour(kLimits), kAlignBaselineRight, R + 3, y - step, "V2");
        return;
    }
    int bottom = y;
    if (bottom < -step) bottom += (-bottom) / step * step;
    for (int m = bottom; m < g.H; m += step) mark(dc, R, m);
}

void draw_selected_speed(plat::Canvas& dc, const plat::Rect& tp) {
    const Layout& g = layout;
    const int R = tp.right;
    const int y = std::clamp(g.yc - scaled(value(kAirspeedSelect) - value(kAirspeed), g.H, 150), tp.top, tp.bottom);
    dc.select_pen(surface::SurfacePen(kSelected));
    dc.select_brush(plat::Brush::none());
    dc.rectangle({R - 3, y - 3, R + 3, y + 3});
}

void draw_selected_and_mach(plat::Canvas& dc, const plat::Rect& tp) {
    char s[32];
    std::snprintf(s, sizeof s, "%d", trunc_int(value(kAirspeedSelect)));
    text(dc, kFontF, colour(kSelected), kAlignBottomRight, tp.right, tp.top - 1, s);
    std::snprintf(s, sizeof s, "%.2f", value(kMach) * kMachUnit);
    s[0] = 'M';
    text(dc, kFontF, colour(kWhite), kAlignTopRight, tp.right + 2, tp.bottom + 2, s);
}

void draw_readout_box(plat::Canvas& dc) {
    const Layout& g = layout;
    const int xb = readout_right(), h = g.H / 2;
    const plat::Point box[] = {{0, h - g.t}, {xb, h - g.t}, {xb, h - 3}, {xb + 3, h}, {xb, h + 3}, {xb, h + g.t}, {-1, h + g.t}};
    dc.select_pen(surface::SurfacePen(kWhite));
    dc.polyline(box);
    surface::FillSurfaceRect(0, h - g.t + 1, xb, h + g.t);
}

char next_digit(char c) { return c == '9' ? '0' : static_cast<char>(c + 1); }
char previous_digit(char c) { return c == '0' ? '9' : static_cast<char>(c - 1); }

}  // namespace

void rolling_digit(plat::Canvas& dc, int x, int centre_y, int offset, char digit) {
    const int t = layout.t;
    const char now[2] = {digit, 0};
    text(dc, kFontF, colour(kWhite), kAlignBaselineRight, x, centre_y + offset + t / 2, now);
    if (digit < '0' || digit > '9') return;
    const char up[2] = {next_digit(digit), 0}, down[2] = {previous_digit(digit), 0};
    text(dc, kFontF, colour(kWhite), kAlignBaselineRight, x, centre_y + offset - t, up);
    text(dc, kFontF, colour(kWhite), kAlignBaselineRight, x, centre_y + offset + 2 * t, down);
}

namespace {

void draw_speed_digits(plat::Canvas& dc) {
    const Layout& g = layout;
    const double speed = bounded(kAirspeed, kSpeedLimit);
    const int V = trunc_int(speed);
    char whole[16], fraction[16];
    std::snprintf(whole, sizeof whole, "%03d", V);
    std::snprintf(fraction, sizeof fraction, "%.2f", speed - V);
    const char* point = std::strchr(fraction, '.');
    const int tenths = point && point[1] >= '0' && point[1] <= '9' ? point[1] - '0' : 0;
    const int o = tenths * 3 * g.t / 20;
    const int n = static_cast<int>(std::strlen(whole));
    int x = readout_right();
    for (int place = 0; place < 3 && place < n; ++place) {
        const char digit = whole[n - 1 - place];
        const bool rolls = place == 0 || whole[n - place] == '9';
        rolling_digit(dc, x, g.H / 2, rolls ? o : 0, digit);
        x -= g.t / 2 + 1;
    }
}

}  // namespace

SpeedBand speed_band(double p, double max_operating_x128, const SpeedLimits& l) {
    // Limits by flap setting: index 0 is flap 40 down to 8 (flap 00) for minima, 7 (flap 01) for maxima.
    if (p <= 0) return {l.minimum[8], trunc_int(max_operating_x128) / 128};
    if (p <= 2000) return {l.minimum[8], l.maximum[7]};
    if (p <= 4000) return {l.minimum[7], l.maximum[7]};
    if (p <= 6000) return {l.minimum[6], l.maximum[6]};
    if (p <= 8000) return {l.minimum[5], l.maximum[5]};
    if (p <= 10000) return {l.minimum[4], l.maximum[4]};
    if (p <= 12000) return {l.minimum[3], l.maximum[3]};
    if (p <= 14000) return {l.minimum[2], l.maximum[2]};
    if (p <= 16000) return {l.minimum[1], l.maximum[1]};
    return {l.minimum[0], l.maximum[0]};
}

void draw_speed_tape(plat::Canvas& dc) {
    const plat::Rect& s = layout.speed;
    surface::FillSurfaceRect(s.left, s.top, s.right, s.bottom);
    const plat::Rect tp = tape();
    dc.select_pen(surface::SurfacePen(kGrey));
    dc.select_brush(surface::SurfaceBrush(kGrey));
    dc.rectangle(tp);
    dc.select_clip(clip_region(kClipSpeedTape, tape_window));
    draw_ticks(dc, tp.right);
    draw_limits(dc, tp.right);
    draw_selected_speed(dc, tp);
    dc.clear_clip();
    draw_selected_and_mach(dc, tp);
    draw_readout_box(dc);
    dc.select_clip(clip_region(kClipSpeedReadout, readout_window));
    draw_speed_digits(dc);
    dc.clear_clip();
}

}  // namespace pfd
