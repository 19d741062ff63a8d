#pragma once
// The brush that fills shape interiors, rectangles, regions and flood fills.

#include "platform/canvas/color.h"

namespace plat {

struct Brush {
    enum class Style {
        solid,
        hatch_bdiagonal,  // HS_BDIAGONAL: 8 x 8 pattern of lines from bottom-left to top-right,
                          // tied to device (0, 0); the gaps take the background colour in opaque
                          // mode and are left alone in transparent mode
        null,             // NULL_BRUSH / HOLLOW_BRUSH: fills nothing
    };
    Style style = Style::solid;
    ColorRef color = rgb(255, 255, 255);

    static Brush solid(ColorRef c) { return {Style::solid, c}; }
    static Brush hatch(ColorRef c) { return {Style::hatch_bdiagonal, c}; }
    static Brush none() { return {Style::null, 0}; }
};

}  // namespace plat
