#include "panelhost/key_events.h"

#include <cstdio>

namespace panelhost {

std::string format_key_event(const KeyEvent& e) {
    char line[160];
    std::snprintf(line, sizeof line, "t=%.3f event=%u value=%u gauge=", e.t, e.id, e.value);
    return line + e.gauge;
}

}  // namespace panelhost
