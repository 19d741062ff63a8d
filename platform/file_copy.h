#pragma once
// Copying one file's bytes into another, with errors that say which of the two failed and why. The
// standard library's copy reports a full disk while writing as an input/output error of the file
// it was copying from, which sends the user looking at an installed file that is sound.

#include <string_view>

#include "platform/result.h"

namespace plat {

// Copies from's bytes into to, made or truncated, with the permission bits of from. On failure the
// error names from when it could not be read and to when it could not be written (a full disk
// says "No space left on device"); a partly written to is removed.
Result<bool> copy_file(std::string_view from, std::string_view to);

}  // namespace plat
