#include "platform/atomic_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace plat {
namespace {

// A descriptor closed on every way out.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() { close(); }

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Closing can report a write the kernel deferred, so the result counts.
    bool close() {
        if (fd_ < 0) return true;
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

Error failure(std::string_view path, const char* what) {
    return Error{std::string(path) + ": " + what + ": " + std::strerror(errno)};
}

bool write_all(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

std::string folder_of(std::string_view path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string_view::npos) return ".";
    if (slash == 0) return "/";
    return std::string(path.substr(0, slash));
}

}  // namespace

std::string atomic_temporary_path(std::string_view path) { return std::string(path) + ".new"; }

Result<bool> replace_file_atomically(std::string_view path, std::string_view contents) {
    if (path.empty()) return Error{"cannot save a file without a name"};
    const std::string target(path);
    const std::string temporary = atomic_temporary_path(path);
    {
        Descriptor file(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
        if (!file.valid()) return failure(temporary, "cannot create");
        Error error;
        bool ok = true;
        if (!write_all(file.get(), contents)) ok = false, error = failure(temporary, "cannot write");
        else if (::fsync(file.get()) != 0) ok = false, error = failure(temporary, "cannot flush to the disk");
        else if (!file.close()) ok = false, error = failure(temporary, "cannot close");
        if (!ok) {
            ::unlink(temporary.c_str());
            return error;
        }
    }
    if (std::rename(temporary.c_str(), target.c_str()) != 0) {
        Error error = failure(target, "cannot replace");
        ::unlink(temporary.c_str());
        return error;
    }
    // Without this the rename may still be only in memory after a power loss. The new content is
    // already in place for every reader, so a folder that cannot be flushed (some file systems
    // refuse) is not a failed save.
    Descriptor folder(::open(folder_of(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.valid()) ::fsync(folder.get());
    return true;
}

}  // namespace plat
