#pragma once
// The panel in an SDL2 window, in real time: the open panel windows side by side, real mouse
// clicks and keys.

#include "panelhost/session.h"
#include "platform/result.h"

namespace panelhost {

// Runs until the window is closed.
plat::Result<bool> run_viewer(Session& session);

}  // namespace panelhost
