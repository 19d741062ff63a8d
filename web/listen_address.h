#pragma once
// Where the browser server listens: "[ADDRESS:]PORT" as the command line gives it, and the
// addresses a user types to reach it.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace web {

struct ListenAddress {
    std::string address = "127.0.0.1";  // IPv4; 0.0.0.0 for every interface
    int port = 0;                        // 0: any free port
};

std::optional<ListenAddress> parse_listen_address(std::string_view text, std::string& why);

// 127.0.0.0/8: only this machine can connect.
bool is_loopback(const std::string& address);

// The IPv4 addresses the server can be reached at: every interface's for 0.0.0.0, else the one.
std::vector<std::string> reachable_addresses(const std::string& address);

}  // namespace web
