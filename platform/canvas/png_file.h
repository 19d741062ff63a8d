#pragma once
// PNG output of any bitmap, for looking at rendered pictures.

#include <optional>
#include <string>

#include "platform/canvas/bitmap.h"
#include "platform/result.h"

namespace plat {

// Writes the bitmap as an 8-bit RGB PNG, every format converted through its colours; the error,
// naming the file, if any.
std::optional<Error> write_png(const std::string& path, const Bitmap& bitmap);

}  // namespace plat
