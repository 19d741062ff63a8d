// The DME: three distance drums with white digits behind their windows, the BELOW GLIDE SLOPE
// and GPWS annunciators, a CAUTION light, and the night-lit legend plate over the drums.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <string_view>

#include "dmegauge/layout.h"
#include "tools/artwork/art_helpers.h"
#include "tools/artwork/art_registry.h"

namespace art {
namespace {

using namespace dme_layout;
using plat::Canvas;
using plat::rgb;

const plat::ColorRef kDrum = rgb(22, 22, 24);
const plat::ColorRef kDigit = rgb(236, 236, 230);
const plat::ColorRef kNightLit = rgb(255, 222, 150);
const plat::ColorRef kLensFrame = rgb(30, 32, 34);
constexpr int kNmX = 512, kNmY = 36;  // the NM legend's centre top, on the face

// --- Annunciators --------------------------------------------------------------------------------

void caption_lens(Canvas& c, int x, int y, int w, int h, std::span<const std::string_view> lines, int size,
                  plat::ColorRef glass, plat::ColorRef ink) {
    c.fill_rect({x, y, x + w, y + h}, kLensFrame);
    c.fill_rect({x + 2, y + 2, x + w - 2, y + h - 2}, glass);
    c.select_font(arial(size, 700));
    const int line = c.text_extent("G").height;
    const int top = y + (h - line * static_cast<int>(lines.size())) / 2;
    for (std::size_t i = 0; i < lines.size(); ++i)
        legend(c, x + w / 2, top + static_cast<int>(i) * line, lines[i], size,
               plat::text_align::center | plat::text_align::top, 700, ink);
}

constexpr std::array<std::string_view, 3> kGlideslopeCaption = {"BELOW", "GLIDE", "SLOPE"};
constexpr std::array<std::string_view, 1> kGpwsCaption = {"GPWS"};
constexpr std::array<std::string_view, 1> kCautionCaption = {"CAUTION"};

void glideslope_light(Canvas& c) {
    caption_lens(c, 0, 0, kLightSize, kLightSize, kGlideslopeCaption, -12, rgb(255, 150, 30), ink_black);
}
void ground_proximity_light(Canvas& c) {
    caption_lens(c, 0, 0, kLightSize, kLightSize, kGpwsCaption, -16, rgb(214, 26, 22), kDigit);
}
void third_light(Canvas& c) {
    caption_lens(c, 0, 0, kThirdWidth, kThirdHeight, kCautionCaption, -11, rgb(255, 190, 40), ink_black);
}

// --- Face --------------------------------------------------------------------------------------

void drum_opening(Canvas& c, int left) {
    const int x = kDrumsX + left, y = kDrumsY + kOpeningTop;
    recess(c, {x - 3, y - 3, x + kOpeningWidth + 3, y + kOpeningHeight + 3}, ink_black);
}

void face(Canvas& c) {
    panel_plate(c, c.bitmap().bounds());
    screw(c, 224, 8, 30);
    screw(c, 224, 77, -45);
    screw(c, 522, 8, 10);
    screw(c, 522, 77, 60);
    // The unlit lenses, captions just legible through the dark glass.
    const plat::ColorRef dark_glass = rgb(26, 20, 14), dim = rgb(80, 62, 40);
    caption_lens(c, kGlideslopeX, kGlideslopeY, kLightSize, kLightSize, kGlideslopeCaption, -12, dark_glass, dim);
    caption_lens(c, kGroundProximityX, kGroundProximityY, kLightSize, kLightSize, kGpwsCaption, -16,
                 rgb(28, 12, 12), rgb(86, 40, 36));
    caption_lens(c, kThirdX, kThirdY, kThirdWidth, kThirdHeight, kCautionCaption, -11, dark_glass, dim);
    for (int left : {kHundredsLeft, kTensLeft, kUnitsLeft}) drum_opening(c, left);
    legend(c, kDrumsX + 79, 4, "DME", -12);
    legend(c, kNmX, kNmY, "NM", -11);
}

// Over the drum block: only the legend shows, lit for night flying.
void lit_plate(Canvas& c) {
    legend(c, kNmX - kPlateX, kNmY - kPlateY, "NM", -11, plat::text_align::center | plat::text_align::top, 700,
           kNightLit);
}

// --- Drums -------------------------------------------------------------------------------------

// A drum strip as wide as the drum block: digit n sits centred in the opening when the drum's
// value is n + zero, and the strip moves kDigitPitch pixels per unit of value from `min` on.
void drum_strip(Canvas& c, int left, double min, double zero) {
    const int x0 = left, x1 = left + kOpeningWidth;
    c.fill_rect({x0, 0, x1, c.height()}, kDrum);
    c.select_font(arial(-36, 700));
    const int digit_h = c.text_extent("0").height;
    const int first = static_cast<int>(std::floor(min - zero)) - 2;
    const int last = first + c.height() / kDigitPitch + 4;
    char text[4];
    for (int n = first; n <= last; ++n) {
        const int top = kOpeningTop + static_cast<int>(std::lround((n + zero - min) * kDigitPitch));
        if (top + kDigitPitch < 0 || top > c.height()) continue;
        std::snprintf(text, sizeof text, "%d", ((n % 10) + 10) % 10);
        legend(c, (x0 + x1) / 2, top + (kDigitPitch - digit_h) / 2, text, -36,
               plat::text_align::center | plat::text_align::top, 700, kDigit);
        c.fill_rect({x0, top, x1, top + 1}, rgb(40, 40, 44));
    }
}

void units_strip(Canvas& c) { drum_strip(c, kUnitsLeft, kUnitsMin, 1.8); }
void tens_strip(Canvas& c) { drum_strip(c, kTensLeft, kTensMin, 0.0); }
void hundreds_strip(Canvas& c) { drum_strip(c, kHundredsLeft, kHundredsMin, 0.0); }

void opening_mask(Canvas& c, int left) {
    c.fill_rect({left, kOpeningTop, left + kOpeningWidth, kOpeningTop + kOpeningHeight}, rgb(255, 255, 255));
}
void units_mask(Canvas& c) { opening_mask(c, kUnitsLeft); }
void tens_mask(Canvas& c) { opening_mask(c, kTensLeft); }
void hundreds_mask(Canvas& c) { opening_mask(c, kHundredsLeft); }

constexpr Picture kPictures[] = {
    {4096, kFaceWidth, kFaceHeight, nothing_drawn},
    {4099, kPlateWidth, kPlateHeight, lit_plate},
    {8192, kDrumsWidth, kDrumsHeight + kUnitsTravel, units_strip},
    {8195, kDrumsWidth, kDrumsHeight, units_mask},
    {12288, kDrumsWidth, kDrumsHeight + kTensTravel, tens_strip},
    {12291, kDrumsWidth, kDrumsHeight, tens_mask},
    {16384, kDrumsWidth, kDrumsHeight + kHundredsTravel, hundreds_strip},
    {16387, kDrumsWidth, kDrumsHeight, hundreds_mask},
    {20480, kLightSize, kLightSize, ground_proximity_light},
    {24576, kLightSize, kLightSize, glideslope_light},
    {28672, kThirdWidth, kThirdHeight, third_light},
};
constexpr Placement kAssembled[] = {
    {4096, 0, 0},
    {20480, kGroundProximityX, kGroundProximityY},
    {4099, kPlateX, kPlateY},
};
// Only the drums and the lights are the gauge's: its face is see-through, the panel carries it.
constexpr PanelFace kPanelFace = {kFaceWidth, kFaceHeight, 0, 0, kFaceWidth, kFaceHeight, face};

}  // namespace

std::span<const Picture> dmegauge_pictures() { return kPictures; }
std::span<const Placement> dmegauge_assembled() { return kAssembled; }
const PanelFace* dmegauge_panel_face() { return &kPanelFace; }

}  // namespace art
