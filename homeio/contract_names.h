#pragma once
// The panel's contract by name, as the line protocol and the controls files write it: the key
// events the modules send ("gear_toggle") and the simulator variables they read ("indicated_airspeed"),
// named as their constants in host/key_events.h and host/tokens.h.

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace homeio {

struct ContractName {
    std::string_view name;
    std::int64_t number;
};

const std::vector<ContractName>& event_names();
const std::vector<ContractName>& token_names();

// A key event by name or by number (decimal, or 0x hexadecimal); nothing for an unknown name.
std::optional<std::uint32_t> event_number(std::string_view word);
// A simulator variable by name or by number (0 to 65535); nothing for an unknown name.
std::optional<std::int32_t> token_number(std::string_view word);

}  // namespace homeio
