#include "platform/atomic_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <set>

#include "platform/descriptor.h"

namespace plat {
namespace {

struct FailedSaves {
    std::mutex lock;
    std::set<std::string> files;
    std::vector<std::string> errors;
};

FailedSaves& failed() {
    static FailedSaves saves;
    return saves;
}

Error remember(std::string_view path, Error error) {
    FailedSaves& saves = failed();
    std::lock_guard guard(saves.lock);
    if (saves.files.insert(std::string(path)).second) saves.errors.push_back(error.message);
    return error;
}

Error failure(std::string_view path, const char* what) {
    return Error{std::string(path) + ": " + what + ": " + std::strerror(errno)};
}

std::string folder_of(std::string_view path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string_view::npos) return ".";
    if (slash == 0) return "/";
    return std::string(path.substr(0, slash));
}

}  // namespace

std::string atomic_temporary_path(std::string_view path) { return std::string(path) + ".new"; }

namespace {

Result<bool> write_atomically(std::string_view path, std::string_view contents) {
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

}  // namespace

Result<bool> replace_file_atomically(std::string_view path, std::string_view contents) {
    if (path.empty()) return Error{"cannot save a file without a name"};
    auto written = write_atomically(path, contents);
    if (!written) return remember(path, Error{written.error()});
    return written;
}

std::size_t failed_save_count() {
    FailedSaves& saves = failed();
    std::lock_guard guard(saves.lock);
    return saves.errors.size();
}

std::vector<std::string> failed_saves(std::size_t from) {
    FailedSaves& saves = failed();
    std::lock_guard guard(saves.lock);
    if (from >= saves.errors.size()) return {};
    return {saves.errors.begin() + static_cast<std::ptrdiff_t>(from), saves.errors.end()};
}

}  // namespace plat
