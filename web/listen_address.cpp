#include "web/listen_address.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

#include <charconv>
#include <memory>

namespace web {
namespace {

struct IfaddrsFree {
    void operator()(ifaddrs* a) const { freeifaddrs(a); }
};

}  // namespace

std::optional<ListenAddress> parse_listen_address(std::string_view text, std::string& why) {
    ListenAddress a;
    std::string_view port = text;
    if (const auto colon = text.rfind(':'); colon != std::string_view::npos) {
        a.address = std::string(text.substr(0, colon));
        port = text.substr(colon + 1);
        if (a.address == "localhost") a.address = "127.0.0.1";
        in_addr parsed{};
        if (inet_pton(AF_INET, a.address.c_str(), &parsed) != 1) {
            why = "'" + a.address + "' is not an IPv4 address (such as 127.0.0.1 or 0.0.0.0)";
            return std::nullopt;
        }
    }
    int p = -1;
    auto [end, ec] = std::from_chars(port.data(), port.data() + port.size(), p);
    if (port.empty() || ec != std::errc{} || end != port.data() + port.size() || p < 0 || p > 65535) {
        why = "'" + std::string(port) + "' is not a port number (0 to 65535)";
        return std::nullopt;
    }
    a.port = p;
    return a;
}

bool is_loopback(const std::string& address) {
    in_addr a{};
    return inet_pton(AF_INET, address.c_str(), &a) == 1 && (ntohl(a.s_addr) >> 24) == 127;
}

std::vector<std::string> reachable_addresses(const std::string& address) {
    if (address != "0.0.0.0") return {address};
    std::vector<std::string> out;
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) return {"127.0.0.1"};
    std::unique_ptr<ifaddrs, IfaddrsFree> owner(list);
    for (ifaddrs* i = list; i; i = i->ifa_next) {
        if (!i->ifa_addr || i->ifa_addr->sa_family != AF_INET || !(i->ifa_flags & IFF_UP)) continue;
        char text[INET_ADDRSTRLEN] = "";
        const auto* in = reinterpret_cast<const sockaddr_in*>(i->ifa_addr);
        if (inet_ntop(AF_INET, &in->sin_addr, text, sizeof text)) out.emplace_back(text);
    }
    if (out.empty()) out.emplace_back("127.0.0.1");
    return out;
}

}  // namespace web
