#pragma once
// The words of a line of a text file or protocol of the panel's own, and the number a word holds,
// read strictly: the whole word is the number, and it is finite.

#include <charconv>
#include <cmath>
#include <optional>
#include <string_view>
#include <vector>

namespace plat {

// Words separated by blanks (spaces and tabs); none for a blank line.
inline std::vector<std::string_view> split_words(std::string_view line) {
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
        const std::size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
        if (i > start) words.push_back(line.substr(start, i - start));
    }
    return words;
}

// A decimal number such as 0.05 or -3e2, or nothing when the word is anything more or less.
inline std::optional<double> finite_number(std::string_view word) {
    double v = 0;
    const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), v);
    if (word.empty() || ec != std::errc{} || end != word.data() + word.size() || !std::isfinite(v)) return std::nullopt;
    return v;
}

}  // namespace plat
