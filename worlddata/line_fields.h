#pragma once
// Whitespace-separated fields of one data line, as views into the line, and bounded number reading.

#include <charconv>
#include <cstddef>
#include <string_view>

namespace worlddata {

class LineFields {
public:
    static constexpr std::size_t max_fields = 32;

    explicit LineFields(std::string_view line) : line_(line) {
        std::size_t i = 0;
        while (count_ < max_fields) {
            while (i < line.size() && is_blank(line[i])) ++i;
            if (i >= line.size()) break;
            const std::size_t start = i;
            while (i < line.size() && !is_blank(line[i])) ++i;
            start_[count_] = start;
            field_[count_++] = line.substr(start, i - start);
        }
    }

    std::size_t size() const { return count_; }
    std::string_view operator[](std::size_t i) const { return i < count_ ? field_[i] : std::string_view{}; }
    // Everything from field i to the end of the line, trailing blanks removed.
    std::string_view rest(std::size_t i) const {
        if (i >= count_) return {};
        std::string_view r = line_.substr(start_[i]);
        while (!r.empty() && is_blank(r.back())) r.remove_suffix(1);
        return r;
    }

private:
    static bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\r'; }
    std::string_view line_;
    std::string_view field_[max_fields];
    std::size_t start_[max_fields] = {};
    std::size_t count_ = 0;
};

// The whole field as a number; false for anything else (a partial number counts as malformed).
inline bool to_number(std::string_view s, double& out) {
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    if (s.empty()) return false;
    const auto r = std::from_chars(s.data(), s.data() + s.size(), out);
    return r.ec == std::errc{} && r.ptr == s.data() + s.size();
}

inline bool to_number(std::string_view s, int& out) {
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    if (s.empty()) return false;
    const auto r = std::from_chars(s.data(), s.data() + s.size(), out);
    return r.ec == std::errc{} && r.ptr == s.data() + s.size();
}

inline bool valid_position(double lat, double lon) { return lat >= -90 && lat <= 90 && lon >= -180 && lon <= 180; }

// Calls fn(line) for every line of text, without its line end.
template <typename Fn>
void for_each_line(std::string_view text, Fn fn) {
    while (!text.empty()) {
        const std::size_t nl = text.find('\n');
        std::string_view line = text.substr(0, nl);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        fn(line);
        if (nl == std::string_view::npos) break;
        text.remove_prefix(nl + 1);
    }
}

}  // namespace worlddata
