#pragma once
// Following airways: from an entry point along one airway, or several in a row that meet where
// they cross, to an exit ident. Each airway is a graph of its segments; two segments join at a
// point only when both name the same ident at the same place, so fragments of one airway that the
// world data leaves apart stay apart.

#include <string>
#include <vector>

#include "flightplan/route/navdb.h"
#include "flightplan/route/route.h"
#include "platform/result.h"

namespace planner {

struct AirwayStep {
    RoutePlace place;
    std::string airway;  // the airway that leads to it
};

// The points after entry up to and including the exit, by the fewest segments. Fails naming the
// airway that does not hold the entry or the exit, airways that do not meet, or a gap between.
plat::Result<std::vector<AirwayStep>> follow_airways(const NavDb& db, const std::vector<std::string>& airways,
                                                     const RoutePlace& entry, const std::string& exit);

}  // namespace planner
