#pragma once
// The home cockpit's hardware on a session, as the command line asks for it: the line protocol's
// server (--io) and the joysticks of a controls file (--controls), both working the panel through
// the session's io_panel. Started after the session is open; gone before it closes.

#include <memory>
#include <optional>
#include <span>

#include "homeio/io_panel.h"
#include "homeio/io_server.h"
#include "homeio/joysticks.h"
#include "panelhost/command_line.h"
#include "panelhost/session.h"
#include "platform/result.h"

namespace panelhost {

class HomeCockpit {
public:
    // Nothing to start when the command line asks for neither; addresses said on the terminal.
    static plat::Result<std::unique_ptr<HomeCockpit>> start(Session& session, const CommandLine& line);
    ~HomeCockpit();

private:
    HomeCockpit() = default;
    std::unique_ptr<homeio::IoPanel> server_panel_, controls_panel_;
    std::unique_ptr<homeio::IoServer> server_;
    std::unique_ptr<homeio::Joysticks> joysticks_;
};

// "--list-controls" anywhere: the connected devices printed on standard output; the exit status.
std::optional<int> answer_list_controls(std::span<char* const> args);

}  // namespace panelhost
