#include "platform/folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>

namespace plat {
namespace {

// What the lock file says of its holder: "process N (name)", or less when it says nothing yet.
std::string holder_of(int fd) {
    std::array<char, 256> text{};
    const ssize_t n = ::pread(fd, text.data(), text.size() - 1, 0);
    std::string said(text.data(), n > 0 ? static_cast<std::size_t>(n) : 0);
    while (!said.empty() && (said.back() == '\n' || said.back() == '\0')) said.pop_back();
    if (said.empty() || said.find_first_not_of("0123456789 abcdefghijklmnopqrstuvwxyz-_.") != std::string::npos)
        return "another process";
    const auto space = said.find(' ');
    if (space == std::string::npos) return "process " + said;
    return "process " + said.substr(0, space) + " (" + said.substr(space + 1) + ")";
}

}  // namespace

Result<FolderLock> FolderLock::take(std::string_view folder, std::string_view name, std::string_view holder,
                                    bool wait, void (*waiting)(const std::string& who)) {
    const std::string path = std::string(folder) + "/" + std::string(name);
    Descriptor file(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644));
    if (!file.valid() && (errno == EACCES || errno == EROFS || errno == EPERM))
        file = Descriptor(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!file.valid()) {
        if (errno == EACCES || errno == EROFS || errno == EPERM || errno == ENOENT) return FolderLock{};
        return Error{path + ": cannot open the lock: " + std::strerror(errno)};
    }
    while (::flock(file.get(), LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR) continue;
        if (errno != EWOULDBLOCK) return Error{path + ": cannot lock: " + std::strerror(errno)};
        const std::string who = holder_of(file.get());
        if (!wait) return Error{std::string(folder) + " is in use by " + who};
        if (waiting) waiting(who);
        while (::flock(file.get(), LOCK_EX) != 0)
            if (errno != EINTR) return Error{path + ": cannot lock: " + std::strerror(errno)};
        break;
    }
    // Only a lock file that could be written says who holds it; the lock holds either way.
    const std::string said = std::to_string(::getpid()) + " " + std::string(holder) + "\n";
    if (::ftruncate(file.get(), 0) == 0) {
        const ssize_t written = ::pwrite(file.get(), said.data(), said.size(), 0);
        (void)written;
    }
    return FolderLock(std::move(file));
}

}  // namespace plat
