#pragma once
// The pixel layouts a canvas can draw into. Each is a row-major, top-down array of pixels with any
// pitch; the formats differ only in how a colour becomes a pixel value.

namespace plat {

enum class PixelFormat {
    indexed8,  // one byte, an index into the bitmap's 256-entry palette
    rgb555,    // 16 bits: red 14-10, green 9-5, blue 4-0; bit 15 is set in every pixel written
    xrgb32,    // 32 bits, 0x00RRGGBB as a native-endian word
};

constexpr int bytes_per_pixel(PixelFormat f) {
    switch (f) {
    case PixelFormat::indexed8: return 1;
    case PixelFormat::rgb555: return 2;
    case PixelFormat::xrgb32: return 4;
    }
    return 0;
}

}  // namespace plat
