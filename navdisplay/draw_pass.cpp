// One drawing pass of the whole picture, in the order its parts overlap, ended by handing the
// picture to the host and flipping the picture index.

#include <cmath>

#include "navdisplay/draw_tools.h"
#include "surface/display_surface.h"

namespace nd {

Fonts fonts;

void make_fonts(plat::Canvas& dc) {
    fonts.f11 = plat::Font::open({"Arial", -11, 0});
    fonts.f9 = plat::Font::open({"Arial", -9, 0});
    fonts.f7 = plat::Font::open({"Arial", -7, 0});
    const double per_inch = dc.logical_dpi_y();
    fonts.data_height = draw::round_int(per_inch / (state.geo.H > 149 ? 11.0 : 12.0));
    fonts.data = plat::Font::open({"Arial", -fonts.data_height, 0});
    dc.set_bk_mode(plat::BkMode::transparent);
}

void release_fonts() { fonts = Fonts{}; }

void draw_picture() {
    plat::Canvas* dc = surface::SurfaceContext();
    state.redraw = false;
    if (!dc) return;
    const Geometry& g = state.geo;
    surface::FillSurfaceRect(0, 0, g.W, g.H);
    remember_drawn_values();
    dc->set_bk_mode(plat::BkMode::transparent);
    draw::draw_compass(*dc);
    draw::draw_heading_box(*dc);
    draw::draw_wind(*dc);
    draw::draw_adf_needle(*dc);
    draw::draw_nav1_data(*dc);
    draw::draw_vor2_needle(*dc);
    switch (state.sel.map_mode) {
        case 0: draw::draw_vor_mode(*dc); break;
        case 2: draw::draw_north_box(*dc); [[fallthrough]];
        case 1:
            if (state.db.status != 0)
                draw::draw_database_error(*dc);
            else
                draw::draw_map(*dc);
            break;
        default: break;
    }
    draw::draw_bottom_texts(*dc);
    draw::draw_selected_heading(*dc);
    surface::PresentSurface();
    state.picture ^= 1;
}

}  // namespace nd
