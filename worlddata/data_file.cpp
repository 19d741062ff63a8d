#include "worlddata/data_file.h"

#include <zlib.h>

#include <filesystem>

namespace worlddata {

namespace {

bool ends_with(const std::string& s, const char* tail) {
    const std::string t(tail);
    return s.size() >= t.size() && s.compare(s.size() - t.size(), t.size(), t) == 0;
}

}  // namespace

plat::Result<std::string> read_data_file(const std::string& path, std::size_t max_bytes) {
    // gzread passes a plain file through unchanged, so one reader serves both forms.
    gzFile f = gzopen(path.c_str(), "rb");
    if (!f) return plat::Error{path + ": cannot open"};
    std::string text;
    char chunk[1 << 16];
    for (;;) {
        const int n = gzread(f, chunk, sizeof chunk);
        // A gzip file cut short reads to its end without a failed read; zlib keeps the error.
        int code = Z_OK;
        const char* why = gzerror(f, &code);
        if (n < 0 || (code != Z_OK && code != Z_STREAM_END)) {
            std::string message = path + ": damaged or not a gzip file";
            if (why && *why) message += std::string(" (") + why + ")";
            gzclose(f);
            return plat::Error{message};
        }
        if (n == 0) break;
        if (text.size() + static_cast<std::size_t>(n) > max_bytes) {
            gzclose(f);
            return plat::Error{path + ": larger than " + std::to_string(max_bytes) + " bytes"};
        }
        text.append(chunk, static_cast<std::size_t>(n));
    }
    gzclose(f);
    return text;
}

std::string find_data_file(const std::string& dir, const std::string& name) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const std::string plain = dir + "/" + name;
    if (!ends_with(name, ".gz") && fs::is_regular_file(plain + ".gz", ec)) return plain + ".gz";
    if (fs::is_regular_file(plain, ec)) return plain;
    return {};
}

}  // namespace worlddata
