#pragma once
// The navigation data a run uses: the shipped database and world data, or the user's own, given
// with --navdata as a database navimport made or as any world data source (a world data folder, an
// X-Plane folder, a FlightGear data folder). The database goes into the simulator folder's NavData/;
// the world data behind it is what the planner resolves plans over and what the aircraft's radios
// tune. The user's own folder keeps the last choice, so that the next run there uses it again.

#include <string>

#include "platform/result.h"

namespace panelhost {

struct NavdataSource {
    std::string database;  // a folder with the five NavData files to copy; empty: import `world`
    std::string world;     // the world data behind them; empty when a database does not record it
    bool shipped = true;
    std::string note;      // what the user should know of it (a database whose source is gone), or empty
};

// The value of --navdata that goes back to the shipped data.
inline constexpr const char* kShippedNavdata = "shipped";

NavdataSource shipped_navdata();
// What --navdata names: "shipped", a database (its source.txt names its world data) or a world data
// source. The error says what the folder is not.
plat::Result<NavdataSource> navdata_source(const std::string& given);

// Whether the folder holds the five NavData files.
bool is_database(const std::string& dir);

// The choice kept in the user's folder: a path, or "shipped" when none was kept.
plat::Result<std::string> kept_navdata_choice(const std::string& state_file);
// Keeps the choice (replaced atomically).
plat::Result<bool> keep_navdata_choice(const std::string& state_file, const std::string& choice);

}  // namespace panelhost
