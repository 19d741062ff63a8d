#pragma once
// Reading the X-Plane-format sources: whole lines of a plain or gzip-compressed text file, split
// into blank-separated fields.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace navimport {

// "<folder>/<name>.gz" if it exists, else "<folder>/<name>", else empty.
std::string find_source(const std::string& folder, const std::string& name);

// Calls each(line, line_number) for every line (CR and LF removed). False if the file cannot be
// read; `error` tells why.
bool read_lines(const std::string& path, const std::function<void(std::string_view, std::size_t)>& each,
                std::string& error);

// Fields of a line separated by blanks or tabs; `rest_from` gives, for field i, where the rest of
// the line begins (so a free-text name after the fixed fields can be taken whole).
struct Fields {
    std::vector<std::string_view> f;
    std::vector<std::size_t> at;
    std::string_view line;
    std::size_t size() const { return f.size(); }
    std::string_view operator[](std::size_t i) const { return i < f.size() ? f[i] : std::string_view{}; }
    std::string_view rest(std::size_t i) const { return i < f.size() ? line.substr(at[i]) : std::string_view{}; }
};
void split(std::string_view line, Fields& out);

// A whole field as a number; false if it is not one.
bool number(std::string_view s, double& out);
bool integer(std::string_view s, long& out);

}  // namespace navimport
