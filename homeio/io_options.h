#pragma once
// Where the line protocol's server listens and what it asks of a client first.

#include <string>

namespace homeio {

struct IoOptions {
    std::string address = "127.0.0.1";  // IPv4; 0.0.0.0 for every interface
    int port = 0;                        // 0: any free port
    std::string token;                   // when not empty, every connection's first line
};

}  // namespace homeio
