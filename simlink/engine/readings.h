#pragma once
// What the link reads of the simulator: every path a binding names, each once, and the newest value
// of each. The transports fill the readings; the panel thread turns them into the tokens.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "sim/aircraft.h"
#include "simlink/engine/bindings.h"

namespace simlink {

// The paths the link reads, each once, and where each token's sources are among them.
struct PropertyIndex {
    std::vector<std::string> paths;
    std::vector<bool> is_text;                               // some binding reads it as a text
    std::vector<double> until_answered;
    std::vector<std::array<int, max_sources>> row_sources;  // by token binding; -1: unused
    std::unordered_map<std::string, int> by_path;
    int find(std::string_view path) const;  // -1 when no binding names it
};

// The token sources, then whatever the key events read back: the settings, throttles, gear lever
// and the toggled switches' states.
PropertyIndex build_index(const Bindings& b);

// A path keeps its last good value when an answer for it is bad; one never answered stands at its
// binding's value until answered.
struct Readings {
    std::vector<double> numbers;
    std::vector<std::string> texts;
    std::vector<bool> answered;
    explicit Readings(const PropertyIndex& index);
    Readings() = default;
    void take_number(std::size_t i, double v);
    void take_text(std::size_t i, std::string t);
};

// Longest identifier text the link takes; anything else but printable ASCII is refused.
inline constexpr std::size_t max_text_bytes = 31;
bool acceptable_text(std::string_view t);

// One token's value from the readings (a text row gives 0).
double token_value(const Bindings& b, const PropertyIndex& index, std::size_t row, const Readings& r,
                   const LinkIntent& intent);
// Writes every bound token from the readings.
void publish_tokens(const Bindings& b, const PropertyIndex& index, const Readings& r, const LinkIntent& intent,
                    sim::TokenSink& sink);

}  // namespace simlink
