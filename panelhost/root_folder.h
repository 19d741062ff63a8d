#pragma once
// The simulator root: the folder the modules see as the simulator's own, with Gauges/, NavData/,
// NavData/FlightPlans/, Sound/ and the host configuration files.

#include <string>

#include "panelhost/navdata_source.h"
#include "platform/result.h"

namespace panelhost {

// The file a run leaves in each root it makes, so that the next run with the same output folder
// knows the folder is one it may clear.
inline constexpr const char* kRootMark = ".made-by-panelhost";
inline constexpr const char* kRootMarkText = "Made by panelhost run; the next run with this output folder makes it again.\n";

// Makes root afresh: the project's template tree copied in, the folders every root has. A
// root that exists is cleared first only when a run made it (or it is empty); any other folder
// there is refused, so a run never deletes what it did not make.
plat::Result<bool> prepare_root(const std::string& root, const std::string& data_dir);
// Puts the navigation database of `source` into root's NavData/: a database's files copied (those
// that differ, each replaced whole since another panel may have the old one mapped; the shipped
// database's files that were built), a world data source imported. An import is kept when root's
// NavData records the same source and is newer than each of its files.
plat::Result<bool> install_navdata(const std::string& root, const NavdataSource& source);
// Leaves plan as the only flight plan of root (a file name of the shipped plans, or a path to a
// plan in any format the route planner reads, converted to the FMC's over the world data in
// world_dir). The value is the name it has there.
plat::Result<std::string> keep_only_plan(const std::string& root, const std::string& plan, const std::string& data_dir,
                                         const std::string& world_dir);
// Adds plan to root's flight plans (replacing one of the same name), leaving the others; the value
// is the name it has there.
plat::Result<std::string> add_plan(const std::string& root, const std::string& plan, const std::string& data_dir,
                                   const std::string& world_dir);
// A root kept from run to run, as the simulator's own folder is. On first use it is made as
// prepare_root makes one (in a folder beside it, renamed into place when whole). At every later
// start the files of the template it lacks are added, and copies of installed modules that roots of
// earlier versions hold are brought up to the installed ones, each replaced whole since another
// panel may have the old one mapped; the rest stays as the last run left it: state files, flight
// plans, configuration files, the user's own modules.
plat::Result<bool> prepare_kept_root(const std::string& root, const std::string& data_dir,
                                     const std::string& module_dir);
// Makes sure the folders exist in a root the user chose, leaving what is there.
plat::Result<bool> complete_root(const std::string& root);

}  // namespace panelhost
