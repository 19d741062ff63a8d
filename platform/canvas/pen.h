#pragma once
// The pen that outlines shapes and draws lines: GDI's cosmetic pens of width 1.

#include "platform/canvas/color.h"

namespace plat {

struct Pen {
    enum class Style {
        solid,
        dotted,  // PS_DOT: one pixel on, one off along the line; gaps take the background colour
                 // in opaque mode. Only lines are styled; shape outlines draw solid.
        null,    // PS_NULL: draws nothing
    };
    Style style = Style::solid;
    ColorRef color = rgb(0, 0, 0);

    static Pen solid(ColorRef c) { return {Style::solid, c}; }
    static Pen dotted(ColorRef c) { return {Style::dotted, c}; }
    static Pen none() { return {Style::null, 0}; }
};

}  // namespace plat
