#pragma once
// A bare WebSocket client over a POSIX socket, as a page's stand-in for the tests and benchmarks:
// the handshake, masked text messages out, whole messages in.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace webtest {

struct Message {
    int opcode = 0;  // 1 text, 2 binary, 8 close
    std::vector<std::uint8_t> data;
};

class WsClient {
public:
    // Connects to 127.0.0.1:port and asks for `path`; `status` gets the answer's first line.
    WsClient(int port, const std::string& path);
    ~WsClient();
    WsClient(const WsClient&) = delete;
    WsClient& operator=(const WsClient&) = delete;

    bool open() const { return open_; }
    const std::string& status() const { return status_; }
    bool send_text(const std::string& text);
    // Any bytes, for the cases that misbehave.
    bool send_raw(const std::vector<std::uint8_t>& bytes);
    // The next whole message within the time, or none (open() tells whether the server closed).
    std::optional<Message> receive(int timeout_ms);
    void close();

private:
    bool fill(std::size_t n, int timeout_ms);

    int fd_ = -1;
    bool open_ = false;
    std::string status_;
    std::vector<std::uint8_t> in_;
};

// A masked client frame; `declared` stands in for the length the header claims.
std::vector<std::uint8_t> client_frame(int opcode, const std::string& payload, bool fin = true,
                                       std::optional<std::uint64_t> declared = std::nullopt);

}  // namespace webtest
