#include "tools/artwork/art_helpers.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "platform/canvas/region.h"

namespace art {
namespace {

using plat::ColorRef;
using plat::Rect;
using plat::rgb;

double radians(double deg) { return deg * std::numbers::pi / 180.0; }

void hline(plat::Canvas& c, int x0, int x1, int y, ColorRef colour) {
    c.fill_rect({x0, y, x1, y + 1}, colour);
}

void vline(plat::Canvas& c, int x, int y0, int y1, ColorRef colour) {
    c.fill_rect({x, y0, x + 1, y1}, colour);
}

// Lit from the top left: each ring of the edge is drawn twice, offset, light above and dark below.
void two_tone_rect(plat::Canvas& c, Rect r, ColorRef top_left, ColorRef bottom_right) {
    hline(c, r.left, r.right, r.top, top_left);
    vline(c, r.left, r.top, r.bottom, top_left);
    hline(c, r.left + 1, r.right, r.bottom - 1, bottom_right);
    vline(c, r.right - 1, r.top + 1, r.bottom, bottom_right);
}

}  // namespace

ColorRef blend(ColorRef a, ColorRef b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    auto mix = [t](int x, int y) {
        return static_cast<std::uint8_t>(std::lround(x + (y - x) * t));
    };
    return rgb(mix(plat::get_r(a), plat::get_r(b)), mix(plat::get_g(a), plat::get_g(b)),
               mix(plat::get_b(a), plat::get_b(b)));
}

PointF polar(PointF centre, double radius, double angle_deg) {
    const double a = radians(angle_deg);
    return {centre.x + radius * std::sin(a), centre.y - radius * std::cos(a)};
}

std::shared_ptr<plat::Font> arial(int height, int weight) {
    static std::map<std::pair<int, int>, std::shared_ptr<plat::Font>> fonts;
    auto& font = fonts[{height, weight}];
    if (!font) {
        std::string error;
        font = plat::Font::open({"Arial", height, weight}, &error);
        if (!font) throw std::runtime_error("cannot open Arial for the legends: " + error);
    }
    return font;
}

void fill_polygon(plat::Canvas& c, std::span<const PointF> points, ColorRef colour) {
    if (points.size() < 3) return;
    double top = points[0].y, bottom = points[0].y;
    for (const PointF& p : points) {
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
    }
    std::vector<double> crossings;
    for (int y = static_cast<int>(std::floor(top)); y <= static_cast<int>(std::ceil(bottom)); ++y) {
        const double yc = y + 0.5;
        crossings.clear();
        for (std::size_t i = 0; i < points.size(); ++i) {
            const PointF& a = points[i];
            const PointF& b = points[(i + 1) % points.size()];
            if ((a.y <= yc) == (b.y <= yc)) continue;
            crossings.push_back(a.x + (yc - a.y) * (b.x - a.x) / (b.y - a.y));
        }
        std::sort(crossings.begin(), crossings.end());
        for (std::size_t i = 0; i + 1 < crossings.size(); i += 2) {
            const int x0 = static_cast<int>(std::ceil(crossings[i] - 0.5));
            const int x1 = static_cast<int>(std::ceil(crossings[i + 1] - 0.5));
            if (x1 > x0) hline(c, x0, x1, y, colour);
        }
    }
}

void fill_bar(plat::Canvas& c, PointF a, PointF b, double half_width, ColorRef colour) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double len = std::hypot(dx, dy);
    if (len <= 0) return;
    const double nx = -dy / len * half_width, ny = dx / len * half_width;
    const PointF quad[] = {{a.x + nx, a.y + ny}, {b.x + nx, b.y + ny}, {b.x - nx, b.y - ny},
                           {a.x - nx, a.y - ny}};
    fill_polygon(c, quad, colour);
}

void disc(plat::Canvas& c, int cx, int cy, int r, ColorRef colour) {
    if (r < 0) return;
    c.fill_region(plat::Region::ellipse({cx - r, cy - r, cx + r + 1, cy + r + 1}),
                  plat::Brush::solid(colour));
}

void panel_plate(plat::Canvas& c, const Rect& r) {
    const ColorRef top = rgb(67, 71, 75), bottom = rgb(55, 59, 63);
    for (int y = r.top; y < r.bottom; ++y) {
        const double t = r.height() > 1 ? double(y - r.top) / (r.height() - 1) : 0.0;
        hline(c, r.left, r.right, y, blend(top, bottom, t));
    }
    two_tone_rect(c, r, bevel_light, bevel_dark);
    two_tone_rect(c, {r.left + 1, r.top + 1, r.right - 1, r.bottom - 1}, bevel_mid_light,
                  bevel_mid_dark);
}

void recess(plat::Canvas& c, const Rect& r, ColorRef floor) {
    c.fill_rect(r, floor);
    two_tone_rect(c, r, bevel_dark, bevel_mid_light);
    two_tone_rect(c, {r.left + 1, r.top + 1, r.right - 1, r.bottom - 1}, blend(bevel_dark, floor, 0.5),
                  blend(floor, bevel_mid_light, 0.4));
}

void raised(plat::Canvas& c, const Rect& r, ColorRef face) {
    c.fill_rect(r, face);
    two_tone_rect(c, r, blend(face, rgb(200, 204, 208), 0.45), blend(face, ink_black, 0.6));
}

void screw(plat::Canvas& c, int cx, int cy, double slot_angle_deg) {
    disc(c, cx + 1, cy + 1, 2, bevel_dark);
    disc(c, cx, cy, 2, rgb(126, 130, 134));
    c.set_pixel(cx - 1, cy - 1, rgb(176, 180, 184));
    const PointF centre{cx + 0.5, cy + 0.5};
    fill_bar(c, polar(centre, 2.2, slot_angle_deg), polar(centre, 2.2, slot_angle_deg + 180), 0.5,
             rgb(40, 42, 44));
}

void legend(plat::Canvas& c, int x, int y, std::string_view text, int height, unsigned align,
            int weight, ColorRef colour) {
    c.select_font(arial(height, weight));
    c.set_bk_mode(plat::BkMode::transparent);
    c.set_text_align(align);
    if (std::abs(height) >= 9) {
        c.set_text_color(rgb(18, 19, 21));
        c.text_out(x + 1, y + 1, text);
    }
    c.set_text_color(colour);
    c.text_out(x, y, text);
}

void index_mark(plat::Canvas& c, PointF centre, double r0, double r1, double angle_deg,
                ColorRef colour) {
    fill_bar(c, polar(centre, r0, angle_deg), polar(centre, r1, angle_deg), 0.55, colour);
}

void knob(plat::Canvas& c, int cx, int cy, int r, double angle_deg, KnobGrip grip) {
    const PointF centre{cx + 0.5, cy + 0.5};
    disc(c, cx + 1, cy + 1, r, rgb(14, 15, 16));
    disc(c, cx, cy, r, rgb(28, 29, 31));
    // Knurled skirt: ridges catch the light on the upper left half only.
    constexpr int ridges = 24;
    for (int i = 0; i < ridges; ++i) {
        const double a = i * 360.0 / ridges;
        const double lit = 0.5 + 0.5 * std::cos(radians(a + 45));
        index_mark(c, centre, r - 1.6, r + 0.2, a, blend(rgb(44, 46, 49), rgb(112, 116, 121), lit));
    }
    // Cap: concentric steps brightening toward a highlight up and to the left of the axis.
    const int cap = r - 2;
    const ColorRef rim = rgb(40, 42, 45), hot = rgb(104, 108, 113);
    for (int k = 0; k <= cap; ++k) {
        const int shift = (k * 2 + cap / 2) / std::max(cap, 1);
        disc(c, cx - shift, cy - shift, cap - k, blend(rim, hot, double(k) / std::max(cap, 1)));
    }
    if (grip == KnobGrip::bar) {
        const PointF tip = polar(centre, r - 0.5, angle_deg);
        const PointF tail = polar(centre, r - 0.5, angle_deg + 180);
        fill_bar(c, tail, tip, 3.3, rgb(20, 21, 23));
        fill_bar(c, tail, tip, 2.4, rgb(70, 73, 77));
        fill_bar(c, polar(tail, 1.0, angle_deg - 90), polar(tip, 1.0, angle_deg - 90), 0.7,
                 rgb(120, 124, 129));
        fill_bar(c, centre, polar(centre, r - 1.0, angle_deg), 0.75, legend_white);
    } else {
        fill_bar(c, polar(centre, 1.5, angle_deg), polar(centre, r - 0.3, angle_deg), 0.85,
                 legend_white);
    }
}

namespace {

std::vector<PointF> lever_outline(PointF centre, double hub_r, double nose_len, double angle_deg,
                                  double grow) {
    std::vector<PointF> pts;
    // The nose: straight flanks from the hub's sides to a narrow rounded tip.
    const double base_half = hub_r * 0.72 + grow, tip_half = 2.2 + grow;
    const PointF tip = polar(centre, nose_len + grow, angle_deg);
    const PointF tail = polar(centre, hub_r * 0.85 + grow, angle_deg + 180);
    pts.push_back(polar(centre, base_half, angle_deg - 90));
    pts.push_back(polar(tip, tip_half, angle_deg - 90));
    for (int i = 1; i < 6; ++i)
        pts.push_back(polar(tip, tip_half, angle_deg - 90 + i * 30));
    pts.push_back(polar(tip, tip_half, angle_deg + 90));
    pts.push_back(polar(centre, base_half, angle_deg + 90));
    pts.push_back(polar(tail, base_half * 0.9, angle_deg + 90));
    pts.push_back(polar(tail, base_half * 0.9, angle_deg - 90));
    return pts;
}

}  // namespace

void lever_knob(plat::Canvas& c, int cx, int cy, int hub_r, double nose_len, double angle_deg) {
    const PointF centre{cx + 0.5, cy + 0.5};
    const PointF shadow_centre{centre.x + 1.5, centre.y + 1.5};
    const plat::ColorRef shadow = rgb(14, 15, 16), edge = rgb(12, 12, 13);
    fill_polygon(c, lever_outline(shadow_centre, hub_r, nose_len, angle_deg, 0.6), shadow);
    disc(c, cx + 1, cy + 1, hub_r + 1, shadow);
    fill_polygon(c, lever_outline(centre, hub_r, nose_len, angle_deg, 1.0), edge);
    disc(c, cx, cy, hub_r, edge);
    // Rim light on the upper left of the moulding, then the body inset from it.
    const PointF lit_centre{centre.x - 0.8, centre.y - 0.8};
    fill_polygon(c, lever_outline(lit_centre, hub_r, nose_len, angle_deg, 0.0), rgb(112, 116, 122));
    disc(c, cx - 1, cy - 1, hub_r - 1, rgb(112, 116, 122));
    fill_polygon(c, lever_outline(centre, hub_r, nose_len, angle_deg, -0.6), rgb(62, 65, 70));
    disc(c, cx, cy, hub_r - 1, rgb(62, 65, 70));
    disc(c, cx, cy, hub_r - 3, rgb(54, 57, 61));
    // Moulded crest along the nose, lit on the face turned toward the light.
    const PointF crest_tip = polar(centre, nose_len - 1.2, angle_deg);
    const PointF crest_tail = polar(centre, hub_r * 0.7, angle_deg + 180);
    const double lit_side = std::cos(radians(angle_deg - 90 + 45)) >= 0 ? -90 : 90;
    fill_bar(c, crest_tail, crest_tip, 3.0, rgb(84, 88, 94));
    fill_bar(c, polar(crest_tail, 2.0, angle_deg + lit_side), polar(crest_tip, 2.0, angle_deg + lit_side),
             0.7, rgb(138, 143, 150));
    fill_bar(c, polar(crest_tail, 2.0, angle_deg - lit_side), polar(crest_tip, 2.0, angle_deg - lit_side),
             0.7, rgb(36, 38, 41));
    fill_bar(c, polar(centre, nose_len * 0.3, angle_deg), polar(centre, nose_len - 0.6, angle_deg),
             1.0, legend_white);
}

void boss(plat::Canvas& c, int cx, int cy, int r) {
    disc(c, cx - 1, cy - 1, r, bevel_dark);
    disc(c, cx + 1, cy + 1, r, bevel_mid_light);
    disc(c, cx, cy, r, rgb(40, 43, 46));
    disc(c, cx, cy, r - 2, rgb(48, 51, 55));
}

void lamp(plat::Canvas& c, const Rect& r, ColorRef body, ColorRef centre_line, ColorRef rim) {
    c.fill_rect(r, rim);
    const Rect lens{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
    c.fill_rect(lens, body);
    const int mid = (r.top + r.bottom) / 2;
    hline(c, lens.left + 1, lens.right - 1, mid - 1, centre_line);
    hline(c, lens.left + 1, lens.right - 1, mid, centre_line);
    hline(c, lens.left + 1, lens.right - 1, lens.top, blend(body, centre_line, 0.4));
}

void display_screen(plat::Canvas& c, plat::ColorRef glass, std::span<const plat::ColorRef> keys) {
    const plat::ColorRef bezel = plat::rgb(48, 48, 48), bezel_edge = plat::rgb(78, 78, 78);
    const int w = c.width(), h = c.height();
    c.fill_rect({0, 0, w, h}, bezel);
    c.fill_rect({1, 1, w - 1, h - 1}, bezel_edge);
    c.fill_rect({2, 2, w - 2, h - 2}, glass);
    c.fill_rect({0, h - 1, w, h}, bezel);
    for (std::size_t i = 0; i < keys.size() && static_cast<int>(i) < w; ++i)
        c.set_pixel(static_cast<int>(i), h - 1, keys[i]);
}

void display_self_test(plat::Canvas& c, std::string_view name) {
    const unsigned centre_top = plat::text_align::center | plat::text_align::top;
    legend(c, c.width() / 2, 104, name, -20, centre_top, 700, plat::rgb(0, 255, 0));
    legend(c, c.width() / 2, 132, "SELF TEST", -14, centre_top, 700, plat::rgb(0, 255, 0));
}

}  // namespace art
