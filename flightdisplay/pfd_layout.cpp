// The flight display's screen geometry, fonts and clip regions, made from the display element's
// image size at each initialization.

#include <cstdlib>

#include "flightdisplay/pfd_state.h"
#include "surface/display_surface.h"

namespace pfd {
namespace {

std::array<std::shared_ptr<plat::Font>, kFontCount> fonts;
std::array<std::optional<plat::Region>, kClipSlots> clip_regions;

// a * b / c rounded to the nearest integer, as the font sizes are computed.
int mul_div(int a, int b, int c) {
    if (c == 0) return 0;
    const long long p = static_cast<long long>(a) * b;
    const long long q = (std::llabs(p) + std::llabs(static_cast<long long>(c)) / 2) / std::llabs(static_cast<long long>(c));
    return static_cast<int>((p < 0) != (c < 0) ? -q : q);
}

std::shared_ptr<plat::Font> arial(int character_height) {
    return plat::Font::open({"Arial", -character_height, 0});
}

}  // namespace

Layout layout;

void make_layout(int W, int H) {
    Layout& g = layout;
    g.W = W;
    g.H = H;
    g.xc = W * 17 / 40;
    g.yc = H / 2;
    g.r = W * 5 / 20;
    g.f = g.xc + W / 39 + g.r - 3;
    g.e = mul_div(W, 1, 23);
    g.t = mul_div(W, 1, 18);
    const int bottom_box = H - W / 18 - 3;
    g.attitude = {g.xc - g.r, g.yc - g.r, g.xc + g.r + 1, g.yc + g.r + 1};
    g.speed = {0, 0, g.xc - g.r - 5, H};
    g.altitude = {g.f, 0, W, bottom_box};
    g.altimeter = {g.f, bottom_box, W, H};
    g.modes = {g.xc - g.r - 5, 0, g.f, g.yc - g.r};
    g.heading = {g.xc - g.r - 5, g.yc + g.r + 1, g.f, H};
}

void make_fonts(plat::Canvas& dc) {
    const int dpi = dc.logical_dpi_y();
    fonts[kFontA] = arial(mul_div(dpi, 1, 9));
    fonts[kFontB] = arial(mul_div(dpi, 1, 11));
    fonts[kFontC] = arial(mul_div(16, dpi, 72));
    fonts[kFontD] = arial(mul_div(dpi, 1, 14));
    fonts[kFontE] = arial(layout.e);
    fonts[kFontF] = arial(layout.t);
    dc.set_bk_mode(plat::BkMode::transparent);
}

void release_tools() {
    for (auto& f : fonts) f.reset();
    for (auto& r : clip_regions) r.reset();
}

const std::shared_ptr<plat::Font>& font(FontId id) { return fonts[static_cast<std::size_t>(id)]; }

const plat::Region& clip_region(ClipSlot slot, plat::Region (*make)()) {
    std::optional<plat::Region>& r = clip_regions[static_cast<std::size_t>(slot)];
    if (!r) r = make();
    return *r;
}

void line(plat::Canvas& dc, plat::Point a, plat::Point b) {
    dc.move_to(a.x, a.y);
    dc.line_to(b.x, b.y);
}

void text(plat::Canvas& dc, FontId f, plat::ColorRef c, unsigned align, int x, int y, const char* s) {
    dc.select_font(font(f));
    dc.set_text_color(c);
    dc.set_text_align(align);
    dc.set_bk_mode(plat::BkMode::transparent);
    dc.text_out(x, y, s);
}

plat::ColorRef colour(int slot) { return surface::SurfaceColour(slot); }

}  // namespace pfd
