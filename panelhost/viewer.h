#pragma once
// The panel in an SDL2 window, in real time: the open panel windows side by side, real mouse
// clicks and keys.

#include "panelhost/session.h"
#include "platform/result.h"

namespace panelhost {

// Whether a window can be shown: SDL's video answers on a display, not on one of the drivers it
// falls back to where none is (unless SDL_VIDEODRIVER names that driver). Checked before a view
// takes the user's folder, so a view over ssh without a display says so and changes nothing.
plat::Result<bool> check_display();
// Runs until the window is closed, or Ctrl-C or a stop request (SDL turns both into a quit).
plat::Result<bool> run_viewer(Session& session);

}  // namespace panelhost
