#pragma once
// panelhost's command line: "run" or "view", then the options (their help text is usage_text()).
// Every option is checked here, once, so a run never starts on a value the host cannot honour.

#include <optional>
#include <span>
#include <string>

#include "homeio/io_options.h"
#include "panelhost/session.h"
#include "platform/result.h"
#include "web/panel_server.h"

namespace panelhost {

struct CommandLine {
    bool view = false;  // "view": in a window, in real time; else "run": headless
    SessionOptions session;
    double seconds = 10.0;  // run: how long, in simulated seconds
    bool seconds_from_flight = false;  // run --fly without --seconds: as long as the flight needs
    std::optional<web::WebOptions> web;
    std::optional<homeio::IoOptions> io;  // the line protocol for boards and scripts
    std::string controls;                 // a controls file: joysticks and button boxes
};

const char* usage_text();

// "--help" or "--version" anywhere: answered on standard output; the exit status.
std::optional<int> answer_help_or_version(std::span<char* const> args);
// The command and its options (args[0] is the program), or why they cannot be run.
plat::Result<CommandLine> parse_command_line(std::span<char* const> args);

}  // namespace panelhost
