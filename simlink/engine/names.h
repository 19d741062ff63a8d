#pragma once
// The panel's contract numbers by the names host/tokens.h and host/key_events.h give them, so that
// binding files and messages speak of "magnetic_heading" and "heading_bug_up", never of 81 or 65879.

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace simlink {

struct Named {
    std::string_view name;
    std::int64_t number;
};

std::span<const Named> token_names();
std::span<const Named> event_names();

std::optional<int> token_by_name(std::string_view name);
std::optional<std::uint32_t> event_by_name(std::string_view name);
// Empty for a number with no name.
std::string_view token_name(int token);
std::string_view event_name(std::uint32_t id);

}  // namespace simlink
