#pragma once
// The session as the browser server sees it (web/panel_source.h): its panel's windows and their
// pictures, the pages' clicks and keys applied as the window viewer applies them, and the server
// told of every cycle.

#include <memory>
#include <string>

#include "panelhost/session.h"
#include "platform/result.h"
#include "web/panel_server.h"

namespace panelhost {

// A window's title as the pages and the line protocol list it: the panel file's, else its number
// and modules.
std::string window_title(const WindowConfig& config);

// Starts the browser server on the session; the server must be gone before the session.
plat::Result<std::unique_ptr<web::PanelWebServer>> serve_in_browser(Session& session, const web::WebOptions& options);

}  // namespace panelhost
