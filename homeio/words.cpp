#include "homeio/words.h"

#include <charconv>

namespace homeio {

namespace {

std::optional<std::int64_t> read_integer(std::string_view digits, int base, bool negative, std::int64_t low,
                                         std::int64_t high) {
    if (digits.empty()) return std::nullopt;
    std::uint64_t magnitude = 0;
    auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), magnitude, base);
    if (ec != std::errc{} || end != digits.data() + digits.size()) return std::nullopt;
    // Beyond every range the protocol has, and clear of the sign's overflow.
    if (magnitude > (std::uint64_t{1} << 40)) return std::nullopt;
    const auto v = negative ? -static_cast<std::int64_t>(magnitude) : static_cast<std::int64_t>(magnitude);
    if (v < low || v > high) return std::nullopt;
    return v;
}

}  // namespace

std::optional<std::int64_t> integer_word(std::string_view word, std::int64_t low, std::int64_t high) {
    const bool negative = !word.empty() && word[0] == '-';
    if (!word.empty() && (word[0] == '-' || word[0] == '+')) word.remove_prefix(1);
    return read_integer(word, 10, negative, low, high);
}

std::optional<std::int64_t> number_word(std::string_view word, std::int64_t low, std::int64_t high) {
    if (word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X'))
        return read_integer(word.substr(2), 16, false, low, high);
    return integer_word(word, low, high);
}

std::string join_words(const std::vector<std::string_view>& words, std::size_t first) {
    std::string out;
    for (std::size_t i = first; i < words.size(); ++i) {
        if (i > first) out += ' ';
        out += words[i];
    }
    return out;
}

}  // namespace homeio
