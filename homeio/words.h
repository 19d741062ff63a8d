#pragma once
// The words of a protocol or controls line, and the numbers in them, read strictly: a number is
// all digits (with a sign or 0x where allowed) and in range, or it is not a number.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/words.h"

namespace homeio {

// A decimal integer within [low, high], optionally signed.
std::optional<std::int64_t> integer_word(std::string_view word, std::int64_t low, std::int64_t high);
// A decimal or 0x hexadecimal integer within [low, high].
std::optional<std::int64_t> number_word(std::string_view word, std::int64_t low, std::int64_t high);

// The words from `first` on, joined by single spaces (a command carried by a controls line).
std::string join_words(const std::vector<std::string_view>& words, std::size_t first);

}  // namespace homeio
