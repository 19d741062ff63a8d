// The YAW DAMP OFF annunciator: a tall lens whose caption lights red. The background and the dark
// overlay are see-through, so the dark lens is the panel's, drawn in its background bitmap; the lit
// overlay covers it with the lens lit.
#include <array>
#include <string_view>

#include "tools/artwork/art_helpers.h"
#include "tools/artwork/art_registry.h"

namespace art {
namespace {

using plat::Canvas;
using plat::rgb;

constexpr std::array<std::string_view, 3> kCaption = {"YAW", "DAMP", "OFF"};

void lens(Canvas& c, plat::ColorRef glass, plat::ColorRef ink, plat::ColorRef frame) {
    const plat::Rect r = c.bitmap().bounds();
    c.fill_rect(r, frame);
    c.fill_rect({r.left + 4, r.top + 4, r.right - 4, r.bottom - 4}, glass);
    c.select_font(arial(-40, 700));
    const int line = c.text_extent("DAMP").height;
    const int top = (r.height() - line * static_cast<int>(kCaption.size())) / 2;
    for (std::size_t i = 0; i < kCaption.size(); ++i)
        legend(c, r.width() / 2, top + static_cast<int>(i) * line, kCaption[i], -40,
               plat::text_align::center | plat::text_align::top, 700, ink);
}

// Unpowered or damper engaged: the caption is only just legible through the dark glass.
void lens_dark(Canvas& c) { lens(c, ink_black, rgb(62, 22, 20), rgb(30, 32, 34)); }
void lens_lit(Canvas& c) { lens(c, rgb(24, 6, 6), rgb(255, 44, 32), rgb(30, 32, 34)); }

constexpr Picture kPictures[] = {
    {4096, 171, 329, nothing_drawn},
    {12288, 163, 323, nothing_drawn},
    {8192, 163, 323, lens_lit},
};
constexpr Placement kAssembled[] = {{4096, 0, 0}, {8192, 7, 5}};
constexpr PanelFace kPanelFace = {171, 329, 7, 5, 163, 323, lens_dark};

}  // namespace

std::span<const Picture> yawdamper_pictures() { return kPictures; }
std::span<const Placement> yawdamper_assembled() { return kAssembled; }
const PanelFace* yawdamper_panel_face() { return &kPanelFace; }

}  // namespace art
