// The 737 airspeed indicator: dial with its non-linear knots scale, drum windows, Mach cover,
// needles, autopilot speed marker, speed bug and the drum digit strips.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "tools/artwork/art_helpers.h"
#include "tools/artwork/art_registry.h"

namespace art {
namespace {

using plat::Canvas;
using plat::rgb;

// The needles turn about this point of the dial (the corner between four pixels).
constexpr PointF kPivot{92.0, 88.0};

// Where the gauge's scale puts each speed. The face's marks are placed with the same table and
// the same interpolation the host uses to turn the needles, so a needle reads what its mark says.
struct ScalePoint {
    double x, y, knots;
};
constexpr ScalePoint kScale[] = {
    {81, 19, 0}, {91, 10, 60}, {130, 156, 160}, {85, 166, 200},
    {33, 140, 250}, {17, 109, 300}, {59, 21, 450}, {74, 14, 600},
};

// Degrees clockwise from straight up, growing along the table.
double angle_of(double knots) {
    constexpr int n = sizeof kScale / sizeof kScale[0];
    double angles[n];
    for (int i = 0; i < n; ++i) {
        double a = std::atan2(kScale[i].y - kPivot.y, kScale[i].x - kPivot.x) * 180.0 / std::numbers::pi;
        if (a < 0) a += 360.0;
        if (i > 0)
            while (a < angles[i - 1]) a += 360.0;
        angles[i] = a;
    }
    double host = angles[n - 1];
    if (knots <= kScale[0].knots) {
        host = angles[0];
    } else {
        for (int i = 1; i < n; ++i)
            if (knots <= kScale[i].knots) {
                const double f = (knots - kScale[i - 1].knots) / (kScale[i].knots - kScale[i - 1].knots);
                host = angles[i - 1] + f * (angles[i] - angles[i - 1]);
                break;
            }
    }
    return host + 90.0;  // the host counts from 3 o'clock
}

const plat::ColorRef kFace = rgb(22, 23, 25);
const plat::ColorRef kMark = rgb(238, 238, 232);
const plat::ColorRef kDrum = ink_black;
const plat::ColorRef kWindowEdge = rgb(96, 98, 102);

// Centred on a point both ways.
void label_at(Canvas& c, PointF at, const char* text, int height, int weight = 700) {
    c.select_font(arial(height, weight));
    const int cell = c.text_extent(text).height;
    c.set_bk_mode(plat::BkMode::transparent);
    c.set_text_align(plat::text_align::center | plat::text_align::top);
    c.set_text_color(kMark);
    c.text_out(static_cast<int>(std::lround(at.x)), static_cast<int>(std::lround(at.y - cell / 2.0)), text);
}

void tick(Canvas& c, double knots, double r0, double half_width = 0.6) {
    fill_bar(c, polar(kPivot, r0, angle_of(knots)), polar(kPivot, 77.0, angle_of(knots)), half_width, kMark);
}

void scale(Canvas& c) {
    for (int k = 60; k <= 450; k += 10) {
        const bool major = (k <= 200 && k % 20 == 0) || (k > 200 && k % 50 == 0);
        tick(c, k, major ? 66.0 : 71.0, major ? 0.9 : 0.55);
    }
    for (int k = 500; k <= 600; k += 50) tick(c, k, 71.0, 0.55);
    const int labelled[] = {60, 80, 100, 120, 140, 160, 200, 250, 300, 350, 400, 450};
    char text[8];
    for (int k : labelled) {
        std::snprintf(text, sizeof text, "%d", k);
        label_at(c, polar(kPivot, 57.0, angle_of(k)), text, -11);
    }
}

// A drum window sunk into the face, with the index arrow the digits are read against.
void window_frame(Canvas& c, const plat::Rect& r) {
    c.fill_rect({r.left - 2, r.top - 2, r.right + 2, r.bottom + 2}, kWindowEdge);
    c.fill_rect({r.left - 1, r.top - 1, r.right + 1, r.bottom + 1}, rgb(12, 12, 13));
    c.fill_rect(r, kDrum);
}

void dial(Canvas& c) {
    panel_plate(c, c.bitmap().bounds());
    screw(c, 6, 6, 30);
    screw(c, 174, 174, -40);
    // Bezel and face.
    disc(c, 92, 88, 88, rgb(30, 32, 35));
    disc(c, 91, 87, 87, rgb(54, 57, 61));
    disc(c, 92, 88, 84, rgb(38, 40, 43));
    disc(c, 92, 88, 79, kFace);
    scale(c);
    // Airspeed drums: hundreds and tens in one band, the taller units window beside them.
    window_frame(c, {70, 111, 81, 125});
    window_frame(c, {86, 111, 97, 125});
    window_frame(c, {101, 104, 112, 132});
    // Mach drums: tenths, a decimal point, hundredths, all inside the box the cover closes.
    c.fill_rect({73, 50, 109, 79}, kWindowEdge);
    c.fill_rect({74, 51, 108, 78}, rgb(12, 12, 13));
    c.fill_rect({78, 58, 89, 72}, kDrum);
    c.fill_rect({96, 51, 107, 79}, kDrum);
    c.fill_rect({91, 69, 94, 72}, kMark);
    label_at(c, {92.0, 44.0}, "MACH", -8);
    label_at(c, {92.0, 98.0}, "KNOTS", -8);
    // The autopilot speed knob in the lower left corner.
    knob(c, 15, 163, 9, -30, KnobGrip::pointer_line);
    legend(c, 15, 146, "SPD", -7, plat::text_align::center | plat::text_align::top, 400);
    // Bug set tabs down the right edge: down half, up half.
    const int rows[] = {0, 35, 80, 125, 160};
    for (int i = 0; i < 5; ++i) {
        char n[4];
        std::snprintf(n, sizeof n, "%d", i + 1);
        const int y = rows[i];
        const plat::Rect tab{164, y + 3, 180, y + 17};
        c.fill_rect(tab, rgb(28, 29, 31));
        c.fill_rect({tab.left + 1, tab.top + 1, tab.right - 1, tab.bottom - 1}, rgb(70, 74, 79));
        legend(c, 172, y + 4, n, -10, plat::text_align::center | plat::text_align::top);
    }
}

// Covers the Mach drums until Mach 0.4: the face's own colour with a hatched flag.
void mach_cover(Canvas& c) {
    c.fill_rect(c.bitmap().bounds(), kFace);
    const plat::Rect flag{3, 3, 35, 28};
    c.fill_rect(flag, rgb(58, 60, 63));
    for (int x = flag.left - flag.bottom; x < flag.right; x += 5)
        fill_bar(c, {double(x), double(flag.bottom)}, {double(x + 25), double(flag.top)}, 1.0, rgb(34, 35, 37));
    c.fill_rect({0, 0, 36, 1}, kWindowEdge);
}

// Needles point right from their pivot at (5, 5).
void airspeed_needle(Canvas& c) {
    const PointF quad[] = {{5.5, 3.0}, {62.0, 4.2}, {74.0, 5.5}, {62.0, 6.8}, {5.5, 8.0}};
    fill_polygon(c, quad, rgb(120, 120, 116));
    const PointF inner[] = {{5.5, 3.8}, {62.0, 4.8}, {72.5, 5.5}, {62.0, 6.2}, {5.5, 7.2}};
    fill_polygon(c, inner, rgb(248, 248, 244));
    disc(c, 5, 5, 5, rgb(90, 92, 96));
    disc(c, 5, 5, 3, rgb(150, 152, 156));
}

// The maximum operating speed pointer: the red and white "barber pole".
void max_speed_needle(Canvas& c) {
    c.fill_rect({16, 4, 72, 7}, rgb(248, 248, 244));
    for (int x = 16; x < 72; x += 8) c.fill_rect({x, 4, x + 4, 7}, rgb(214, 30, 30));
    c.fill_rect({16, 3, 72, 4}, rgb(90, 20, 20));
    c.fill_rect({16, 7, 72, 8}, rgb(90, 20, 20));
}

// Magenta command marker straddling the scale's edge, notched toward the centre.
void autopilot_marker(Canvas& c) {
    const plat::ColorRef magenta = rgb(232, 64, 210);
    c.fill_rect({0, 1, 10, 4}, magenta);
    c.fill_rect({0, 7, 10, 10}, magenta);
    c.fill_rect({5, 1, 10, 10}, magenta);
}

// A speed bug on the bezel: a white wedge whose tip points at its speed on the scale.
void speed_bug(Canvas& c) {
    const PointF outline[] = {{0.0, 5.5}, {9.0, 0.0}, {9.0, 11.0}};
    fill_polygon(c, outline, rgb(80, 80, 78));
    const PointF body[] = {{1.6, 5.5}, {8.2, 1.4}, {8.2, 9.6}};
    fill_polygon(c, body, rgb(250, 250, 246));
}

// Digits 0, 9 .. 1, 0 downwards in 14-pixel cells, the first cell's centre at row `first_centre`.
void digit_strip(Canvas& c, int first_centre) {
    c.fill_rect(c.bitmap().bounds(), kDrum);
    c.select_font(arial(-13, 700));
    c.set_bk_mode(plat::BkMode::transparent);
    c.set_text_align(plat::text_align::center | plat::text_align::top);
    c.set_text_color(kMark);
    const int cell = c.text_extent("0").height;
    for (int k = -1; k <= 11; ++k) {
        const int digit = ((10 - k) % 10 + 10) % 10;
        const char text[2] = {static_cast<char>('0' + digit), '\0'};
        c.text_out(6, first_centre + 14 * k - cell / 2, text);
    }
}

void digit_strip_single(Canvas& c) { digit_strip(c, 7); }
void digit_strip_tall(Canvas& c) { digit_strip(c, 14); }

constexpr Picture kPictures[] = {
    {1000, 181, 181, dial},
    {1010, 36, 29, mach_cover},
    {2000, 76, 11, airspeed_needle},
    {2010, 76, 11, max_speed_needle},
    {2020, 10, 11, autopilot_marker},
    {2030, 9, 11, speed_bug},
    {3000, 11, 154, digit_strip_single},
    {3010, 11, 168, digit_strip_tall},
};
constexpr Placement kAssembled[] = {{1000, 0, 0}, {1010, 73, 50}};

}  // namespace

std::span<const Picture> airspeed_pictures() { return kPictures; }
std::span<const Placement> airspeed_assembled() { return kAssembled; }

}  // namespace art
