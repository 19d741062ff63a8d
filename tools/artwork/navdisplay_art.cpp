// The navigation display's bitmaps: the screen behind the rendered picture (4096, whose bottom row
// carries the display's sixteen colour keys and its background key) and the display's two
// pictures before its first drawing (8192, 8195). All 8-bit in the panel palette, so the keys
// index the colours exactly.
#include "tools/artwork/art_helpers.h"
#include "tools/artwork/art_registry.h"

namespace art {
namespace {

using plat::Canvas;

constexpr int kSize = 256;
const plat::ColorRef kGlass = plat::rgb(14, 16, 18);

// The sixteen drawing colours by role, then the background: the first 17 pixels of the bottom row.
constexpr plat::ColorRef kColourKeys[17] = {
    plat::rgb(0, 255, 0),      // 0 heading box, intersections, PLAN north box
    plat::rgb(255, 255, 255),  // 1 compass, numerals, heading digits, wind, trail
    plat::rgb(0, 255, 0),      // 2 aircraft symbol
    plat::rgb(0, 255, 255),    // 3 VOR/DME symbols, course pointer, VOR1 texts, tuned course line
    plat::rgb(255, 0, 255),    // 4 deviation bar
    plat::rgb(255, 255, 255),  // 5 deviation dots
    plat::rgb(255, 0, 255),    // 6 localizers, ILS frequency, glide-slope pointer
    plat::rgb(255, 255, 255),  // 7 glide-slope scale
    plat::rgb(255, 0, 255),    // 8 route, top of climb and descent
    plat::rgb(0, 255, 255),    // 9 DME and KT texts
    plat::rgb(255, 0, 0),      // 10 selected-heading marker, searching mark
    plat::rgb(0, 255, 255),    // 11 to/from triangle
    plat::rgb(255, 128, 0),    // 12 NDBs, ADF needle and texts
    plat::rgb(255, 255, 0),    // 13 VOR2 needle and texts
    plat::rgb(128, 128, 128),  // 14 range label and half-range mark
    plat::rgb(255, 255, 255),  // 15 airports and runways
    plat::rgb(0, 0, 0),        // background: see-through, so the glass shows where nothing is drawn
};

void screen(Canvas& c) { display_screen(c, kGlass, kColourKeys); }

// What the display shows until its first picture: the power-up self-test legend.
void self_test(Canvas& c) { display_self_test(c, "ND"); }

constexpr Picture kPictures[] = {
    {4096, kSize, kSize, screen, true},
    {8192, kSize, kSize, self_test, true},
    {8195, kSize, kSize, self_test, true},
};

constexpr Placement kAssembled[] = {{4096, 0, 0}, {8192, 0, 0}};

}  // namespace

std::span<const Picture> navdisplay_pictures() { return kPictures; }
std::span<const Placement> navdisplay_assembled() { return kAssembled; }

}  // namespace art
