// The FMC's control and display unit: bezel, dark screen, twelve line select keys beside it, the
// function keys below it, and the green key lighting drawn as its own layer.
#include <array>
#include <string_view>

#include "tools/artwork/art_helpers.h"
#include "tools/artwork/art_registry.h"

namespace art {
namespace {

using plat::Canvas;
using plat::rgb;

constexpr int kSize = 280;
// The screen holds the fourteen text lines: x 30..250, y 8..214.
constexpr plat::Rect kScreen = {28, 6, 252, 216};
constexpr std::array<int, 6> kSelectY = {36, 66, 96, 126, 156, 186};
constexpr int kLeftX = 5, kRightX = 252, kSelectW = 23, kSelectH = 15;
constexpr std::array<int, 6> kKeyX = {29, 67, 105, 143, 181, 219};
constexpr int kTopRowY = 225, kBottomRowY = 251, kKeyW = 32, kKeyH = 19;

struct KeyLegend {
    std::string_view top, bottom;  // bottom empty: one line
};
constexpr std::array<KeyLegend, 5> kTopRow = {{{"MENU", ""}, {"RTE", ""}, {"LEGS", ""}, {"PREV", "PAGE"}, {"NEXT", "PAGE"}}};
constexpr std::array<KeyLegend, 5> kBottomRow = {{{"PROG", ""}, {"EXEC", ""}, {"HRZ", "HOLD"}, {"VRT", "HOLD"}, {"SPD", "HOLD"}}};

const plat::ColorRef kKeyFace = rgb(52, 55, 58);
const plat::ColorRef kLegendGrey = rgb(200, 204, 200);
const plat::ColorRef kLitGreen = rgb(60, 255, 90);

void key_legend(Canvas& c, int x, int y, const KeyLegend& k, plat::ColorRef colour) {
    const int cx = x + kKeyW / 2;
    const auto align = plat::text_align::center | plat::text_align::top;
    if (k.bottom.empty()) {
        legend(c, cx, y + 5, k.top, -8, align, 700, colour);
    } else {
        legend(c, cx, y + 1, k.top, -8, align, 700, colour);
        legend(c, cx, y + 9, k.bottom, -8, align, 700, colour);
    }
}

void key_cap(Canvas& c, int x, int y, int w, int h) {
    recess(c, {x - 1, y - 1, x + w + 1, y + h + 1}, rgb(14, 15, 16));
    raised(c, {x, y, x + w, y + h}, kKeyFace);
}

// The line-select mark: a short bar from the key towards the screen edge.
void select_mark(Canvas& c, int key_x, int y, bool left, plat::ColorRef colour) {
    const int mid = y + kSelectH / 2;
    // The bar sits on the cap's screen-side half, pointing at the line it selects.
    const int from = left ? key_x + kSelectW / 2 : key_x + 4;
    c.fill_rect({from, mid - 1, from + kSelectW / 2 - 3, mid + 1}, colour);
}

void face(Canvas& c) {
    panel_plate(c, c.bitmap().bounds());
    screw(c, 6, 6, 30);
    screw(c, kSize - 7, 6, -20);
    screw(c, 6, kSize - 7, 70);
    screw(c, kSize - 7, kSize - 7, 15);
    recess(c, {kScreen.left - 2, kScreen.top - 2, kScreen.right + 2, kScreen.bottom + 2}, ink_black);
    c.fill_rect(kScreen, ink_black);
    for (int y : kSelectY) {
        key_cap(c, kLeftX, y, kSelectW, kSelectH);
        key_cap(c, kRightX, y, kSelectW, kSelectH);
        select_mark(c, kLeftX, y, true, kLegendGrey);
        select_mark(c, kRightX, y, false, kLegendGrey);
    }
    for (std::size_t i = 0; i < kKeyX.size(); ++i) {
        // The top row has five keys; the bottom row ends with the blank eleventh key.
        if (i < kTopRow.size()) key_cap(c, kKeyX[i], kTopRowY, kKeyW, kKeyH);
        key_cap(c, kKeyX[i], kBottomRowY, kKeyW, kKeyH);
        if (i < kTopRow.size()) key_legend(c, kKeyX[i], kTopRowY, kTopRow[i], kLegendGrey);
        if (i < kBottomRow.size()) key_legend(c, kKeyX[i], kBottomRowY, kBottomRow[i], kLegendGrey);
    }
}

// Lit legends only, on see-through black, so the host lays them over the face at night.
void lighting(Canvas& c) {
    for (int y : kSelectY) {
        select_mark(c, kLeftX, y, true, kLitGreen);
        select_mark(c, kRightX, y, false, kLitGreen);
    }
    for (std::size_t i = 0; i < kTopRow.size(); ++i) {
        key_legend(c, kKeyX[i], kTopRowY, kTopRow[i], kLitGreen);
        key_legend(c, kKeyX[i], kBottomRowY, kBottomRow[i], kLitGreen);
    }
}

constexpr Picture kPictures[] = {
    {4096, kSize, kSize, face},
    {5376, kSize, kSize, lighting},
};

constexpr Placement kAssembled[] = {
    {4096, 0, 0},
    {5376, 0, 0},
};

}  // namespace

std::span<const Picture> fmcomputer_pictures() { return kPictures; }
std::span<const Placement> fmcomputer_assembled() { return kAssembled; }

}  // namespace art
