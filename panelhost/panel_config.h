#pragma once
// A panel configuration in the simulator's own form:
//
//   [Window00]
//   size=640,480
//   position=0,0
//   ident=40
//   visible=1
//   gauge00=ndmodeselect!ndmodeselect, 10, 20
//   gauge01=airspeed!airspeed, 200, 20, 150, 150
//   file=panel_background.bmp

#include <optional>
#include <string>
#include <vector>

#include "platform/result.h"

namespace panelhost {

struct GaugePlacement {
    std::string module;  // file name without ".gau"
    std::string gauge;   // gauge name as its header gives it
    int x = 0, y = 0;
    std::optional<int> width, height;  // default: the gauge's own size
    int line = 0;                      // where it was declared, for messages
};

struct WindowConfig {
    int number = 0;  // NN of [WindowNN]
    int width = 0, height = 0;
    int x = 0, y = 0;
    int ident = 0;
    bool visible = true;
    std::string title;  // from [Window Titles]; empty when none is given
    // The bitmap drawn under the gauges, scaled to the window; relative to the panel file's folder.
    std::string background;
    int background_line = 0;
    std::vector<GaugePlacement> gauges;
};

struct PanelConfig {
    std::string path;
    std::vector<WindowConfig> windows;
};

// Fails with "<file>:<line>: <what was wrong>".
plat::Result<PanelConfig> parse_panel_config(const std::string& text, const std::string& path);
plat::Result<PanelConfig> load_panel_config(const std::string& path);
// Where a window's background bitmap is: the simulator's backslashes read as folder separators.
std::string background_path(const PanelConfig& config, const WindowConfig& window);

}  // namespace panelhost
