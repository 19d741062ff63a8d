#include "panelhost/sim_link.h"

#include "simlink/engine/sim_option.h"
#include "simlink/flightgear/props_transport.h"
#include "simlink/xplane/udp_transport.h"

namespace panelhost {

namespace {

std::unique_ptr<simlink::Transport> transport_for(const simlink::SimChoice& choice, double rate_hz) {
    if (choice.simulator == simlink::Simulator::xplane) {
        simlink::xp::UdpOptions o;
        o.host = choice.host;
        o.port = choice.port;
        o.rate_hz = rate_hz;
        return std::make_unique<simlink::xp::UdpTransport>(o);
    }
    simlink::fg::PropsOptions o;
    if (!choice.host.empty()) o.host = choice.host;
    if (choice.port != 0) o.port = choice.port;
    return std::make_unique<simlink::fg::PropsTransport>(o);
}

}  // namespace

plat::Result<std::unique_ptr<simlink::Link>> open_sim_link(const SimLinkRequest& request) {
    std::string why;
    const auto choice = simlink::parse_sim_option(request.sim, why);
    if (!choice) return plat::Error{why};
    const std::string file = request.bindings.empty()
                                 ? request.shipped + "/" + std::string(simlink::default_bindings_name(choice->simulator))
                                 : request.bindings;
    auto bindings = simlink::load_bindings(file, request.shipped);
    if (!bindings) return plat::Error{bindings.error()};
    if (bindings->simulator != choice->simulator)
        return plat::Error{file + ": binds " + std::string(simlink::simulator_name(bindings->simulator)) + ", not " +
                           std::string(simlink::simulator_name(choice->simulator))};
    simlink::LinkOptions options;
    options.rate_hz = request.rate_hz;
    return std::make_unique<simlink::Link>(std::move(bindings).value(), transport_for(*choice, request.rate_hz), options);
}

}  // namespace panelhost
