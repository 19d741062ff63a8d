// The panel file: any text either gives windows and placements or an error naming the file and line.
#include <string>

#include "fuzz/fuzz_support.h"
#include "panelhost/panel_config.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(fuzzsupport::text_of(data, size));
    const auto config = panelhost::parse_panel_config(text, "fuzz.cfg");
    if (!config) fuzzsupport::require(config.error().rfind("fuzz.cfg:", 0) == 0, "error names the panel file");
    return 0;
}
