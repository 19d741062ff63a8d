#include "simlink/engine/sim_option.h"

namespace simlink {

namespace {

std::optional<int> parse_port(std::string_view text) {
    if (text.empty() || text.size() > 5) return std::nullopt;
    int port = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        port = port * 10 + (c - '0');
    }
    if (port < 1 || port > 65535) return std::nullopt;
    return port;
}

bool host_name_ok(std::string_view host) {
    if (host.empty() || host.size() > 253) return false;
    for (char c : host)
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == '-' ||
              c == ':' || c == '_'))
            return false;
    return true;
}

}  // namespace

std::optional<SimChoice> parse_sim_option(std::string_view text, std::string& why) {
    SimChoice choice;
    std::string_view name;
    for (auto [n, s] : {std::pair{std::string_view("flightgear"), Simulator::flightgear},
                        std::pair{std::string_view("xplane"), Simulator::xplane}})
        if (text.substr(0, n.size()) == n && (text.size() == n.size() || text[n.size()] == '=')) {
            name = n;
            choice.simulator = s;
        }
    if (name.empty()) {
        why = "--sim takes flightgear[=HOST[:PORT]] or xplane[=HOST[:PORT]]";
        return std::nullopt;
    }
    if (text.size() == name.size()) return choice;
    const std::string form = "--sim " + std::string(name);
    std::string_view where = text.substr(name.size() + 1);
    std::string_view host = where, port;
    if (!where.empty() && where.front() == '[') {  // an IPv6 address
        const std::size_t close = where.find(']');
        if (close == std::string_view::npos) {
            why = form + "=[ADDRESS]:PORT: the ']' is missing";
            return std::nullopt;
        }
        host = where.substr(1, close - 1);
        const std::string_view rest = where.substr(close + 1);
        if (!rest.empty() && rest.front() != ':') {
            why = form + "=[ADDRESS]:PORT: ':' expected after ']'";
            return std::nullopt;
        }
        if (!rest.empty()) port = rest.substr(1);
        if (!rest.empty() && port.empty()) port = "x";
    } else if (const std::size_t colon = where.rfind(':'); colon != std::string_view::npos) {
        host = where.substr(0, colon);
        port = where.substr(colon + 1);
        if (port.empty()) port = "x";
    }
    if (!host_name_ok(host)) {
        why = form + "=HOST[:PORT]: '" + std::string(host) + "' is not a host name";
        return std::nullopt;
    }
    choice.host = std::string(host);
    if (!port.empty()) {
        const auto p = parse_port(port);
        if (!p) {
            why = form + "=HOST:PORT: the port must be a number from 1 to 65535";
            return std::nullopt;
        }
        choice.port = *p;
    }
    return choice;
}

std::string_view default_bindings_name(Simulator s) {
    return s == Simulator::xplane ? "xplane" : "flightgear-generic";
}

}  // namespace simlink
