// backdrop <panel.cfg> <window number> <out.bmp>
// Writes the background bitmap of one window of a panel file, to be named by its file= line.
#include <cstdio>
#include <string>

#include "panelhost/panel_config.h"
#include "panelhost/text_util.h"
#include "platform/canvas/bmp_file.h"
#include "tools/artwork/backdrop.h"

namespace {
constexpr const char* kUsage =
    "usage: backdrop <panel.cfg> <window number> <out.bmp>\n"
    "Draws the background bitmap of one window of a panel file: the panel colour and the faces the\n"
    "fire panel, the DME and the yaw damper leave to the panel, where the panel places them.\n";
}

int main(int argc, char** argv) {
    if (argc == 2 && std::string(argv[1]) == "--help") {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (argc != 4) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    auto config = panelhost::load_panel_config(argv[1]);
    if (!config) {
        std::fprintf(stderr, "backdrop: %s\n", config.error().c_str());
        return 1;
    }
    const auto number = panelhost::parse_int(argv[2]);
    for (const panelhost::WindowConfig& window : config.value().windows) {
        if (!number || window.number != *number) continue;
        if (auto error = plat::write_bmp(argv[3], art::draw_backdrop(window), plat::BmpDepth::bits24)) {
            std::fprintf(stderr, "backdrop: %s\n", error->message.c_str());
            return 1;
        }
        return 0;
    }
    std::fprintf(stderr, "backdrop: %s has no window %s\n", argv[1], argv[2]);
    return 1;
}
