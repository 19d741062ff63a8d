#pragma once
// Internal to the canvas: the per-format table of pixel primitives. Everything above this layer
// works on pixel values and rows and never branches on the format; each format is one table.

#include <cstdint>

#include "platform/canvas/color.h"
#include "platform/canvas/pixel_format.h"

namespace plat::detail {

struct PixelOps {
    int bytes = 1;
    // Bits a stored pixel carries beyond its colour (bit 15 of 1-5-5-5); writes always set them,
    // colour comparisons ignore them.
    std::uint32_t fixed_bits = 0;
    std::uint32_t value_mask = 0xFF;

    std::uint32_t (*get)(const std::uint8_t* row, int x);
    void (*put)(std::uint8_t* row, int x, std::uint32_t value);
    // Pixels [x0, x1) of a row set to one value.
    void (*fill)(std::uint8_t* row, int x0, int x1, std::uint32_t value);
    // n pixels copied, or ORed, from a row of the same format; the rows must not overlap.
    void (*copy)(std::uint8_t* dst, const std::uint8_t* src, int n);
    void (*bit_or)(std::uint8_t* dst, const std::uint8_t* src, int n);

    // Direct-colour formats only; the palette format maps through its bitmap's palette.
    std::uint32_t (*encode)(ColorRef c);
    ColorRef (*decode)(std::uint32_t value);
};

const PixelOps& pixel_ops(PixelFormat format);

}  // namespace plat::detail
