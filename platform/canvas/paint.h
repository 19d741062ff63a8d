#pragma once
// Internal to the canvas: a pen, brush or text colour resolved to pixel values of one bitmap, so
// primitives paint without looking at colours or formats.

#include <cstdint>

namespace plat::detail {

struct Paint {
    enum class Kind : std::uint8_t {
        none,              // paints nothing (null pen, hollow brush)
        solid,             // every pixel `ink`
        hatch_bdiagonal,   // `ink` on the pixels where (x + y) % 8 == 7, `back` elsewhere if opaque
    };
    Kind kind = Kind::none;
    std::uint32_t ink = 0;
    std::uint32_t back = 0;
    bool opaque = false;
};

}  // namespace plat::detail
