#pragma once
// PNG output of any bitmap, for looking at rendered pictures.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/canvas/bitmap.h"
#include "platform/result.h"

namespace plat {

// Writes the bitmap as an 8-bit RGB PNG, every format converted through its colours; the error,
// naming the file, if any.
std::optional<Error> write_png(const std::string& path, const Bitmap& bitmap);

// Writes 8-bit RGBA pixels, rows packed top-down, as an 8-bit RGBA PNG: a picture with
// see-through parts, such as the program's icon. The error, naming the file, if any.
std::optional<Error> write_png_rgba(const std::string& path, int width, int height,
                                    std::span<const std::uint8_t> rgba);

// Encodes 0x..RRGGBB pixels (the top byte ignored; `stride` pixels from one row to the next) as an
// 8-bit RGB PNG in memory, compressed for speed: a live picture sent over the network.
Result<std::vector<std::uint8_t>> encode_png_xrgb(int width, int height, std::span<const std::uint32_t> pixels,
                                                  std::size_t stride);

}  // namespace plat
