#pragma once
// The session as the line protocol and the controls see it (homeio/io_panel.h): its windows,
// clicks, presses and keys applied as the window viewer and the browser pages apply them, key events
// sent as a module sends them, the elements' and variables' values, and the host aircraft's levers.

#include <memory>

#include "homeio/io_panel.h"
#include "panelhost/session.h"

namespace panelhost {

// own_aircraft: the host's aircraft flies (no simulator link), so axes move its levers.
std::unique_ptr<homeio::IoPanel> io_panel(Session& session, bool own_aircraft);

}  // namespace panelhost
