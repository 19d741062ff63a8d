#pragma once
// The simulator root: the folder the modules see as the simulator's own, with Gauges/, NavData/,
// NavData/FlightPlans/, Sound/ and the host configuration files.

#include <string>

#include "platform/result.h"

namespace panelhost {

// Makes root afresh: the project's template tree copied in, every built module in Gauges/, and
// the navigation database built from the shipped world data in NavData/ (when it was built).
plat::Result<bool> prepare_root(const std::string& root, const std::string& data_dir, const std::string& module_dir,
                                const std::string& navdata_dir);
// Leaves plan as the only flight plan of root (a file name of the shipped plans, or a path to a
// plan in any format the route planner reads, converted to the FMC's).
// The value is the name it has there.
plat::Result<std::string> keep_only_plan(const std::string& root, const std::string& plan, const std::string& data_dir);
// Adds plan to root's flight plans (replacing one of the same name), leaving the others; the value
// is the name it has there.
plat::Result<std::string> add_plan(const std::string& root, const std::string& plan, const std::string& data_dir);
// A root kept from run to run, as the simulator's own folder is. On first use it is made as
// prepare_root makes one (in a folder beside it, renamed into place when whole). At every later
// start its modules and navigation database are brought up to the installed ones, each replaced
// whole since another panel may have the old one mapped, and files of the template it lacks are
// added; the rest stays as the last run left it: state files, flight plans, configuration files.
plat::Result<bool> prepare_kept_root(const std::string& root, const std::string& data_dir,
                                     const std::string& module_dir, const std::string& navdata_dir);
// Makes sure the folders exist in a root the user chose, leaving what is there.
plat::Result<bool> complete_root(const std::string& root);

}  // namespace panelhost
