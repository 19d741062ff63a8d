// One reader of other simulators' flight plans (FUZZ_PLAN_READER: the FMS, FlightGear, FSX/MSFS,
// FS2004, SimBrief or FMC plan reader), with no world data at hand; a plan it takes is then
// written as X-Plane's and FlightGear's, which need none either.
#include <string>

#include "flightplan/formats/fg_route_format.h"
#include "flightplan/formats/fmc_plan_format.h"
#include "flightplan/formats/fms_format.h"
#include "flightplan/formats/fs9_pln_format.h"
#include "flightplan/formats/msfs_pln_format.h"
#include "flightplan/formats/simbrief_format.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto plan = planner::FUZZ_PLAN_READER(fuzzsupport::text_of(data, size), "fuzz");
    if (!plan) {
        fuzzsupport::require(!plan.error().empty(), "a refused plan says why");
        return 0;
    }
    fuzzsupport::require(!planner::write_fms(plan.value(), {}).empty(), "an FMS text is written");
    fuzzsupport::require(!planner::write_fg_route(plan.value()).empty(), "a FlightGear route is written");
    return 0;
}
