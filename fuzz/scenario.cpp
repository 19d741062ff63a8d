// The scenario file: any text either gives commands in time order or an error naming the file and
// line.
#include <algorithm>
#include <string>

#include "fuzz/fuzz_support.h"
#include "panelhost/scenario.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(fuzzsupport::text_of(data, size));
    const auto scenario = panelhost::parse_scenario(text, "fuzz.txt");
    if (!scenario) {
        fuzzsupport::require(scenario.error().rfind("fuzz.txt:", 0) == 0, "error names the scenario file");
        return 0;
    }
    const auto& c = scenario->commands;
    fuzzsupport::require(std::is_sorted(c.begin(), c.end(), [](const auto& a, const auto& b) { return a.t < b.t; }),
                         "commands in time order");
    return 0;
}
