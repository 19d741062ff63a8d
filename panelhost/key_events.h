#pragma once
// The key events modules send to the simulator, in the order sent.

#include <cstdint>
#include <string>
#include <vector>

namespace panelhost {

struct KeyEvent {
    double t = 0;  // simulated seconds
    std::uint32_t id = 0;
    std::uint32_t value = 0;
    std::string gauge;  // the gauge that sent it ("host" for host-sent area events without a gauge)
};

// One line per event: "t=<seconds> event=<id> value=<value> gauge=<name>".
std::string format_key_event(const KeyEvent& e);

}  // namespace panelhost
