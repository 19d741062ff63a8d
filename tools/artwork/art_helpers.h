#pragma once
// Drawing pieces shared by every set of panel art: plate, recesses, screws, knobs, lamps, legends.
// Angles are in degrees from straight up, clockwise, as a pilot reads a selector's position.

#include <memory>
#include <span>
#include <string_view>

#include "platform/canvas/canvas.h"

namespace art {

// The host keys pictures drawn with the transparent flag on pure black, so only the background
// that must let the panel through is this colour; visible dark ink uses ink_black.
inline constexpr plat::ColorRef see_through = plat::rgb(0, 0, 0);
inline constexpr plat::ColorRef ink_black = plat::rgb(8, 8, 8);
inline constexpr plat::ColorRef panel_grey = plat::rgb(60, 64, 68);
inline constexpr plat::ColorRef bevel_light = plat::rgb(118, 123, 128);
inline constexpr plat::ColorRef bevel_mid_light = plat::rgb(88, 93, 98);
inline constexpr plat::ColorRef bevel_dark = plat::rgb(24, 26, 28);
inline constexpr plat::ColorRef bevel_mid_dark = plat::rgb(38, 41, 44);
inline constexpr plat::ColorRef legend_white = plat::rgb(236, 236, 230);

// A picture that is see-through everywhere: a face the panel behind it carries.
inline void nothing_drawn(plat::Canvas&) {}

struct PointF {
    double x = 0;
    double y = 0;
};

plat::ColorRef blend(plat::ColorRef a, plat::ColorRef b, double t);  // t = 0 gives a, 1 gives b
PointF polar(PointF centre, double radius, double angle_deg);

// Arial (Liberation Sans) at a GDI height, opened once per size and weight; throws when the font
// cannot be found, since art without its legends is not worth writing out.
std::shared_ptr<plat::Font> arial(int height, int weight = 700);

// Scanline fill of pixel centres inside the polygon (even-odd), with no pen outline.
void fill_polygon(plat::Canvas& c, std::span<const PointF> points, plat::ColorRef colour);
// A straight bar of the given half width from a to b, square ended.
void fill_bar(plat::Canvas& c, PointF a, PointF b, double half_width, plat::ColorRef colour);
// A disc of radius r around the centre of pixel (cx, cy), odd diameter so it is symmetric.
void disc(plat::Canvas& c, int cx, int cy, int r, plat::ColorRef colour);

// Panel plate: light falls from the top left, so the top and left edges catch it and the face
// darkens slightly downwards as the real painted metal does under the glareshield.
void panel_plate(plat::Canvas& c, const plat::Rect& r);
// A hole or well sunk into the plate: the shadowed edges swap sides.
void recess(plat::Canvas& c, const plat::Rect& r, plat::ColorRef floor);
// A raised flat cap, e.g. a push-button face inside a well.
void raised(plat::Canvas& c, const plat::Rect& r, plat::ColorRef face);
void screw(plat::Canvas& c, int cx, int cy, double slot_angle_deg);

// White engraved legend; sizes of 9 px and up get a dark cut shadow, smaller ones stay crisp.
void legend(plat::Canvas& c, int x, int y, std::string_view text, int height,
            unsigned align = plat::text_align::center | plat::text_align::top, int weight = 700,
            plat::ColorRef colour = legend_white);
// A short radial index mark from radius r0 to r1 at an angle around a centre.
void index_mark(plat::Canvas& c, PointF centre, double r0, double r1, double angle_deg,
                plat::ColorRef colour = legend_white);

enum class KnobGrip {
    pointer_line,  // round knurled knob with a white line to the rim
    bar,           // round knob with a raised grip bar across it, white on the pointing half
};
// A selector knob of radius r (odd diameter) centred on pixel (cx, cy), turned to angle_deg.
void knob(plat::Canvas& c, int cx, int cy, int r, double angle_deg, KnobGrip grip);

// A rotary switch lever in the "chicken head" shape: round hub with a tapering nose.
void lever_knob(plat::Canvas& c, int cx, int cy, int hub_r, double nose_len, double angle_deg);

// A round boss ring sunk in the plate that a knob or lever turns in.
void boss(plat::Canvas& c, int cx, int cy, int r);

// An annunciator lens: body colour with a brighter filament line through its middle when lit.
// A rendered display's screen: dark glass in a two-tone bezel, with the display's colour keys in
// the first pixels of the bottom row. The top and bottom rows are the same bezel colour, since the
// host covers the keys with a copy of the top row.
void display_screen(plat::Canvas& c, plat::ColorRef glass, std::span<const plat::ColorRef> keys);
// What a rendered display shows until its first picture: its name and "SELF TEST" in green.
void display_self_test(plat::Canvas& c, std::string_view name);

void lamp(plat::Canvas& c, const plat::Rect& r, plat::ColorRef body, plat::ColorRef centre_line,
          plat::ColorRef rim);

}  // namespace art
