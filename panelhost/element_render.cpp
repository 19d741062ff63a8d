#include "panelhost/element_render.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>

#include "panelhost/panel.h"
#include "platform/canvas/canvas.h"

namespace panelhost {
namespace {

std::uint32_t opaque_rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return kOpaque | (std::uint32_t{r} << 16) | (std::uint32_t{g} << 8) | b;
}

std::uint32_t from_colorref(std::uint32_t c) {
    return opaque_rgb(static_cast<std::uint8_t>(c & 0xFF), static_cast<std::uint8_t>((c >> 8) & 0xFF),
                      static_cast<std::uint8_t>((c >> 16) & 0xFF));
}

// The picture index a static image or icon shows now, or none.
std::optional<std::size_t> picture_index(const ElementState& s) {
    if (s.element->kind == gauge::element_static) return 0;
    if (!s.has_value || s.value < 0 || std::isnan(s.value)) return std::nullopt;
    return static_cast<std::size_t>(std::min(s.value, 1e9));  // beyond: the last picture
}

// One pixel of a host image as an opaque 32-bit pixel.
std::uint32_t host_pixel(const HostImage& src, const std::uint8_t* row, int x) {
    switch (src.bits_per_pixel) {
        case 8: return kOpaque | src.palette[row[x]];
        case 16: {
            const unsigned v = row[2 * x] | (row[2 * x + 1] << 8);
            const unsigned r = (v >> 10) & 31, g = (v >> 5) & 31, b = v & 31;
            return opaque_rgb(static_cast<std::uint8_t>(r << 3 | r >> 2), static_cast<std::uint8_t>(g << 3 | g >> 2),
                              static_cast<std::uint8_t>(b << 3 | b >> 2));
        }
        case 24: return opaque_rgb(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
        default: return kOpaque;
    }
}

// A host image drawn straight from its own pixels, as draw_image draws it once converted: every
// pixel is opaque, so only black ones of a transparent element are left out.
void draw_host_image(Image& dst, const HostImage& src, int x, int y, bool transparent) {
    const int x0 = std::max(0, x), y0 = std::max(0, y);
    const int x1 = std::min(dst.width, x + src.width), y1 = std::min(dst.height, y + src.height);
    for (int py = y0; py < y1; ++py) {
        const std::uint8_t* in = src.pixels.data() + static_cast<std::size_t>(py - y) * src.pitch;
        std::uint32_t* out = dst.row(py);
        if (src.bits_per_pixel == 8) {
            for (int px = x0; px < x1; ++px) {
                const std::uint32_t c = src.palette[in[px - x]];
                if (!transparent || !is_black(c)) out[px] = kOpaque | c;
            }
            continue;
        }
        for (int px = x0; px < x1; ++px) {
            const std::uint32_t p = host_pixel(src, in, px - x);
            if (!(transparent && is_black(p))) out[px] = p;
        }
    }
}

// Draws a static image or icon: the host image the module wrote, or its bitmap.
void draw_picture(Image& dst, const ElementState& s, std::size_t index) {
    const gauge::Element& e = *s.element;
    const bool transparent = e.draw_flags & gauge::draw_transparent;
    if (index < s.host_images.size())
        draw_host_image(dst, *s.host_images[index], e.position.x, e.position.y, transparent);
    else if (!s.pictures.empty())
        draw_image(dst, s.pictures[std::min(index, s.pictures.size() - 1)], e.position.x, e.position.y, transparent);
}

// True when the element paints every pixel of the gauge's picture: an opaque host image over all
// of it. What lies under it need not be drawn.
bool covers_picture(const ElementState& s, const Image& dst) {
    if (s.hidden || s.element->draw_flags & gauge::draw_transparent) return false;
    if (s.element->kind != gauge::element_static && s.element->kind != gauge::element_icon) return false;
    const std::optional<std::size_t> index = picture_index(s);
    if (!index || *index >= s.host_images.size()) return false;
    const HostImage& h = *s.host_images[*index];
    const gauge::Element& e = *s.element;
    return e.position.x <= 0 && e.position.y <= 0 && e.position.x + h.width >= dst.width &&
           e.position.y + h.height >= dst.height;
}

// The offsets dx where a * dx + b may lie in [lo, hi), narrowed into [from, to]. Generous by a
// little, since the caller still tests every pixel; a line that hardly turns is taken whole or not.
void narrow_to(double a, double b, double lo, double hi, double& from, double& to) {
    if (std::abs(a) < 1e-6) {
        if (b < lo - 1 || b > hi + 1) to = from - 1;
        return;
    }
    double d0 = (lo - b) / a, d1 = (hi - b) / a;
    if (d0 > d1) std::swap(d0, d1);
    from = std::max(from, d0 - 2);
    to = std::min(to, d1 + 2);
}

void draw_needle(Image& dst, const gauge::Needle& n, const Image& bitmap, double degrees) {
    const double a = degrees * M_PI / 180.0;
    const double c = std::cos(a), s = std::sin(a);
    const double px = n.pivot.x, py = n.pivot.y;
    double radius = 0;
    for (double cx : {0.0, double(bitmap.width)})
        for (double cy : {0.0, double(bitmap.height)}) radius = std::max(radius, std::hypot(cx - px, cy - py));
    const int r = static_cast<int>(std::ceil(radius)) + 1;
    const int x0 = std::max(0, n.position.x - r), x1 = std::min(dst.width, n.position.x + r + 1);
    const int y0 = std::max(0, n.position.y - r), y1 = std::min(dst.height, n.position.y + r + 1);
    for (int y = y0; y < y1; ++y) {
        std::uint32_t* row = dst.row(y);
        const double dy = y + 0.5 - n.position.y;
        // A needle is a thin bitmap turned: most of the square around the pivot misses it, so only
        // the pixels near the turned bitmap's span in this row are mapped back.
        double from = x0 + 0.5 - n.position.x, to = x1 - 0.5 - n.position.x;
        narrow_to(c, dy * s + px, 0, bitmap.width, from, to);
        narrow_to(-s, dy * c + py, 0, bitmap.height, from, to);
        if (from > to) continue;
        const int first = std::max(x0, static_cast<int>(std::floor(from + n.position.x - 0.5)));
        const int last = std::min(x1, static_cast<int>(std::ceil(to + n.position.x - 0.5)) + 1);
        for (int x = first; x < last; ++x) {
            const double dx = x + 0.5 - n.position.x;
            // The inverse of a clockwise turn maps the screen pixel back into the unturned bitmap.
            const int sx = static_cast<int>(std::floor(dx * c + dy * s + px));
            const int sy = static_cast<int>(std::floor(-dx * s + dy * c + py));
            if (sx < 0 || sy < 0 || sx >= bitmap.width || sy >= bitmap.height) continue;
            std::uint32_t p = bitmap.row(sy)[sx];
            if ((p >> 24) != 0 && !is_black(p)) row[x] = p;
        }
    }
}

void draw_moving(Image& dst, const gauge::MovingImage& m, const Image& strip, const Image& mask, double value) {
    double t = m.max > m.min ? (value - m.min) / (m.max - m.min) : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    const int ox = static_cast<int>(std::lround(t * m.travel_x));
    const int oy = static_cast<int>(std::lround(t * m.travel_y));
    const bool transparent = m.draw_flags & gauge::draw_transparent;
    for (int wy = 0; wy < m.window_height; ++wy) {
        const int y = m.position.y + wy, sy = wy + oy;
        if (y < 0 || y >= dst.height || sy < 0 || sy >= strip.height) continue;
        for (int wx = 0; wx < m.window_width; ++wx) {
            const int x = m.position.x + wx, sx = wx + ox;
            if (x < 0 || x >= dst.width || sx < 0 || sx >= strip.width) continue;
            if (!mask.empty() && (wx >= mask.width || wy >= mask.height || is_black(mask.row(wy)[wx]))) continue;
            std::uint32_t p = strip.row(sy)[sx];
            if (transparent && is_black(p)) continue;
            dst.row(y)[x] = p;
        }
    }
}

void draw_string(Image& dst, gauge::StringElement& e, const std::string& text) {
    const int w = e.width > 0 ? e.width : dst.width - e.position.x;
    const int h = e.height > 0 ? e.height : dst.height - e.position.y;
    if (w <= 0 || h <= 0) return;
    if (!(e.draw_flags & gauge::draw_transparent))
        fill_rect(dst, e.position.x, e.position.y, w, h, from_colorref(e.back_colour));
    auto font = plat::Font::open({e.font_face ? e.font_face : "Arial", e.font_height ? e.font_height : -h,
                                  e.font_weight});
    if (!font || text.empty()) return;
    // Ink is drawn white on black into a scratch box, then laid into the picture per character
    // colour, so the highlight range can take its own colour.
    plat::Bitmap box(w, h, plat::PixelFormat::xrgb32);
    plat::Canvas canvas(box);
    canvas.select_font(font);
    canvas.set_bk_mode(plat::BkMode::transparent);
    canvas.set_text_color(plat::rgb(255, 255, 255));
    canvas.set_text_align(plat::text_align::left | plat::text_align::top);
    const int total = font->text_width(text);
    int x = e.align == 1 ? (w - total) / 2 : e.align == 2 ? w - total : 0;
    const int y = (h - font->cell_height()) / 2;
    std::vector<int> starts;
    for (std::size_t i = 0; i < text.size(); ++i) {
        starts.push_back(x);
        x += font->glyph(static_cast<unsigned char>(text[i])).advance;
    }
    canvas.text_out(starts.empty() ? 0 : starts.front(), y, text);
    const std::uint32_t ink = from_colorref(e.text_colour);
    const std::uint32_t highlight = from_colorref(e.highlight_colour);
    for (int by = 0; by < h; ++by) {
        const int py = e.position.y + by;
        if (py < 0 || py >= dst.height) continue;
        const std::uint8_t* inked = box.scanline(by);
        std::size_t ci = 0;
        for (int bx = 0; bx < w; ++bx) {
            const int px = e.position.x + bx;
            while (ci + 1 < starts.size() && bx >= starts[ci + 1]) ++ci;
            std::uint32_t ink_here;
            std::memcpy(&ink_here, inked + 4 * static_cast<std::size_t>(bx), sizeof ink_here);
            if (px < 0 || px >= dst.width || ink_here == 0) continue;
            const bool lit = static_cast<int>(ci) >= e.highlight_from && static_cast<int>(ci) < e.highlight_to;
            dst.row(py)[px] = lit ? highlight : ink;
        }
    }
}

}  // namespace

double needle_degrees(const gauge::Needle& n, double value) {
    if (!n.scale || n.scale_count <= 0) return value;
    const gauge::ScaleEntry* t = n.scale;
    const int count = std::min(n.scale_count, 64);
    // Each entry's direction, clockwise from the unturned bitmap (3 o'clock), made to grow along the
    // table so that interpolation always turns clockwise.
    double angles[64];
    for (int i = 0; i < count; ++i) {
        const double a = std::atan2(double(t[i].point.y - n.position.y), double(t[i].point.x - n.position.x)) * 180.0 / M_PI;
        angles[i] = a < 0 ? a + 360.0 : a;
        if (i > 0)
            while (angles[i] < angles[i - 1]) angles[i] += 360.0;
    }
    if (value <= t[0].value) return angles[0];
    for (int i = 1; i < count; ++i)
        if (value <= t[i].value) {
            const double span = t[i].value - t[i - 1].value;
            const double f = span > 0 ? (value - t[i - 1].value) / span : 1.0;
            return angles[i - 1] + f * (angles[i] - angles[i - 1]);
        }
    return angles[count - 1];
}

const std::array<std::uint32_t, 256>& default_panel_palette() {
    static const std::array<std::uint32_t, 256> palette = [] {
        std::array<std::uint32_t, 256> p{};
        const auto& base = plat::Bitmap::default_palette();
        for (std::size_t i = 0; i < p.size(); ++i)
            p[i] = (std::uint32_t{plat::get_r(base[i])} << 16) | (std::uint32_t{plat::get_g(base[i])} << 8) |
                   plat::get_b(base[i]);
        return p;
    }();
    return palette;
}

void convert_host_image(const HostImage& src, Image& dst) {
    if (dst.width != src.width || dst.height != src.height) dst = Image(src.width, src.height);
    for (int y = 0; y < src.height; ++y) {
        const std::uint8_t* in = src.pixels.data() + static_cast<std::size_t>(y) * src.pitch;
        std::uint32_t* out = dst.row(y);
        for (int x = 0; x < src.width; ++x) out[x] = host_pixel(src, in, x);
    }
}

void render_gauge(GaugeInstance& g, const PanelOptions&) {
    Image& dst = g.picture;
    // Drawing starts at the last element that covers the whole picture, if any.
    auto first = g.elements.begin();
    bool covered = false;
    for (auto it = g.elements.begin(); it != g.elements.end(); ++it)
        if (covers_picture(**it, dst)) first = it, covered = true;
    if (!covered) std::fill(dst.pixels.begin(), dst.pixels.end(), 0u);
    for (auto it = first; it != g.elements.end(); ++it) {
        ElementState& s = **it;
        gauge::Element& e = *s.element;
        if (s.hidden) continue;
        switch (e.kind) {
            case gauge::element_static:
            case gauge::element_icon:
                if (const std::optional<std::size_t> index = picture_index(s)) draw_picture(dst, s, *index);
                break;
            case gauge::element_needle:
                if (!s.pictures.empty() && s.has_value)
                    draw_needle(dst, static_cast<gauge::Needle&>(e), s.pictures.front(),
                                needle_degrees(static_cast<gauge::Needle&>(e), s.value));
                break;
            case gauge::element_moving:
                if (!s.pictures.empty() && s.has_value)
                    draw_moving(dst, static_cast<gauge::MovingImage&>(e), s.pictures.front(), s.mask, s.value);
                break;
            case gauge::element_string:
                draw_string(dst, static_cast<gauge::StringElement&>(e), s.shown_text);
                break;
        }
    }
}

}  // namespace panelhost
