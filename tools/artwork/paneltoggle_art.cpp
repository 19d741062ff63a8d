// The panel window push button: a square key captioned M in its well, grey when released and
// green when pressed.
#include "tools/artwork/art_helpers.h"
#include "tools/artwork/art_registry.h"

namespace art {
namespace {

using plat::Canvas;
using plat::rgb;

// The key fills the button's click box (3, 12, 103 x 105).
constexpr plat::Rect kWell{3, 12, 106, 117};
constexpr plat::Rect kKey{9, 18, 100, 111};

void background(Canvas& c) {
    panel_plate(c, c.bitmap().bounds());
    screw(c, 6, 5, 25);
    screw(c, 105, 5, -40);
    screw(c, 6, 122, 60);
    screw(c, 105, 122, 0);
    recess(c, kWell, rgb(16, 17, 18));
}

void key(Canvas& c, plat::ColorRef face, plat::ColorRef letter, bool pressed) {
    const int sink = pressed ? 2 : 0;
    const plat::Rect r{kKey.left + sink, kKey.top + sink, kKey.right, kKey.bottom};
    c.fill_rect({r.left + 2, r.top + 2, r.right + 1, r.bottom + 1}, rgb(12, 13, 14));
    raised(c, r, face);
    c.fill_rect({r.left + 6, r.top + 6, r.right - 6, r.bottom - 6}, blend(face, rgb(255, 255, 255), 0.08));
    legend(c, (r.left + r.right) / 2, (r.top + r.bottom) / 2 - 30, "M", -56,
           plat::text_align::center | plat::text_align::top, 700, letter);
}

void key_released(Canvas& c) { key(c, rgb(112, 116, 120), rgb(236, 236, 230), false); }
void key_pressed(Canvas& c) { key(c, rgb(40, 150, 60), rgb(220, 255, 220), true); }

constexpr Picture kPictures[] = {
    {4096, 112, 128, background},
    {8192, 112, 128, key_released},
    {8195, 112, 128, key_pressed},
};
constexpr Placement kAssembled[] = {{4096, 0, 0}, {8192, 0, 0}};

}  // namespace

std::span<const Picture> paneltoggle_pictures() { return kPictures; }
std::span<const Placement> paneltoggle_assembled() { return kAssembled; }

}  // namespace art
