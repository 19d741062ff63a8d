#pragma once
// Colours as the modules pass them: GDI's COLORREF layout, 0x00BBGGRR, red in the low byte.

#include <cstdint>

namespace plat {

using ColorRef = std::uint32_t;

// What get_pixel answers for a point outside the clip region, as GDI's GetPixel does.
inline constexpr ColorRef clr_invalid = 0xFFFFFFFFu;

constexpr ColorRef rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return ColorRef{r} | (ColorRef{g} << 8) | (ColorRef{b} << 16);
}
constexpr std::uint8_t get_r(ColorRef c) { return static_cast<std::uint8_t>(c & 0xFF); }
constexpr std::uint8_t get_g(ColorRef c) { return static_cast<std::uint8_t>((c >> 8) & 0xFF); }
constexpr std::uint8_t get_b(ColorRef c) { return static_cast<std::uint8_t>((c >> 16) & 0xFF); }

}  // namespace plat
