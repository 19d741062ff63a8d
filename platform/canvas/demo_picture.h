#pragma once
// A picture in the style of the panel's displays, drawn with every kind of canvas primitive: the
// stand-in for a display until the panel host shows the real ones.

#include "platform/canvas/canvas.h"

namespace plat {

// An attitude indicator with sky and ground, bank scale, pitch ladder, a hatched band and texts in
// Arial, Courier New and Quartz, scaled to the canvas. Fonts that cannot be opened are left out.
void draw_demo_picture(Canvas& canvas);

}  // namespace plat
