// One reader of other simulators' flight plans (FUZZ_PLAN_READER: the FMS, FlightGear, FSX/MSFS,
// SimBrief or FMC plan reader, or the ICAO route resolver) over the test world data; a plan it
// takes is then written in every format the planner writes.
#include <string>

#include "flightplan/formats/fg_route_format.h"
#include "flightplan/formats/fmc_plan_format.h"
#include "flightplan/formats/fms_format.h"
#include "flightplan/formats/icao_route.h"
#include "flightplan/formats/msfs_pln_format.h"
#include "flightplan/formats/plan_io.h"
#include "flightplan/formats/simbrief_format.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/planner_world.h"

namespace {

const planner::NavDb& world() { return fuzzsupport::planner_world(); }

[[maybe_unused]] plat::Result<planner::FlightPlan> read_route(const planner::NavDb& db, std::string_view text,
                                                              std::string_view) {
    return planner::resolve_icao_route(db, text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto plan = FUZZ_PLAN_READER(world(), fuzzsupport::text_of(data, size), "fuzz");
    if (!plan) {
        fuzzsupport::require(!plan.error().empty(), "a refused plan says why");
        return 0;
    }
    for (auto format : {planner::PlanFormat::fmc, planner::PlanFormat::fms, planner::PlanFormat::flightgear}) {
        const auto text = planner::write_plan(world(), plan.value(), format, {});
        if (!text) fuzzsupport::require(!text.error().empty(), "a plan that cannot be written says why");
    }
    return 0;
}
