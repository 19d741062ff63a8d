#pragma once
// The test world data (FUZZ_WORLD_DIR) the planner's targets resolve routes over, loaded once.

#include "flightplan/route/navdb.h"
#include "fuzz/fuzz_support.h"

namespace fuzzsupport {

inline const planner::NavDb& planner_world() {
    static const planner::NavDb db = [] {
        auto loaded = planner::NavDb::load(FUZZ_WORLD_DIR);
        require(loaded.ok(), "test world data loads");
        return std::move(loaded).value();
    }();
    return db;
}

}  // namespace fuzzsupport
