// The landing-gear panel: the gear lever in its UP / DN slot and the nose, left and right gear
// position lights.
#include <string_view>

#include "tools/artwork/art_helpers.h"
#include "tools/artwork/art_registry.h"

namespace art {
namespace {

using plat::Canvas;
using plat::rgb;

constexpr int kFaceW = 172, kFaceH = 124;
constexpr int kLightSize = 30;
struct LightWindow {
    int x, y;
    std::string_view name;
    int label_y;
};
constexpr LightWindow kNose{30, 34, "N", 22};
constexpr LightWindow kLeft{13, 67, "L", 100};
constexpr LightWindow kRight{46, 67, "R", 100};

// The lever picture sits at (132, 8); its shaft runs in a slot whose ends are the two positions.
constexpr int kLeverX = 132, kLeverY = 8, kLeverW = 35, kLeverH = 113;
constexpr int kLeverAxisX = 17;                     // slot centre line within the picture
constexpr int kUpKnobY = 15, kDownKnobY = 97;       // knob centres within the picture
constexpr int kPivotY = 56;
constexpr int kKnobRadius = 12;

// An unlit lens; the gear-up picture is a 2 x 2 of the same colour, so the window stays dark.
const plat::ColorRef kDarkLens = rgb(24, 27, 24);

void light_window(Canvas& c, const LightWindow& w) {
    recess(c, {w.x - 1, w.y - 1, w.x + kLightSize + 1, w.y + kLightSize + 1}, rgb(14, 15, 16));
    c.fill_rect({w.x, w.y, w.x + kLightSize, w.y + kLightSize}, kDarkLens);
    legend(c, w.x + kLightSize / 2 + 1, w.label_y, w.name, -10);
}

void face(Canvas& c) {
    panel_plate(c, c.bitmap().bounds());
    screw(c, 5, 5, 30);
    screw(c, kFaceW - 6, 5, -25);
    screw(c, 5, kFaceH - 6, 70);
    screw(c, kFaceW - 6, kFaceH - 6, 10);

    legend(c, 61, 4, "LANDING GEAR", -9);
    light_window(c, kNose);
    light_window(c, kLeft);
    light_window(c, kRight);

    // The lever's slot, with its two detents marked where the knob stops.
    const int slot_x = kLeverX + kLeverAxisX;
    recess(c, {slot_x - 4, kLeverY + kUpKnobY - 4, slot_x + 5, kLeverY + kDownKnobY + 5}, rgb(16, 17, 18));
    const int up_y = kLeverY + kUpKnobY, down_y = kLeverY + kDownKnobY;
    c.fill_rect({slot_x - 18, up_y, slot_x - 13, up_y + 1}, legend_white);
    c.fill_rect({slot_x - 18, down_y, slot_x - 13, down_y + 1}, legend_white);
    legend(c, slot_x - 20, up_y - 6, "UP", -10, plat::text_align::right | plat::text_align::top);
    legend(c, slot_x - 20, down_y - 6, "DN", -10, plat::text_align::right | plat::text_align::top);
}

// A gear handle: a shaft from the slot's pivot and the wheel-shaped knob at its end.
void lever(Canvas& c, int knob_y) {
    const PointF pivot{kLeverAxisX + 0.5, kPivotY + 0.5};
    const PointF end{kLeverAxisX + 0.5, knob_y + 0.5};
    fill_bar(c, pivot, end, 3.0, rgb(104, 108, 112));
    fill_bar(c, pivot, end, 1.5, rgb(150, 154, 158));
    disc(c, kLeverAxisX, kPivotY, 4, rgb(70, 74, 78));
    disc(c, kLeverAxisX + 1, knob_y + 1, kKnobRadius, rgb(14, 15, 16));
    disc(c, kLeverAxisX, knob_y, kKnobRadius, rgb(206, 206, 200));
    disc(c, kLeverAxisX, knob_y, kKnobRadius - 3, rgb(176, 176, 170));
    disc(c, kLeverAxisX, knob_y, 3, rgb(96, 98, 100));
    disc(c, kLeverAxisX - 5, knob_y - 5, 1, rgb(240, 240, 236));
}

void lever_down(Canvas& c) { lever(c, kDownKnobY); }
void lever_up(Canvas& c) { lever(c, kUpKnobY); }

void light_down(Canvas& c) {
    const plat::Rect r = c.bitmap().bounds();
    c.fill_rect(r, rgb(20, 70, 30));
    c.fill_rect({1, 1, r.right - 1, r.bottom - 1}, rgb(16, 46, 22));
    legend(c, kLightSize / 2, 10, "DOWN", -8, plat::text_align::center | plat::text_align::top, 700,
           rgb(90, 255, 120));
}

void light_blank(Canvas& c) { c.fill_rect(c.bitmap().bounds(), kDarkLens); }

void light_transit(Canvas& c) {
    const plat::Rect r = c.bitmap().bounds();
    for (int y = 0; y < r.bottom; ++y)
        for (int x = 0; x < r.right; ++x)
            c.set_pixel(x, y, ((x + y) / 5) % 2 ? rgb(60, 10, 8) : rgb(240, 44, 32));
    c.fill_rect({0, 0, r.right, 1}, rgb(120, 20, 16));
    c.fill_rect({0, r.bottom - 1, r.right, r.bottom}, rgb(120, 20, 16));
    c.fill_rect({0, 0, 1, r.bottom}, rgb(120, 20, 16));
    c.fill_rect({r.right - 1, 0, r.right, r.bottom}, rgb(120, 20, 16));
}

constexpr Picture kPictures[] = {
    {4096, kFaceW, kFaceH, face},
    {20480, kLeverW, kLeverH, lever_down},
    {20483, kLeverW, kLeverH, lever_up},
    {8192, kLightSize, kLightSize, light_down},
    {8195, 2, 2, light_blank},
    {8198, kLightSize, kLightSize, light_transit},
    {12288, kLightSize, kLightSize, light_down},
    {12291, 2, 2, light_blank},
    {12294, kLightSize, kLightSize, light_transit},
    {16384, kLightSize, kLightSize, light_down},
    {16387, 2, 2, light_blank},
    {16390, kLightSize, kLightSize, light_transit},
};

constexpr Placement kAssembled[] = {
    {4096, 0, 0},
    {20480, kLeverX, kLeverY},
    {8198, kNose.x, kNose.y},
    {12288, kLeft.x, kLeft.y},
    {16387, kRight.x, kRight.y},
};

}  // namespace

std::span<const Picture> geartalk_pictures() { return kPictures; }
std::span<const Placement> geartalk_assembled() { return kAssembled; }

}  // namespace art
