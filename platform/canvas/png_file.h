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

// The row filter of a live picture's PNG (adaptive: libpng picks one per row).
enum class PngFilter { none, sub, up, paeth, adaptive };

// How a live picture is compressed. The defaults were chosen by measuring the panel's rectangles
// in cruise (bench/web_bench.cpp, BM_EncodeCruiseWindow): with a palette every filter made more
// bytes than none, at more time; level 5 sends a quarter fewer bytes than 1 for half again the
// time, 6 a few percent fewer for half again more, and 9 no fewer for ten times the time.
struct PngCompression {
    int level = 5;  // zlib's, 1 to 9
    PngFilter filter = PngFilter::none;
};

// Encodes 0x..RRGGBB pixels (the top byte ignored; `stride` pixels from one row to the next) as a
// PNG in memory: a live picture sent over the network. A picture of at most 256 colours goes as a
// palette of them (indices of 1, 2, 4 or 8 bits, the fewest that hold them), any other as 8-bit RGB.
Result<std::vector<std::uint8_t>> encode_png_xrgb(int width, int height, std::span<const std::uint32_t> pixels,
                                                  std::size_t stride, PngCompression compression = {});

}  // namespace plat
