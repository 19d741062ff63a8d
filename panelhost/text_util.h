#pragma once
// Small parsing helpers shared by the host's readers of configuration and scenario files.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace panelhost {

std::string_view trim(std::string_view s);
std::vector<std::string_view> split(std::string_view s, char separator);
// Splits on runs of blanks.
std::vector<std::string_view> words(std::string_view s);
std::optional<int> parse_int(std::string_view s);
std::optional<double> parse_double(std::string_view s);
bool iequals(std::string_view a, std::string_view b);
std::optional<std::string> read_text_file(const std::string& path);

}  // namespace panelhost
