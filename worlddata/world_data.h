#pragma once
// A source's world data read whole: each file read (plain or gzip), its version checked against the
// versions the parsers know, its rows parsed, and 1100 airway segments placed on the fixes and
// navaids they name. The one way the programs read world data.

#include <cstddef>
#include <string>
#include <vector>

#include "platform/result.h"
#include "worlddata/world_files.h"
#include "worlddata/xplane.h"

namespace worlddata {

// What was read of one file, for reports.
struct FileReport {
    std::string path;
    std::string version_line;  // the file's second line
    int version = 0;           // the number it starts with
    ParseStats stats;
};

struct WorldData {
    std::vector<Navaid> navaids;
    std::vector<Fix> fixes;
    std::vector<AirwaySegment> airways;
    std::vector<Airport> airports;
    FileReport nav, fix, awy, apt;
    std::size_t unplaced_segments = 0;  // airway segments with an end neither the fix nor the nav file holds
};

struct LoadOptions {
    bool fixes_and_airways = true;  // false: navaids and airports only
    std::size_t largest_file = std::size_t{1} << 31;  // bytes, once unpacked
};

// Reads the files found; the error names the file that could not be read, or whose version line
// states a version its parser does not know (and that version).
plat::Result<WorldData> load_world_data(const WorldFiles& files, const LoadOptions& options = {});
// find_world_files, then load_world_data.
plat::Result<WorldData> load_world_data(const std::string& dir, const LoadOptions& options = {});

}  // namespace worlddata
