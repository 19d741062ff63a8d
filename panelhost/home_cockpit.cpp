#include "panelhost/home_cockpit.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "panelhost/io_source.h"
#include "web/listen_address.h"

namespace panelhost {

plat::Result<std::unique_ptr<HomeCockpit>> HomeCockpit::start(Session& session, const CommandLine& line) {
    std::unique_ptr<HomeCockpit> cockpit(new HomeCockpit());
    const bool own_aircraft = line.session.sim.empty();
    if (!line.controls.empty()) {
        auto file = homeio::read_controls(line.controls);
        if (!file) return plat::Error{file.error()};
        cockpit->controls_panel_ = io_panel(session, own_aircraft);
        auto joysticks = homeio::Joysticks::start(*cockpit->controls_panel_, std::move(file).value(), [](const std::string& s) {
            std::printf("%s\n", s.c_str());
            std::fflush(stdout);
        });
        if (!joysticks) return plat::Error{joysticks.error()};
        cockpit->joysticks_ = std::move(joysticks).value();
    }
    if (line.io) {
        cockpit->server_panel_ = io_panel(session, own_aircraft);
        auto server = homeio::IoServer::start(*cockpit->server_panel_, *line.io);
        if (!server) return plat::Error{server.error()};
        cockpit->server_ = std::move(server).value();
        std::printf("line protocol at %s:%d\n", line.io->address.c_str(), cockpit->server_->port());
        if (!web::is_loopback(line.io->address) && line.io->token.empty())
            std::printf("panelhost: anyone who can reach port %d can work the panel; --io-token TEXT asks for a token\n",
                        cockpit->server_->port());
        std::fflush(stdout);
    }
    return cockpit;
}

HomeCockpit::~HomeCockpit() {
    server_.reset();
    joysticks_.reset();
}

std::optional<int> answer_list_controls(std::span<char* const> args) {
    if (std::none_of(args.begin(), args.end(), [](const char* a) { return std::string(a) == "--list-controls"; }))
        return std::nullopt;
    auto system = homeio::JoystickSystem::open();
    if (!system) {
        std::fprintf(stderr, "panelhost: %s\n", system.error().c_str());
        return 1;
    }
    std::fputs(homeio::describe_devices(homeio::connected_devices()).c_str(), stdout);
    return 0;
}

}  // namespace panelhost
