#include "tools/artwork/art_registry.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <vector>

#include "platform/canvas/bmp_file.h"
#include "tools/artwork/art_helpers.h"

namespace art {

std::span<const ArtSet> art_sets() {
    static const ArtSet sets[] = {
        {"ndmodeselect", ndmodeselect_pictures(), ndmodeselect_assembled()},
        {"fdswitch", fdswitch_pictures(), fdswitch_assembled()},
        {"ndswitch", ndswitch_pictures(), ndswitch_assembled()},
        {"airspeed", airspeed_pictures(), airspeed_assembled()},
        {"enginegauge", enginegauge_pictures(), enginegauge_assembled()},
        {"grossweight", grossweight_pictures(), grossweight_assembled()},
        {"flightdisplay", flightdisplay_pictures(), flightdisplay_assembled()},
        {"geartalk", geartalk_pictures(), geartalk_assembled()},
        {"windowswitch", windowswitch_pictures(), windowswitch_assembled()},
        {"fmcomputer", fmcomputer_pictures(), fmcomputer_assembled()},
        {"oilgauge", oilgauge_pictures(), oilgauge_assembled()},
        {"yawdamper", yawdamper_pictures(), yawdamper_assembled(), yawdamper_panel_face()},
        {"paneltoggle", paneltoggle_pictures(), paneltoggle_assembled()},
        {"firepanel", firepanel_pictures(), firepanel_assembled(), firepanel_panel_face()},
        {"dmegauge", dmegauge_pictures(), dmegauge_assembled(), dmegauge_panel_face()},
        {"navdisplay", navdisplay_pictures(), navdisplay_assembled()},
    };
    return sets;
}

const ArtSet* find_set(std::string_view name) {
    for (const ArtSet& set : art_sets())
        if (set.name == name) return &set;
    return nullptr;
}

const Picture* find_picture(const ArtSet& set, int id) {
    for (const Picture& p : set.pictures)
        if (p.id == id) return &p;
    return nullptr;
}

plat::Bitmap render(const Picture& picture) {
    plat::Bitmap bmp(picture.width, picture.height, plat::PixelFormat::xrgb32);
    plat::Canvas c(bmp);
    picture.draw(c);
    return bmp;
}

plat::Bitmap render(const PanelFace& face) {
    return render(Picture{0, face.width, face.height, face.draw});
}

std::optional<std::string> write_set(const ArtSet& set, const std::string& dir) {
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (ec) return "cannot create " + dir + ": " + ec.message();
    for (const Picture& p : set.pictures) {
        char name[32];
        std::snprintf(name, sizeof name, "%d.bmp", p.id);
        const std::string path = (std::filesystem::path(dir) / name).string();
        const plat::Bitmap picture = render(p);
        if (p.panel_palette) {
            plat::Bitmap indexed(picture.width(), picture.height(), plat::PixelFormat::indexed8);
            for (int y = 0; y < picture.height(); ++y)
                for (int x = 0; x < picture.width(); ++x)
                    indexed.set_pixel(x, y, indexed.map_color(picture.color_of(picture.pixel(x, y))));
            if (auto error = plat::write_bmp(path, indexed, plat::BmpDepth::bits8)) return error->message;
            continue;
        }
        if (auto error = plat::write_bmp(path, picture, plat::BmpDepth::bits24))
            return error->message;
    }
    return std::nullopt;
}

namespace {

constexpr int kZoom = 3;
constexpr int kGap = 10;
constexpr int kLabel = 14;
constexpr int kSheetWidth = 640;
const plat::ColorRef kBackdrop = plat::rgb(96, 150, 170);

// Magnifies by pixel replication; see-through pixels of a layer leave what is below.
void stamp(plat::Canvas& c, const plat::Bitmap& src, int x, int y, bool keyed) {
    for (int sy = 0; sy < src.height(); ++sy)
        for (int sx = 0; sx < src.width(); ++sx) {
            const plat::ColorRef colour = src.color_of(src.pixel(sx, sy));
            if (keyed && colour == see_through) continue;
            c.fill_rect({x + sx * kZoom, y + sy * kZoom, x + (sx + 1) * kZoom, y + (sy + 1) * kZoom},
                        colour);
        }
}

}  // namespace

plat::Bitmap contact_sheet(const ArtSet& set) {
    struct Cell {
        const Picture* picture;
        int x, y;
    };
    std::vector<Cell> cells;
    int x = kGap, y = kGap, row_height = 0;
    int assembled_w = 0, assembled_h = 0;
    if (!set.assembled.empty())
        if (const Picture* face = find_picture(set, set.assembled.front().id)) {
            assembled_w = face->width * kZoom;
            assembled_h = face->height * kZoom;
            y += assembled_h + kLabel + kGap;
        }
    for (const Picture& p : set.pictures) {
        const int w = p.width * kZoom, h = p.height * kZoom;
        if (x + w + kGap > kSheetWidth && x > kGap) {
            x = kGap;
            y += row_height + kLabel + kGap;
            row_height = 0;
        }
        cells.push_back({&p, x, y});
        x += w + kGap;
        row_height = std::max(row_height, h);
    }
    const int width = std::max(kSheetWidth, assembled_w + 2 * kGap);
    plat::Bitmap sheet(width, y + row_height + kLabel + kGap, plat::PixelFormat::xrgb32);
    plat::Canvas c(sheet);
    c.fill_rect(sheet.bounds(), kBackdrop);
    c.select_font(arial(-11, 400));
    c.set_bk_mode(plat::BkMode::transparent);
    c.set_text_color(plat::rgb(8, 8, 8));
    char label[48];
    // A see-through face shows the panel face behind it, as the panel's background carries it.
    bool first = !set.panel_face;
    if (set.panel_face)
        stamp(c, render(*set.panel_face), kGap + set.panel_face->x * kZoom, kGap + set.panel_face->y * kZoom, false);
    for (const Placement& layer : set.assembled) {
        if (const Picture* p = find_picture(set, layer.id))
            stamp(c, render(*p), kGap + layer.x * kZoom, kGap + layer.y * kZoom, !first);
        first = false;
    }
    if (assembled_h) c.text_out(kGap, kGap + assembled_h + 1, "assembled");
    for (const Cell& cell : cells) {
        stamp(c, render(*cell.picture), cell.x, cell.y, false);
        std::snprintf(label, sizeof label, "%d  %dx%d", cell.picture->id, cell.picture->width,
                      cell.picture->height);
        c.text_out(cell.x, cell.y + cell.picture->height * kZoom + 1, label);
    }
    return sheet;
}

}  // namespace art
