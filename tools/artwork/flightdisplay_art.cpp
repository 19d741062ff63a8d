// The primary flight display's two bitmaps: the screen behind the rendered picture (4096, whose
// bottom row carries the display's colour keys) and the display's own picture before its first
// drawing (8192). Both are 8-bit in the panel palette, so the keys index the colours exactly.
#include "tools/artwork/art_helpers.h"
#include "tools/artwork/art_registry.h"

namespace art {
namespace {

using plat::Canvas;

constexpr int kSize = 256;
const plat::ColorRef kGlass = plat::rgb(18, 18, 18);

// The sixteen drawing colours by role, then the background: the first 17 pixels of the bottom row.
constexpr plat::ColorRef kColourKeys[17] = {
    plat::rgb(128, 128, 128),  // 0 tape and scale backgrounds
    plat::rgb(255, 255, 255),  // 1 lines, scale text
    plat::rgb(128, 0, 0),      // 2 ground
    plat::rgb(0, 128, 128),    // 3 sky
    plat::rgb(255, 255, 255),  // 4 sideslip box
    plat::rgb(255, 0, 0),      // 5 heading select marker
    plat::rgb(255, 0, 0),      // 6 speed limits, V-speeds
    plat::rgb(255, 0, 255),    // 7 flight director bars
    plat::rgb(255, 0, 255),    // 8 altitude select
    plat::rgb(255, 0, 255),    // 9 airspeed select
    plat::rgb(255, 255, 0),    // 10 altimeter setting
    plat::rgb(0, 255, 0),      // 11 engaged modes
    plat::rgb(255, 255, 255),  // 12 armed modes
    plat::rgb(255, 128, 0),    // 13 flight director annunciations
    plat::rgb(0, 255, 0),      // 14 decision height
    plat::rgb(255, 128, 0),    // 15 radio altitude band
    plat::rgb(0, 0, 0),        // background: see-through, so the glass shows where nothing is drawn
};

void screen(Canvas& c) { display_screen(c, kGlass, kColourKeys); }

// What the display shows until its first picture: the power-up self-test legend.
void self_test(Canvas& c) { display_self_test(c, "PFD"); }

constexpr Picture kPictures[] = {
    {4096, kSize, kSize, screen, true},
    {8192, kSize, kSize, self_test, true},
};

constexpr Placement kAssembled[] = {{4096, 0, 0}, {8192, 0, 0}};

}  // namespace

std::span<const Picture> flightdisplay_pictures() { return kPictures; }
std::span<const Placement> flightdisplay_assembled() { return kAssembled; }

}  // namespace art
