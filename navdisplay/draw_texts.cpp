// The display's texts: NAV1 data at the top right, the radio texts along the bottom, the marker
// letter, the glide-slope scale, the PLAN mode's north box and the database error.

#include <cstdio>
#include <cstring>

#include "navdisplay/draw_tools.h"
#include "surface/display_surface.h"

namespace nd::draw {
namespace {

constexpr unsigned kLeftTop = plat::text_align::left | plat::text_align::top;
constexpr unsigned kRightTop = plat::text_align::right | plat::text_align::top;
constexpr unsigned kLeftBase = plat::text_align::left | plat::text_align::baseline;
constexpr unsigned kRightBase = plat::text_align::right | plat::text_align::baseline;
constexpr unsigned kCentreTop = plat::text_align::center | plat::text_align::top;

// "ILS 1" and four hex digits, with the point before the last two: 0x1090 gives "ILS 110.90".
void format_ils_frequency(char* out, std::size_t n) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "ILS 1%04X", static_cast<unsigned>(low_word(kNav1Frequency)) & 0xFFFFu);
    const std::size_t len = std::strlen(digits);
    std::snprintf(out, n, "%.*s.%s", static_cast<int>(len - 2), digits, digits + len - 2);
}

// A station identifier as the host gives it, at most n characters of it.
std::string_view ident(Var v, std::size_t n) { return std::string_view(text(v), strnlen(text(v), n)); }

void draw_nav1_bottom(plat::Canvas& dc) {
    const int H = state.geo.H;
    if ((low_word(kNav1Flags) & 0x08) || text(kNav1Ident)[0] == '\0') return;
    text(dc, fonts.f9, surface_colour(3), kLeftBase, 0, H - 3 * 9, "VOR1");
    text(dc, fonts.f9, surface_colour(3), kLeftBase, 0, H - 2 * 9, ident(kNav1Ident, 8));
}

void draw_nav2_bottom(plat::Canvas& dc) {
    const int W = state.geo.W, H = state.geo.H;
    if ((low_word(kNav2Flags) & 0x08) || text(kNav2Ident)[0] == '\0') return;
    text(dc, fonts.f9, surface_colour(13), kRightBase, W, H - 27, "VOR2");
    text(dc, fonts.f9, surface_colour(13), kRightBase, W, H - 18, ident(kNav2Ident, 8));
    if (!(low_word(kNav2Flags) & 0x01)) return;
    char distance[32];
    std::snprintf(distance, sizeof distance, "%.1f", value(kDme2Distance));
    text(dc, fonts.data, surface_colour(13), kRightBase, W, H - 9, "DME2");
    text(dc, fonts.data, surface_colour(13), kRightBase, W, H, distance);
}

void draw_adf_bottom(plat::Canvas& dc) {
    const int H = state.geo.H;
    if (value(kAdfActive) == 0) return;
    text(dc, fonts.f9, surface_colour(12), kLeftBase, 0, H - 9, "ADF");
    text(dc, fonts.f9, surface_colour(12), kLeftBase, 0, H, ident(kAdfIdent, 5));
}

void draw_marker(plat::Canvas& dc) {
    const double m = value(kMarker);
    const int H = state.geo.H;
    if (m == 1) text(dc, fonts.f11, plat::rgb(0, 0, 255), kLeftTop, 0, H / 2, "O");
    else if (m == 2) text(dc, fonts.f11, plat::rgb(255, 255, 0), kLeftTop, 0, H / 2, "M");
    else if (m == 3) text(dc, fonts.f11, plat::rgb(255, 255, 255), kLeftTop, 0, H / 2, "I");
}

void draw_glide_slope(plat::Canvas& dc) {
    if (value(kGlideSlopeAvailable) == 0) return;
    const int W = state.geo.W, H = state.geo.H;
    surface::FillSurfaceRect(W - 8, H / 2 - 34, W, H / 2 + 34);
    use_slot(dc, 7);
    line(dc, {W, H / 2}, {W - 6, H / 2});
    dc.select_brush(plat::Brush::none());
    for (int dy : {-28, -14, 14, 28}) dc.ellipse({W - 6, H / 2 + dy - 3, W, H / 2 + dy + 3});
    const int y = trunc_int(value(kGlideSlopeDeviation) * 0.23333333333333334) + H / 2;
    use_slot(dc, 6);
    polyline(dc, {{W, y}, {W - 3, y + 6}, {W - 6, y}, {W - 3, y - 6}, {W, y}});
    dc.select_brush(surface::SurfaceBrush(6));
    dc.flood_fill(W - 3, y, surface::SurfaceColour(6));
}

}  // namespace

void draw_nav1_data(plat::Canvas& dc) {
    const std::int32_t flags = low_word(kNav1Flags);
    if (flags & 0x08) return;
    const int W = state.geo.W, hd = fonts.data_height;
    if (flags & 0x80) {
        char ils[24];
        format_ils_frequency(ils, sizeof ils);
        text(dc, fonts.data, surface_colour(6), kRightTop, W, 4, ils);
    }
    if (flags & 0x01) {
        char dme[32], kt[32];
        std::snprintf(dme, sizeof dme, "DME %.1f", value(kDme1Distance));
        std::snprintf(kt, sizeof kt, "KT %.f", value(kDme1Speed));
        text(dc, fonts.data, surface_colour(9), kLeftTop, W - 5 * hd + 5, hd + 4, dme);
        text(dc, fonts.data, surface_colour(9), kLeftTop, W - 4 * hd + 5, 2 * hd + 4, kt);
    }
}

void draw_bottom_texts(plat::Canvas& dc) {
    dc.set_bk_mode(plat::BkMode::opaque);
    dc.set_bk_color(surface::SurfaceBackground());
    draw_nav1_bottom(dc);
    draw_nav2_bottom(dc);
    draw_adf_bottom(dc);
    draw_marker(dc);
    draw_glide_slope(dc);
    dc.set_bk_mode(plat::BkMode::transparent);
}

void draw_north_box(plat::Canvas& dc) {
    const int W = state.geo.W, H = state.geo.H;
    surface::FillSurfaceRect(W - 10, H / 2 - 55, W, H / 2 - 40);
    use_slot(dc, 0);
    polyline(dc, {{W - 10, H / 2 - 50}, {W - 5, H / 2 - 55}, {W, H / 2 - 50}, {W - 5, H / 2 - 55}, {W - 5, H / 2 - 40}});
    text(dc, fonts.f9, surface_colour(0), plat::text_align::center | plat::text_align::bottom, W - 5, H / 2 - 55, "N");
}

void draw_database_error(plat::Canvas& dc) {
    const int W = state.geo.W, H = state.geo.H;
    char code[24];
    std::snprintf(code, sizeof code, "ERROR %03d", state.db.status);
    text(dc, fonts.f11, kRed, kCentreTop, W / 2, H / 2 - 10, "NAV");
    text(dc, fonts.f11, kRed, kCentreTop, W / 2, H / 2, "DATABASE");
    text(dc, fonts.f11, kRed, kCentreTop, W / 2, H / 2 + 10, code);
}

}  // namespace nd::draw
