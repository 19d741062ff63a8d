#pragma once
// Where a source of world data keeps its four files, in the folders users have:
//   a world data folder: apt.dat, nav.dat, fix.dat, awy.dat (plain or .gz), as the shipped data;
//   an X-Plane 11 or 12 folder: earth_nav.dat, earth_fix.dat and earth_awy.dat from Custom Data/
//     when all three are there (a provider's current cycle), else from Resources/default data/;
//     apt.dat from X-Plane 12's Global Scenery/Global Airports/Earth nav data/, else X-Plane 11's
//     Resources/default scenery/default apt dat/Earth nav data/;
//   a FlightGear data folder ($FG_ROOT): Navaids/nav.dat, fix.dat, awy.dat and Airports/apt.dat
//     (plain or .gz).

#include <string>

#include "platform/result.h"

namespace worlddata {

enum class SourceLayout { any, world_folder, xplane, flightgear };

struct WorldFiles {
    SourceLayout layout = SourceLayout::world_folder;
    std::string nav, fix, awy, apt;  // paths; awy is empty when the source has no airways
};

// The files of dir in the layout asked for (any: whichever dir has). The error names dir and what
// it lacks.
plat::Result<WorldFiles> find_world_files(const std::string& dir, SourceLayout layout = SourceLayout::any);

// "X-Plane folder" and the like, for messages.
const char* layout_name(SourceLayout layout);

}  // namespace worlddata
