#pragma once
// The host's "--sim" option: "flightgear" or "xplane", each optionally "=HOST" or "=HOST:PORT"
// (an IPv6 address in brackets, "[::1]:5401").

#include <optional>
#include <string>
#include <string_view>

#include "simlink/engine/bindings.h"

namespace simlink {

struct SimChoice {
    Simulator simulator = Simulator::flightgear;
    std::string host;  // empty: not given
    int port = 0;      // 0: not given
};

// Nothing (and the reason in why) for anything else.
std::optional<SimChoice> parse_sim_option(std::string_view text, std::string& why);

// The shipped binding file's name for a simulator: "flightgear-generic", "xplane".
std::string_view default_bindings_name(Simulator s);

}  // namespace simlink
