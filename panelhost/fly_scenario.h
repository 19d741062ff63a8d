#pragma once
// The scenario of `run --fly`: a flight plan flown gate to stop as the demo flies its own, with
// no timings tuned by hand. The aircraft lines up on the plan's departure runway, NAV1 on the
// arrival runway's ILS; the crew loads the plan on the FMC, opens the throttles, raises the gear
// and the flaps and engages EXEC in the climb. Once the descent is under way (near the plan's
// time of its top of descent, and below 10,000 ft or 1,000 ft under a lower cruise) the crew hands
// the speed to the approach mode (SPD off) and arms it; flaps and gear follow the speed as it
// falls, EXEC ends once the localizer is captured, full flaps on the glide slope, and the run
// waits for the aircraft to stop.

#include <string>
#include <string_view>

#include "flightplan/route/navdb.h"
#include "platform/result.h"

namespace panelhost {

struct FlyScenario {
    std::string text;       // the scenario's commands
    double seconds = 0;     // the longest the flight may take: the plan's time with a margin
};

// From the FMC's plan text (its runways must be given: the planner names them) over the world
// data the plan was made with. An arrival runway without an ILS is refused: the flight could not
// land.
plat::Result<FlyScenario> fly_scenario(std::string_view fmc_plan, const planner::NavDb& db, std::string_view name);

}  // namespace panelhost
