#pragma once
// modules.log: where each module of the panel was loaded from, one line per module, and for a
// copy in the root's Gauges folder, the installed module it is a copy of:
//
//   navdisplay /home/pilot/.local/share/cockpit-panel/simulator/Gauges/navdisplay.gau copy-of /usr/lib/cockpit-panel/gauges/navdisplay.gau
//
// A module that differs from the installed one of its name (or has none) has no copy-of part.

#include <string>

#include "panelhost/panel.h"
#include "platform/result.h"

namespace panelhost {

plat::Result<bool> write_module_log(const std::string& path, Panel& panel, const std::string& module_dir);

}  // namespace panelhost
