#pragma once
// Every bitmap the artwork tool can draw, grouped in sets (one set per gauge module).

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/canvas/bitmap.h"
#include "platform/canvas/canvas.h"

namespace art {

using DrawFn = void (*)(plat::Canvas&);

struct Picture {
    int id;
    int width;
    int height;
    DrawFn draw;  // draws over a bitmap that starts all see-through black
    // Written as an 8-bit BMP in the panel palette, for a module that reads the bitmap's colour
    // table and pixel indices itself (a rendered display's colour keys); else 24 bits.
    bool panel_palette = false;
};

// Where the gauge puts a picture on its face, so a contact sheet can show it assembled.
struct Placement {
    int id;
    int x;
    int y;
};

// Art a gauge leaves to the panel behind it: the gauge's own face is see-through black, and the
// panel's background bitmap carries this picture where the gauge stands.
struct PanelFace {
    int gauge_width, gauge_height;  // the gauge's own size, to scale with its placement
    int x, y;                       // where the picture stands on the gauge
    int width, height;
    DrawFn draw;
};

struct ArtSet {
    std::string_view name;
    std::span<const Picture> pictures;
    std::span<const Placement> assembled;  // first the face, then the layers drawn over it
    const PanelFace* panel_face = nullptr;
};

std::span<const ArtSet> art_sets();
const ArtSet* find_set(std::string_view name);
const Picture* find_picture(const ArtSet& set, int id);

plat::Bitmap render(const Picture& picture);
// Writes <dir>/<id>.bmp (24 bits) for every picture, creating dir; the error, if any.
std::optional<std::string> write_set(const ArtSet& set, const std::string& dir);
// The assembled gauge (over its panel face, if it has one) and every picture, magnified, on a
// neutral backdrop.
plat::Bitmap contact_sheet(const ArtSet& set);
// The panel face drawn at its own size.
plat::Bitmap render(const PanelFace& face);

// Each set's pictures, defined in its own source file.
std::span<const Picture> ndmodeselect_pictures();
std::span<const Placement> ndmodeselect_assembled();
std::span<const Picture> fdswitch_pictures();
std::span<const Placement> fdswitch_assembled();
std::span<const Picture> ndswitch_pictures();
std::span<const Placement> ndswitch_assembled();
std::span<const Picture> flightdisplay_pictures();
std::span<const Placement> flightdisplay_assembled();
std::span<const Picture> geartalk_pictures();
std::span<const Placement> geartalk_assembled();
std::span<const Picture> windowswitch_pictures();
std::span<const Placement> windowswitch_assembled();

std::span<const Picture> fmcomputer_pictures();
std::span<const Placement> fmcomputer_assembled();
std::span<const Picture> oilgauge_pictures();
std::span<const Placement> oilgauge_assembled();
std::span<const Picture> yawdamper_pictures();
std::span<const Placement> yawdamper_assembled();
const PanelFace* yawdamper_panel_face();
std::span<const Picture> paneltoggle_pictures();
std::span<const Placement> paneltoggle_assembled();
std::span<const Picture> firepanel_pictures();
std::span<const Placement> firepanel_assembled();
const PanelFace* firepanel_panel_face();
std::span<const Picture> dmegauge_pictures();
std::span<const Placement> dmegauge_assembled();
const PanelFace* dmegauge_panel_face();
std::span<const Picture> airspeed_pictures();
std::span<const Placement> airspeed_assembled();
std::span<const Picture> enginegauge_pictures();
std::span<const Placement> enginegauge_assembled();
std::span<const Picture> grossweight_pictures();
std::span<const Placement> grossweight_assembled();
std::span<const Picture> navdisplay_pictures();
std::span<const Placement> navdisplay_assembled();
}  // namespace art
