#include "homeio/contract_names.h"

#include "homeio/words.h"

namespace homeio {
namespace {

std::optional<std::int64_t> find(const std::vector<ContractName>& names, std::string_view word) {
    for (const ContractName& n : names)
        if (n.name == word) return n.number;
    return std::nullopt;
}

}  // namespace

std::optional<std::uint32_t> event_number(std::string_view word) {
    if (auto n = number_word(word, 0, 0xFFFFFFFF)) return static_cast<std::uint32_t>(*n);
    if (auto n = find(event_names(), word)) return static_cast<std::uint32_t>(*n);
    return std::nullopt;
}

std::optional<std::int32_t> token_number(std::string_view word) {
    if (auto n = number_word(word, 0, 65535)) return static_cast<std::int32_t>(*n);
    if (auto n = find(token_names(), word)) return static_cast<std::int32_t>(*n);
    return std::nullopt;
}

}  // namespace homeio
