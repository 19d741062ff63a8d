#pragma once
// Internal to the canvas: which pixels of each row an ellipse covers. Shared by ellipse drawing and
// by elliptic and rounded-rectangle regions, so a clip region and a drawn shape of the same box
// agree to the pixel.

#include "platform/canvas/geometry.h"
#include "platform/canvas/region.h"

namespace plat::detail {

// The pixels of row `row` (0 = the box's top row) whose centres lie inside the ellipse inscribed in
// a non-empty box. Every row holds at least its middle pixel (or two), so thin boxes still draw;
// rows are symmetric left to right and top to bottom. Rows outside the box are empty.
Span ellipse_row(const Rect& box, int row);

}  // namespace plat::detail
