#pragma once
// Replacing a small state file so that no moment leaves it half written. A module saves its state
// when it is unloaded, which may be the moment the process is killed or the machine loses power;
// the next start must find the old content or the new one, never a mixture or an empty file.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/result.h"

namespace plat {

// The name the new content is written under before it takes the file's place: the same folder
// (a rename only replaces atomically within one file system), the same name with ".new" added.
// At most one such file is ever left behind, and the next write reuses it.
std::string atomic_temporary_path(std::string_view path);

// Writes contents to atomic_temporary_path(path), flushes it to the disk, renames it over path
// and flushes the folder, so that the rename itself is on the disk too. After a kill at any
// moment, path holds either its whole old content (or is absent, when it was) or the whole new
// one. On failure path is left as it was, the temporary is removed and the error names the file
// and the reason; the value is true on success.
Result<bool> replace_file_atomically(std::string_view path, std::string_view contents);

// The saves that failed in this process, the error of each file once, in the order met. A module
// that cannot keep its state has no one to tell; the host reads these and says them.
std::size_t failed_save_count();
std::vector<std::string> failed_saves(std::size_t from = 0);

}  // namespace plat
