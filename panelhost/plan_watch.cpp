#include "panelhost/plan_watch.h"

#include <string_view>

#include "platform/shared_block.h"

namespace panelhost {

bool PlanWatch::poll() {
    auto block = plat::SharedBlock::open_existing("fltplanMap" + std::to_string(expected_));
    if (!block) return false;
    auto view = block->map(plat::Access::read_only);
    if (!view) return false;
    expected_ = 1 - expected_;
    const std::string_view text(view->as<const char>(), view->size());
    route_ = planner::parse_route_text(text);
    runways_ = planner::parse_plan_runways(text);
    return true;
}

}  // namespace panelhost
