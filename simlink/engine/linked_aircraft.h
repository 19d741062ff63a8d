#pragma once
// The linked simulator's aircraft in the host's own terms, from the tokens the panel reads of it:
// what the terminal's progress lines and the flight record follow while another simulator flies.

#include <functional>

#include "sim/state.h"

namespace simlink {

// token: the value of a token as published (0 for one the bindings leave out).
sim::AircraftState aircraft_from_tokens(const std::function<double(int)>& token);

}  // namespace simlink
