#include "tools/artwork/program_icon.h"

#include <algorithm>
#include <stdexcept>

#include "platform/canvas/bitmap.h"
#include "platform/canvas/canvas.h"
#include "platform/canvas/png_file.h"
#include "platform/canvas/region.h"
#include "tools/artwork/art_helpers.h"

namespace art {
namespace {

using plat::ColorRef;
using plat::rgb;

constexpr ColorRef sky = rgb(38, 124, 214);
constexpr ColorRef ground = rgb(150, 92, 42);
constexpr ColorRef horizon_white = rgb(246, 246, 240);
constexpr ColorRef symbol_yellow = rgb(255, 196, 0);
constexpr double bank_deg = -12;  // a left bank, so the picture reads as an attitude and not a flag

// The icon over see-through black on an s x s canvas; every length is a fraction of s.
void draw_icon(plat::Canvas& c, int size) {
    const int s = c.width();
    const PointF centre{s / 2.0, s / 2.0};
    auto ring = [&](double radius, ColorRef colour) {
        const int r = static_cast<int>(radius * s);
        disc(c, s / 2, s / 2, r, colour);
    };
    ring(0.49, bevel_light);
    ring(0.465, bevel_dark);
    ring(0.44, panel_grey);

    // The ball: sky, then the ground below the banked horizon, cut to its circle.
    const int ball = static_cast<int>(0.38 * s);
    c.select_clip(plat::Region::ellipse({s / 2 - ball, s / 2 - ball, s / 2 + ball + 1, s / 2 + ball + 1}));
    c.fill_rect({0, 0, s, s}, sky);
    const PointF horizon_centre = polar(centre, 0.07 * s, 180 + bank_deg);  // the nose a little up
    const PointF left = polar(horizon_centre, s, bank_deg - 90), right = polar(horizon_centre, s, bank_deg + 90);
    const PointF ground_shape[] = {left, right, polar(right, s, bank_deg + 180), polar(left, s, bank_deg + 180)};
    fill_polygon(c, ground_shape, ground);
    fill_bar(c, left, right, std::max(0.012 * s, 0.5 * s / size), horizon_white);
    if (size >= 32) {
        // Pitch marks every 10 degrees above and below, longer at 10 than at 5.
        for (const double pitch : {-0.16, -0.08, 0.08, 0.16}) {
            const PointF mid = polar(horizon_centre, pitch * s, bank_deg);
            const double half = (pitch == 0.16 || pitch == -0.16 ? 0.09 : 0.05) * s;
            fill_bar(c, polar(mid, half, bank_deg - 90), polar(mid, half, bank_deg + 90), 0.007 * s, horizon_white);
        }
    }
    c.clear_clip();

    if (size >= 32) {
        // The bank pointer on the bezel, at the aircraft's bank.
        const PointF tip = polar(centre, 0.385 * s, bank_deg);
        const PointF triangle[] = {tip, polar(centre, 0.455 * s, bank_deg - 5), polar(centre, 0.455 * s, bank_deg + 5)};
        fill_polygon(c, triangle, horizon_white);
    }
    // The aircraft symbol, fixed to the case: two wings and the dot between them, outlined dark
    // so they stand out on the sky and the ground alike. On the middle row of icon pixels and at
    // least a pixel thick, so that the small sizes show it sharp rather than smeared over two rows.
    const double pixel = double(s) / size;
    const double y = (size / 2 + 0.5) * pixel;
    const double wing = std::max(0.026 * s, 0.5 * pixel), outline = std::max(0.012 * s, pixel);
    for (const auto& [colour, grow] : {std::pair{ink_black, outline}, std::pair{symbol_yellow, 0.0}}) {
        fill_bar(c, {0.16 * s, y}, {0.36 * s, y}, wing + grow, colour);
        fill_bar(c, {0.64 * s, y}, {0.84 * s, y}, wing + grow, colour);
        disc(c, s / 2, static_cast<int>(y), static_cast<int>(std::max(0.035 * s, pixel) + grow), colour);
    }
}

// How many canvas pixels make one icon pixel each way: enough for smooth edges at every size.
int oversampling(int size) { return std::clamp(1024 / size, 4, 16); }

}  // namespace

RgbaPicture program_icon(int size) {
    if (size < 16 || size > 1024) throw std::invalid_argument("an icon is 16 to 1024 pixels");
    const int k = oversampling(size);
    plat::Bitmap big(size * k, size * k, plat::PixelFormat::xrgb32);
    plat::Canvas canvas(big);
    draw_icon(canvas, size);

    RgbaPicture icon{size, std::vector<std::uint8_t>(static_cast<std::size_t>(size) * size * 4)};
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            int drawn = 0, r = 0, g = 0, b = 0;
            for (int sy = y * k; sy < (y + 1) * k; ++sy)
                for (int sx = x * k; sx < (x + 1) * k; ++sx) {
                    const ColorRef colour = big.color_of(big.pixel(sx, sy));
                    if (colour == see_through) continue;
                    ++drawn;
                    r += plat::get_r(colour);
                    g += plat::get_g(colour);
                    b += plat::get_b(colour);
                }
            std::uint8_t* out = &icon.rgba[(static_cast<std::size_t>(y) * size + x) * 4];
            if (drawn) {
                out[0] = static_cast<std::uint8_t>(r / drawn);
                out[1] = static_cast<std::uint8_t>(g / drawn);
                out[2] = static_cast<std::uint8_t>(b / drawn);
            }
            out[3] = static_cast<std::uint8_t>(drawn * 255 / (k * k));
        }
    return icon;
}

std::optional<std::string> write_program_icon(int size, const std::string& path) {
    const RgbaPicture icon = program_icon(size);
    if (auto error = plat::write_png_rgba(path, icon.size, icon.size, icon.rgba)) return error->message;
    return std::nullopt;
}

}  // namespace art
