#pragma once
// Windows BMP images: module bitmap resources (stored without the 14-byte file header) and files.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/canvas/bitmap.h"
#include "platform/result.h"

namespace plat {

// Decodes a BMP from untrusted bytes, with or without its BITMAPFILEHEADER: 8-bit with palette
// (biClrUsed entries, 256 when 0), 24-bit and 32-bit (BI_RGB, or BI_BITFIELDS with the standard
// masks), bottom-up or top-down. 8-bit gives an indexed bitmap, the others xrgb32. Errors name
// `name` and what was wrong, e.g. "bitmap.bmp: truncated pixel data".
Result<Bitmap> read_bmp(std::span<const std::uint8_t> data, std::string_view name = "bitmap");
Result<Bitmap> read_bmp_file(const std::string& path);

// Bits per pixel of a written BMP. automatic: 8 for indexed bitmaps, 24 otherwise. bits8 needs an
// indexed bitmap; bits24 and bits32 take any.
enum class BmpDepth { automatic = 0, bits8 = 8, bits24 = 24, bits32 = 32 };

// A complete BMP file (file header, BITMAPINFOHEADER, 256-entry palette for 8-bit, bottom-up rows).
Result<std::vector<std::uint8_t>> encode_bmp(const Bitmap& bitmap,
                                             BmpDepth depth = BmpDepth::automatic);
// Writes encode_bmp's bytes to a file; the error, if any.
std::optional<Error> write_bmp(const std::string& path, const Bitmap& bitmap,
                               BmpDepth depth = BmpDepth::automatic);

}  // namespace plat
