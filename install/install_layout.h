#pragma once
// Where the programs find their modules and data: relative to the running program's own file, so
// that a prefix install, the Debian package and the build tree (which mirrors the installed layout)
// all work wherever they are put. The environment variables PANEL_DATA_DIR, PANEL_MODULE_DIR and
// PANEL_NAVDATA_DIR override each folder.
//
//   <prefix>/bin/panelhost                     the programs
//   <prefix>/lib/cockpit-panel/platform/       the platform library
//   <prefix>/lib/cockpit-panel/gauges/         the modules (*.gau)
//   <prefix>/share/cockpit-panel/              panel/, scenarios/, root/ (the simulator folder's
//                                              template), navdata/ (the world data)
//   <prefix>/share/cockpit-panel/navdb/        the navigation display's database, built from it

#include <string>

#include "platform/result.h"

namespace install {

// The folder above the one that holds the running program ("" when it cannot be told).
std::string program_prefix();

std::string data_dir();
std::string module_dir();
std::string navdb_dir();
// The X-Plane-format world data the database and the route planner are made from.
std::string world_data_dir();

// The user's own folder of the panel, kept between runs: $XDG_DATA_HOME/cockpit-panel, else
// $HOME/.local/share/cockpit-panel. An error when neither variable names an absolute folder.
plat::Result<std::string> user_data_dir();

}  // namespace install
