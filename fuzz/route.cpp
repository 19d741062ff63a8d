// The route planner's route strings, resolved against the test world data and laid out as a plan.
#include <string>

#include "flightplan/planning/plan.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/planner_world.h"

namespace {

const planner::NavDb& world() { return fuzzsupport::planner_world(); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Route strings are a line of words; a long one only repeats what a short one tries.
    if (size > 512) return 0;
    planner::PlanRequest request;
    request.route = std::string(fuzzsupport::text_of(data, size));
    request.data_dir = FUZZ_WORLD_DIR;
    const auto plan = planner::make_plan(world(), request);
    if (!plan) fuzzsupport::require(!plan.error().empty(), "a refused route says why");
    return 0;
}
