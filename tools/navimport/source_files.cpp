// Line reading through zlib, which passes plain files through unchanged.

#include "tools/navimport/source_files.h"

#include <zlib.h>

#include <charconv>
#include <cstring>
#include <filesystem>

namespace navimport {

std::string find_source(const std::string& folder, const std::string& name) {
    namespace fs = std::filesystem;
    std::error_code ec;
    for (const std::string& candidate : {folder + "/" + name + ".gz", folder + "/" + name})
        if (fs::is_regular_file(candidate, ec)) return candidate;
    return {};
}

bool read_lines(const std::string& path, const std::function<void(std::string_view, std::size_t)>& each,
                std::string& error) {
    gzFile f = gzopen(path.c_str(), "rb");
    if (!f) {
        error = path + ": cannot open";
        return false;
    }
    gzbuffer(f, 1 << 17);
    std::string line;
    char chunk[4096];
    std::size_t number = 0;
    bool ok = true;
    for (;;) {
        line.clear();
        bool got = false;
        while (gzgets(f, chunk, sizeof chunk)) {
            got = true;
            const std::size_t n = std::strlen(chunk);
            line.append(chunk, n);
            if (n > 0 && chunk[n - 1] == '\n') break;
        }
        if (!got) break;
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
        each(line, ++number);
    }
    int code = 0;
    const char* message = gzerror(f, &code);
    if (code != Z_OK && code != Z_STREAM_END) {
        error = path + ": " + (message ? message : "read error");
        ok = false;
    }
    gzclose(f);
    return ok;
}

void split(std::string_view line, Fields& out) {
    out.f.clear();
    out.at.clear();
    out.line = line;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
        if (i >= line.size()) break;
        const std::size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
        out.f.push_back(line.substr(start, i - start));
        out.at.push_back(start);
    }
}

bool number(std::string_view s, double& out) {
    if (s.empty()) return false;
    if (s.front() == '+') s.remove_prefix(1);
    const auto r = std::from_chars(s.data(), s.data() + s.size(), out);
    return r.ec == std::errc() && r.ptr == s.data() + s.size();
}

bool integer(std::string_view s, long& out) {
    if (s.empty()) return false;
    const auto r = std::from_chars(s.data(), s.data() + s.size(), out);
    return r.ec == std::errc() && r.ptr == s.data() + s.size();
}

}  // namespace navimport
