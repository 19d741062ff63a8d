#pragma once
// An approach flown through the real host: the scenario a user would write (the aircraft put at the
// entry, NAV1 on the localizer, the approach armed; flaps full and the gear down at the glide
// slope's capture; waiting for the stop), run by the panel host in simulated time, and what it
// reported.

#include <optional>
#include <string>
#include <vector>

#include "approach_flight.h"
#include "sim/state.h"

namespace simtest {

struct HostFlown {
    bool found = false;
    std::string scenario;
    std::optional<sim::Touchdown> touchdown;
    double touchdown_past_threshold_ft = 0, touchdown_right_m = 0;  // from the landing threshold
    sim::ApproachPhase phase = sim::ApproachPhase::off;  // at the end
    std::vector<std::string> landing_txt;  // the run's landing.txt
    std::vector<std::string> notes;        // what the aircraft said
    std::optional<std::string> missed;     // the host's verdict on a landing that did not happen
    double seconds = 0;
};

// Runs under the current test (the host's run folder is named after it).
HostFlown fly_through_host(const Runway& r, const Entry& e);
// The scenario's lines for the entry.
std::string approach_scenario(const Start& start, const Runway& r, const Entry& e);

}  // namespace simtest
