// A plan of any format, read and resolved over the test world data (FUZZ_WORLD_DIR), then written
// in every format the planner writes.
#include <string>

#include "flightplan/formats/plan_io.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/planner_world.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const planner::NavDb& world = fuzzsupport::planner_world();
    const auto read = planner::read_plan(world, fuzzsupport::text_of(data, size), "fuzz");
    if (!read) {
        fuzzsupport::require(!read.error().empty(), "a refused plan says why");
        return 0;
    }
    for (auto format : {planner::PlanFormat::fmc, planner::PlanFormat::fms, planner::PlanFormat::flightgear}) {
        const auto text = planner::write_plan(world, read->plan, format, {});
        if (!text) fuzzsupport::require(!text.error().empty(), "a plan that cannot be written says why");
    }
    return 0;
}
