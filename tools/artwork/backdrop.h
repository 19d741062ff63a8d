#pragma once
// The background bitmap of a panel window: the panel's own colour, and the face of every gauge on
// it whose face bitmap is see-through, where and as large as the panel places the gauge. The host
// scales a gauge into its placement by nearest neighbour; the faces are scaled the same way, so
// they stand under the gauges' own layers pixel for pixel.

#include "panelhost/panel_config.h"
#include "platform/canvas/bitmap.h"

namespace art {

plat::Bitmap draw_backdrop(const panelhost::WindowConfig& window);

}  // namespace art
