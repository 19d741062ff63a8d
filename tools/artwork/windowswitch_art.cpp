// The window switch: a small square push button on its plate, and the same button pressed in.
#include "tools/artwork/art_helpers.h"
#include "tools/artwork/art_registry.h"

namespace art {
namespace {

using plat::Canvas;
using plat::rgb;

const plat::ColorRef kCap = rgb(48, 51, 55);

void face(Canvas& c) {
    panel_plate(c, c.bitmap().bounds());
    recess(c, {5, 4, 27, 24}, rgb(14, 15, 16));
    raised(c, {6, 5, 26, 23}, kCap);
    legend(c, 16, 8, "44", -9);
}

// The cap pressed into its well: it loses its lit top edge and its legend sits a pixel lower.
void pressed(Canvas& c) {
    const plat::Rect r = c.bitmap().bounds();
    recess(c, r, rgb(14, 15, 16));
    c.fill_rect({2, 2, r.right - 1, r.bottom - 1}, rgb(40, 43, 46));
    legend(c, r.right / 2 + 1, 5, "44", -9);
}

constexpr Picture kPictures[] = {
    {1000, 32, 28, face},
    {1003, 18, 20, pressed},
};
constexpr Placement kAssembled[] = {{1000, 0, 0}};

}  // namespace

std::span<const Picture> windowswitch_pictures() { return kPictures; }
std::span<const Placement> windowswitch_assembled() { return kAssembled; }

}  // namespace art
