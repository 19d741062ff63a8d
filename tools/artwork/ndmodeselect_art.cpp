// The ND mode selector panel: map-mode knob, range knob, map-item push buttons and their lamps.
#include <array>
#include <string_view>

#include "tools/artwork/art_helpers.h"
#include "tools/artwork/art_registry.h"

namespace art {
namespace {

using plat::Canvas;
using plat::rgb;

// Knob axes on the face; the knob pictures are drawn around the same points in their own boxes.
constexpr int kModeIconX = 16, kModeIconY = 36, kModeAxisX = 14, kModeAxisY = 11;
constexpr int kRangeIconX = 69, kRangeIconY = 36, kRangeAxisX = 13, kRangeAxisY = 11;
constexpr int kKnobRadius = 9;

constexpr std::array<double, 3> kModeAngles = {-45, 0, 45};
constexpr std::array<std::string_view, 3> kModeNames = {"VOR", "MAP", "PLAN"};
constexpr std::array<double, 7> kRangeAngles = {-75, -50, -25, 0, 25, 50, 75};
constexpr std::array<std::string_view, 7> kRangeNames = {"10", "20", "40", "80", "160", "320", "640"};

constexpr std::array<int, 5> kLampX = {0, 26, 52, 78, 104};
constexpr std::array<int, 5> kButtonX = {1, 27, 53, 79, 105};
constexpr std::array<std::string_view, 5> kButtonNames = {"RTE", "WPT", "VOR", "NDB", "ARPT"};
constexpr int kLampY = 61, kLampW = 24, kLampH = 8;
constexpr int kButtonTop = 75, kButtonBottom = 91, kButtonW = 23;

// Centred on a point both ways, so arc labels sit evenly around their knob.
void legend_at(Canvas& c, double x, double y, std::string_view text, int height, int weight = 400) {
    c.select_font(arial(height, weight));
    const int cell = c.text_extent(text).height;
    legend(c, static_cast<int>(x + 0.5), static_cast<int>(y - cell / 2.0 + 0.5), text, height,
           plat::text_align::center | plat::text_align::top, weight);
}

void face(Canvas& c) {
    panel_plate(c, c.bitmap().bounds());
    screw(c, 5, 5, 30);
    screw(c, 128, 5, -20);

    const int mode_x = kModeIconX + kModeAxisX, mode_y = kModeIconY + kModeAxisY;
    const PointF mode_axis{mode_x + 0.5, mode_y + 0.5};
    legend(c, mode_x + 1, 3, "MODE", -9, plat::text_align::center | plat::text_align::top, 400);
    boss(c, mode_x, mode_y, kKnobRadius + 3);
    for (double a : kModeAngles) index_mark(c, mode_axis, 13.5, 16.5, a);
    legend_at(c, 10, 29, kModeNames[0], -8);
    legend_at(c, mode_x + 1, 23, kModeNames[1], -8);
    legend_at(c, 49, 29, kModeNames[2], -8);

    const int range_x = kRangeIconX + kRangeAxisX, range_y = kRangeIconY + kRangeAxisY;
    const PointF range_axis{range_x + 0.5, range_y + 0.5};
    legend(c, range_x + 1, 3, "RANGE", -9, plat::text_align::center | plat::text_align::top, 400);
    boss(c, range_x, range_y, kKnobRadius + 3);
    for (std::size_t i = 0; i < kRangeAngles.size(); ++i) {
        index_mark(c, range_axis, 13.0, 15.5, kRangeAngles[i]);
        // A flattened arc keeps the outer labels clear of the button row below.
        const PointF at = polar(range_axis, 1.0, kRangeAngles[i]);
        const double dx = at.x - range_axis.x, dy = at.y - range_axis.y;
        legend_at(c, range_axis.x + dx * 25.0, range_axis.y + dy * 22.0, kRangeNames[i], -7);
    }

    for (int x : kLampX) {
        recess(c, {x - 1, kLampY - 1, x + kLampW + 1, kLampY + kLampH + 1}, ink_black);
        c.fill_rect({x, kLampY, x + kLampW, kLampY + kLampH}, ink_black);
    }
    for (std::size_t i = 0; i < kButtonX.size(); ++i) {
        const int x = kButtonX[i];
        recess(c, {x, kButtonTop, x + kButtonW, kButtonBottom}, rgb(14, 15, 16));
        raised(c, {x + 1, kButtonTop + 1, x + kButtonW - 1, kButtonBottom - 1}, rgb(44, 47, 51));
        legend_at(c, x + kButtonW / 2.0, (kButtonTop + kButtonBottom) / 2.0, kButtonNames[i], -8);
    }
}

void overlay(Canvas&) {}

template <int Position>
void mode_knob(Canvas& c) {
    knob(c, kModeAxisX, kModeAxisY, kKnobRadius, kModeAngles[Position], KnobGrip::bar);
}

template <int Position>
void range_knob(Canvas& c) {
    knob(c, kRangeAxisX, kRangeAxisY, kKnobRadius, kRangeAngles[Position], KnobGrip::pointer_line);
}

void lamp_lit(Canvas& c) {
    lamp(c, c.bitmap().bounds(), rgb(255, 220, 40), rgb(255, 244, 130), rgb(168, 128, 18));
}
void lamp_dark(Canvas& c) {
    lamp(c, c.bitmap().bounds(), rgb(70, 68, 50), rgb(80, 78, 58), rgb(40, 39, 30));
}
void lamp_orange(Canvas& c) {
    lamp(c, c.bitmap().bounds(), rgb(255, 140, 20), rgb(255, 172, 66), rgb(168, 80, 10));
}

constexpr Picture kPictures[] = {
    {4096, 134, 96, face},
    {5376, 134, 96, overlay},
    {8704, 28, 22, mode_knob<0>},
    {8707, 28, 22, mode_knob<1>},
    {8710, 28, 22, mode_knob<2>},
    {8208, kLampW, kLampH, lamp_lit},
    {8211, kLampW, kLampH, lamp_dark},
    {8214, kLampW, kLampH, lamp_orange},
    {8448, 26, 22, range_knob<0>},
    {8451, 26, 22, range_knob<1>},
    {8454, 26, 22, range_knob<2>},
    {8457, 26, 22, range_knob<3>},
    {8460, 26, 22, range_knob<4>},
    {8463, 26, 22, range_knob<5>},
    {8466, 26, 22, range_knob<6>},
};

constexpr Placement kAssembled[] = {
    {4096, 0, 0},
    {8707, kModeIconX, kModeIconY},
    {8454, kRangeIconX, kRangeIconY},
    {8208, kLampX[0], kLampY},
    {8211, kLampX[1], kLampY},
    {8208, kLampX[2], kLampY},
    {8211, kLampX[3], kLampY},
    {8214, kLampX[4], kLampY},
};

}  // namespace

std::span<const Picture> ndmodeselect_pictures() { return kPictures; }
std::span<const Placement> ndmodeselect_assembled() { return kAssembled; }

}  // namespace art
