#pragma once
// The error of a failed write through a stream: the file and the system's reason, which the
// stream's own state does not keep. A full disk must read as a full disk, not as a fault of the
// file or of the program.

#include <cerrno>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/result.h"

namespace plat {

// Called right after the write, close or flush that failed, while errno still holds its reason.
inline Error cannot_write(std::string_view path) {
    std::string text = std::string(path) + ": cannot write";
    if (errno != 0) text += std::string(": ") + std::strerror(errno);
    return Error{std::move(text)};
}

}  // namespace plat
