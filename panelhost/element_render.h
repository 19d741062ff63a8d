#pragma once
// Drawing a gauge's host elements into its picture: static images, icons, needles rotated about
// their pivots, moving images behind their windows, strings, and the host images that rendered
// displays fill. Pure black is the transparent colour.

#include <array>
#include <cstdint>

#include "host/records.h"

namespace panelhost {

struct GaugeInstance;
struct PanelOptions;
struct HostImage;
struct Image;

void render_gauge(GaugeInstance& gauge, const PanelOptions& options);

// The angle a needle shows for a value: through its scale table, or the value itself.
double needle_degrees(const gauge::Needle& needle, double value);
// The palette of 8-bit host images before a module sets its own (0x00RRGGBB).
const std::array<std::uint32_t, 256>& default_panel_palette();
// A host image as opaque 32-bit pixels.
void convert_host_image(const HostImage& src, Image& dst);

}  // namespace panelhost
