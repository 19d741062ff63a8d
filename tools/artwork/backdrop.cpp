#include "tools/artwork/backdrop.h"

#include "panelhost/image.h"
#include "panelhost/panel.h"
#include "tools/artwork/art_helpers.h"
#include "tools/artwork/art_registry.h"

namespace art {
namespace {

// The face on the gauge's own area, nothing drawn elsewhere (alpha 0), as the host's pictures are.
panelhost::Image gauge_sized_face(const PanelFace& face) {
    const plat::Bitmap drawn = render(face);
    panelhost::Image gauge(face.gauge_width, face.gauge_height, 0);
    for (int y = 0; y < drawn.height(); ++y)
        for (int x = 0; x < drawn.width(); ++x) {
            const plat::ColorRef c = drawn.color_of(drawn.pixel(x, y));
            const int gx = face.x + x, gy = face.y + y;
            if (c == art::see_through || gx < 0 || gy < 0 || gx >= gauge.width || gy >= gauge.height) continue;
            gauge.row(gy)[gx] = panelhost::kOpaque | (std::uint32_t{plat::get_r(c)} << 16) |
                                (std::uint32_t{plat::get_g(c)} << 8) | plat::get_b(c);
        }
    return gauge;
}

}  // namespace

plat::Bitmap draw_backdrop(const panelhost::WindowConfig& window) {
    panelhost::Image picture(window.width, window.height, panelhost::kPanelBackground);
    for (const panelhost::GaugePlacement& placement : window.gauges) {
        const ArtSet* set = find_set(placement.module);
        if (!set || !set->panel_face) continue;
        const PanelFace& face = *set->panel_face;
        panelhost::draw_scaled(picture, gauge_sized_face(face), placement.x, placement.y,
                               placement.width.value_or(face.gauge_width), placement.height.value_or(face.gauge_height));
    }
    plat::Bitmap out(window.width, window.height, plat::PixelFormat::xrgb32);
    for (int y = 0; y < window.height; ++y)
        for (int x = 0; x < window.width; ++x) {
            const std::uint32_t p = picture.row(y)[x];
            out.set_pixel(x, y, out.map_color(plat::rgb((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF)));
        }
    return out;
}

}  // namespace art
