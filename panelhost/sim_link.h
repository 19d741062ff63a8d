#pragma once
// The link to another simulator as the host's --sim options ask for it: the option read, the
// binding file loaded (the user's, or the one shipped for that simulator) and checked against the
// simulator chosen, and the link started with that simulator's transport.

#include <memory>
#include <string>

#include "platform/result.h"
#include "simlink/engine/link.h"

namespace panelhost {

struct SimLinkRequest {
    std::string sim;        // the --sim value
    std::string bindings;   // --sim-bindings; empty: the shipped file
    std::string shipped;    // the folder of the shipped binding files
    double rate_hz = 18.0;
};

plat::Result<std::unique_ptr<simlink::Link>> open_sim_link(const SimLinkRequest& request);

}  // namespace panelhost
