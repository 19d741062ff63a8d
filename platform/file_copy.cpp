#include "platform/file_copy.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <string>

#include "platform/descriptor.h"

namespace plat {
namespace {

Error failure(std::string_view path, const char* what, int error) {
    return Error{std::string(path) + ": " + what + ": " + std::strerror(error)};
}

}  // namespace

Result<bool> copy_file(std::string_view from, std::string_view to) {
    const std::string source(from);
    const std::string target(to);
    Descriptor in(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
    if (!in.valid()) return failure(from, "cannot open", errno);
    struct stat info {};
    if (::fstat(in.get(), &info) != 0) return failure(from, "cannot read", errno);
    if (!S_ISREG(info.st_mode)) return Error{source + ": not a file"};
    Descriptor out(::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, info.st_mode & 07777));
    if (!out.valid()) return failure(to, "cannot create", errno);
    auto fail_writing = [&](const char* what) {
        const int error = errno;
        out.close();
        ::unlink(target.c_str());
        return failure(to, what, error);
    };
    std::array<char, 1 << 16> buffer;
    for (;;) {
        const ssize_t n = ::read(in.get(), buffer.data(), buffer.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            const int error = errno;
            out.close();
            ::unlink(target.c_str());
            return failure(from, "cannot read", error);
        }
        if (n == 0) break;
        if (!write_all(out.get(), std::string_view(buffer.data(), static_cast<std::size_t>(n))))
            return fail_writing("cannot write");
    }
    if (::fchmod(out.get(), info.st_mode & 07777) != 0) return fail_writing("cannot set the permissions");
    // A full disk may show only when the kernel writes what it held back.
    if (!out.close()) return fail_writing("cannot write");
    return true;
}

}  // namespace plat
