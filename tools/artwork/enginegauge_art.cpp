// The centre engine stack: EPR, N1, EGT and N2 dials for two engines with their digital
// windows, the lit overlay of the markings, pointer and EPR limit marker.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "tools/artwork/art_helpers.h"
#include "tools/artwork/art_registry.h"

namespace art {
namespace {

using plat::Canvas;
using plat::rgb;

constexpr int kColumnX[2] = {43, 137};
constexpr int kFaceRadius = 35;

// Each dial's mark for a value sits where the gauge turns the pointer for it. The gauge's angles
// start with the pointer lying left of its pivot and turn clockwise; the art counts from straight up.
struct DialScale {
    int centre_y;
    const char* caption;
    const char* unit;
    double scale, offset;  // pointer angle = scale * value + offset
    double first, last, minor, major;
    double labels[6];
    int label_count;
    double label_divisor;  // labels read value / divisor
    int label_decimals;
};

double art_angle(const DialScale& d, double value) { return d.scale * value + d.offset - 90.0; }

// EGT marks are in degrees Celsius, the pointer follows degrees Rankine / 11.
constexpr double kRankinePerCelsius = 1.8, kRankineAtZeroCelsius = 491.67;

constexpr DialScale kDials[] = {
    {74, "EPR", "", 162.5, -170.0, 0.8, 2.4, 0.1, 0.2, {1.0, 1.4, 1.8, 2.2}, 4, 1.0, 1},
    {144, "N1", "%", 2.363636, -40.0, 0, 110, 5, 10, {0, 20, 40, 60, 80, 100}, 6, 10.0, 0},
    {214, "EGT", "\xB0" "C", kRankinePerCelsius / 11.0, kRankineAtZeroCelsius / 11.0, 0, 1050, 50, 100,
     {0, 200, 400, 600, 800, 1000}, 6, 100.0, 0},
    {284, "N2", "%", 2.47619, -40.0, 0, 105, 5, 10, {0, 20, 40, 60, 80, 100}, 6, 10.0, 0},
};

const plat::ColorRef kFace = rgb(20, 21, 23);
const plat::ColorRef kDimMark = rgb(150, 152, 148);
const plat::ColorRef kLitMark = rgb(252, 246, 226);

void label_at(Canvas& c, PointF at, const char* text, int height, plat::ColorRef colour, int weight = 700) {
    c.select_font(arial(height, weight));
    const int cell = c.text_extent(text).height;
    c.set_bk_mode(plat::BkMode::transparent);
    c.set_text_align(plat::text_align::center | plat::text_align::top);
    c.set_text_color(colour);
    c.text_out(static_cast<int>(std::lround(at.x)), static_cast<int>(std::lround(at.y - cell / 2.0)), text);
}

void markings(Canvas& c, const DialScale& d, int column, plat::ColorRef ink) {
    const PointF centre{double(kColumnX[column]), double(d.centre_y)};
    const int steps = static_cast<int>(std::lround((d.last - d.first) / d.minor));
    for (int i = 0; i <= steps; ++i) {
        const double v = d.first + i * d.minor;
        const double phase = (v - d.first) / d.major;
        const bool major = std::abs(phase - std::round(phase)) < 1e-6;
        const double a = art_angle(d, v);
        fill_bar(c, polar(centre, major ? 29.5 : 31.0, a), polar(centre, 34.0, a), major ? 0.8 : 0.5, ink);
    }
    char text[8];
    for (int i = 0; i < d.label_count; ++i) {
        std::snprintf(text, sizeof text, "%.*f", d.label_decimals, d.labels[i] / d.label_divisor);
        label_at(c, polar(centre, 24.5, art_angle(d, d.labels[i])), text, -8, ink);
    }
}

// Captions between the columns, beside their dials.
void captions(Canvas& c, plat::ColorRef ink) {
    for (const DialScale& d : kDials) {
        label_at(c, {90.0, d.centre_y - 5.0}, d.caption, -9, ink);
        if (*d.unit) label_at(c, {90.0, d.centre_y + 5.0}, d.unit, -7, ink, 400);
    }
    label_at(c, {90.0, 20.0}, "EPR", -8, ink);
    label_at(c, {90.0, 29.0}, "LIMIT", -7, ink, 400);
    label_at(c, {90.0, 327.0}, "FUEL", -8, ink);
    label_at(c, {90.0, 337.0}, "FLOW", -7, ink, 400);
    label_at(c, {90.0, 360.0}, "USED", -7, ink, 400);
    label_at(c, {120.0, 361.0}, "RST", -7, ink, 400);
    label_at(c, {15.0, 348.0}, "SET", -7, ink);
    label_at(c, {165.0, 348.0}, "SET", -7, ink);
}

// Sunk frame one pixel outside a window's box.
void window_frame(Canvas& c, int x, int y) {
    recess(c, {x - 2, y - 2, x + 38, y + 24}, rgb(16, 16, 16));
}

void arrow_button(Canvas& c, int x, int y, bool up) {
    const plat::Rect r{std::max(x, 0), y, std::min(x + 15, 181), y + 15};
    recess(c, r, rgb(14, 15, 16));
    raised(c, {r.left + 1, r.top + 1, r.right - 1, r.bottom - 1}, rgb(58, 61, 65));
    const double cx = (r.left + r.right) / 2.0, cy = y + 7.5;
    const PointF tri_up[] = {{cx, cy - 4}, {cx + 4.5, cy + 3}, {cx - 4.5, cy + 3}};
    const PointF tri_down[] = {{cx - 4.5, cy - 3}, {cx + 4.5, cy - 3}, {cx, cy + 4}};
    if (up)
        fill_polygon(c, tri_up, legend_white);
    else
        fill_polygon(c, tri_down, legend_white);
}

void push_button(Canvas& c, const plat::Rect& r) {
    recess(c, r, rgb(14, 15, 16));
    raised(c, {r.left + 1, r.top + 1, r.right - 1, r.bottom - 1}, rgb(64, 67, 71));
}

void background(Canvas& c) {
    panel_plate(c, c.bitmap().bounds());
    screw(c, 5, 5, 20);
    screw(c, 175, 5, -35);
    screw(c, 90, 381, 60);
    for (const DialScale& d : kDials)
        for (int column = 0; column < 2; ++column) {
            const int cx = kColumnX[column];
            disc(c, cx - 1, d.centre_y - 1, kFaceRadius + 1, bevel_dark);
            disc(c, cx + 1, d.centre_y + 1, kFaceRadius + 1, bevel_mid_light);
            disc(c, cx, d.centre_y, kFaceRadius, kFace);
            markings(c, d, column, kDimMark);
        }
    captions(c, kDimMark);
    const int window_y[] = {13, 62, 133, 202, 272, 321};
    const int window_x[2][6] = {{25, 25, 26, 25, 26, 26}, {119, 119, 120, 119, 120, 120}};
    for (int column = 0; column < 2; ++column)
        for (int i = 0; i < 6; ++i) window_frame(c, window_x[column][i], window_y[i]);
    arrow_button(c, -3, 354, false);
    arrow_button(c, 13, 354, true);
    arrow_button(c, 152, 354, false);
    arrow_button(c, 168, 353, true);
    push_button(c, {83, 366, 98, 381});
    push_button(c, {115, 368, 126, 380});
}

// Only the luminous markings, over see-through black: shown while the stack has power.
void lit_overlay(Canvas& c) {
    for (const DialScale& d : kDials)
        for (int column = 0; column < 2; ++column) markings(c, d, column, kLitMark);
    captions(c, kLitMark);
}

// White pointer lying left of its pivot at (34, 2), a short tail behind it.
void pointer(Canvas& c) {
    const PointF shape[] = {{0.0, 2.5}, {6.0, 1.2}, {37.0, 1.4}, {37.0, 3.6}, {6.0, 3.8}};
    fill_polygon(c, shape, rgb(250, 250, 246));
    disc(c, 34, 2, 2, rgb(160, 162, 166));
}

// The limit marker: an orange wedge at the scale's edge, its stem reaching back to the pivot at (27, 2).
void limit_marker(Canvas& c) {
    const PointF wedge[] = {{0.0, 0.0}, {7.0, 2.5}, {0.0, 5.0}};
    fill_polygon(c, wedge, rgb(255, 150, 30));
    c.fill_rect({0, 0, 2, 5}, rgb(255, 150, 30));
}

constexpr Picture kPictures[] = {
    {1000, 181, 387, background},
    {2000, 181, 387, lit_overlay},
    {3000, 37, 5, pointer},
    {4000, 30, 5, limit_marker},
};
constexpr Placement kAssembled[] = {{1000, 0, 0}, {2000, 0, 0}};

}  // namespace

std::span<const Picture> enginegauge_pictures() { return kPictures; }
std::span<const Placement> enginegauge_assembled() { return kAssembled; }

}  // namespace art
