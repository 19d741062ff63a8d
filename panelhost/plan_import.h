#pragma once
// A flight plan for the FMC from a file of any format the route planner reads: the FMC's own plan
// is taken as it is, any other (X-Plane .fms, FlightGear route, FSX/MSFS .pln, SimBrief OFP, a
// route string) is converted over the world data of the run (the shipped data, or the user's own).

#include <string>

#include "platform/result.h"

namespace panelhost {

struct ImportedPlan {
    std::string name;  // the file name the FMC lists it under: the source's name ending in .pln
    std::string text;  // the FMC plan file's bytes
};

// world_data_dir empty: no world data is known (a database that does not record its source), and
// only the FMC's own plans are taken.
plat::Result<ImportedPlan> import_plan(const std::string& path, const std::string& world_data_dir);

}  // namespace panelhost
