#pragma once
// Reads a world data file whole: plain text, or gzip-compressed when its name ends in ".gz", as the
// X-Plane-format files come.

#include <string>

#include "platform/result.h"

namespace worlddata {

// The file's text; an error naming the file (and what zlib found wrong) when it cannot be read or
// unpacked, or would exceed max_bytes once unpacked.
plat::Result<std::string> read_data_file(const std::string& path, std::size_t max_bytes = 256u << 20);

// Finds name in dir, plain or with ".gz" appended; empty when neither exists.
std::string find_data_file(const std::string& dir, const std::string& name);

}  // namespace worlddata
