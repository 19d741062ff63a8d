#pragma once
// modules.log: where each module of the panel was loaded from, one line per module, and the file
// in the simulator folder's Gauges/ it is known as when that is another:
//
//   navdisplay /usr/lib/cockpit-panel/gauges/navdisplay.gau as /home/pilot/.local/share/cockpit-panel/simulator/Gauges/navdisplay.gau
//
// A module of the user's own in the simulator folder has no "as" part.

#include <string>

#include "panelhost/panel.h"
#include "platform/result.h"

namespace panelhost {

plat::Result<bool> write_module_log(const std::string& path, Panel& panel);

}  // namespace panelhost
