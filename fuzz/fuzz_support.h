#pragma once
// What the fuzz targets share: a scratch folder of their own that is the working folder while an
// input runs (for the readers that look for their file beside the simulator), a quick way to lay an
// input down as a file, and a check that stops the run when a reader breaks its own promise.

#include <fcntl.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <sys/stat.h>

namespace fuzzsupport {

inline std::string_view text_of(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// A fresh folder, made once per process; its path. It lies in memory (/dev/shm) where there is such
// a place: a file rewritten many thousand times a second on a disk file system is flushed each
// time and slows a target a hundredfold.
inline const std::string& scratch_folder() {
    static const std::string folder = [] {
        const char* tmp = std::getenv("TMPDIR");
        struct stat shm {};
        const std::string base = ::stat("/dev/shm", &shm) == 0 && S_ISDIR(shm.st_mode) ? "/dev/shm"
                                 : tmp && *tmp                                          ? tmp
                                                                                        : "/tmp";
        std::string pattern = base + "/panel_fuzz_XXXXXX";
        if (!::mkdtemp(pattern.data())) {
            std::perror("fuzz scratch folder");
            std::abort();
        }
        return pattern;
    }();
    static const bool cleaned_at_exit = [] {
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(folder, ignored);
        });
        return true;
    }();
    (void)cleaned_at_exit;
    return folder;
}

// The scratch folder is the working folder while this lives. The fuzzer reads its corpus by the
// paths it was given, so the folder it started in comes back afterwards.
class InScratchFolder {
public:
    InScratchFolder() : back_(::open(".", O_RDONLY | O_DIRECTORY)) {
        if (back_ < 0 || ::chdir(scratch_folder().c_str()) != 0) {
            std::perror("entering the fuzz scratch folder");
            std::abort();
        }
    }
    ~InScratchFolder() {
        if (::fchdir(back_) != 0) std::abort();
        ::close(back_);
    }
    InScratchFolder(const InScratchFolder&) = delete;
    InScratchFolder& operator=(const InScratchFolder&) = delete;

private:
    int back_;
};

// Makes a folder inside the scratch folder (it may exist already).
inline void make_folder(const char* name) { ::mkdir((scratch_folder() + "/" + name).c_str(), 0755); }

// Writes the bytes to `name` inside the scratch folder, replacing what was there; its full path.
inline std::string write_file(const char* name, const std::uint8_t* data, std::size_t size) {
    const std::string path = scratch_folder() + "/" + name;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f || (size && std::fwrite(data, 1, size, f) != size) || std::fclose(f) != 0) {
        std::perror(path.c_str());
        std::abort();
    }
    return path;
}

inline void remove_file(const char* name) { ::unlink((scratch_folder() + "/" + name).c_str()); }

// A broken promise of a reader is a finding like a crash.
inline void require(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "fuzz check failed: %s\n", what);
        std::abort();
    }
}

}  // namespace fuzzsupport
