#include "tests/web/ws_client.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>

namespace webtest {

std::vector<std::uint8_t> client_frame(int opcode, const std::string& payload, bool fin,
                                       std::optional<std::uint64_t> declared) {
    const std::uint64_t n = declared.value_or(payload.size());
    std::vector<std::uint8_t> f{static_cast<std::uint8_t>((fin ? 0x80 : 0) | opcode)};
    if (n < 126) {
        f.push_back(static_cast<std::uint8_t>(0x80 | n));
    } else if (n < 65536) {
        f.push_back(0x80 | 126);
        f.push_back(static_cast<std::uint8_t>(n >> 8));
        f.push_back(static_cast<std::uint8_t>(n));
    } else {
        f.push_back(0x80 | 127);
        for (int i = 7; i >= 0; --i) f.push_back(static_cast<std::uint8_t>(n >> (8 * i)));
    }
    const std::uint8_t mask[4] = {0x37, 0xFA, 0x21, 0x3D};
    f.insert(f.end(), mask, mask + 4);
    for (std::size_t i = 0; i < payload.size(); ++i) f.push_back(static_cast<std::uint8_t>(payload[i]) ^ mask[i % 4]);
    return f;
}

WsClient::WsClient(int port, const std::string& path) {
    fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<std::uint16_t>(port));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (fd_ < 0 || ::connect(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) return;
    const std::string request = "GET " + path + " HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(port) +
                                "\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
                                "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\nSec-WebSocket-Version: 13\r\n\r\n";
    open_ = true;
    if (!send_raw({request.begin(), request.end()})) return;
    // The answer's header, up to its blank line; what follows is the first messages.
    while (true) {
        const auto end = std::search(in_.begin(), in_.end(), "\r\n\r\n", "\r\n\r\n" + 4);
        if (end != in_.end()) {
            const std::string header(in_.begin(), end);
            status_ = header.substr(0, header.find("\r\n"));
            in_.erase(in_.begin(), end + 4);
            break;
        }
        if (!fill(in_.size() + 1, 5000)) break;
    }
    open_ = status_.find(" 101 ") != std::string::npos;
}

WsClient::~WsClient() { close(); }

void WsClient::close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    open_ = false;
}

bool WsClient::send_raw(const std::vector<std::uint8_t>& bytes) {
    std::size_t sent = 0;
    while (open_ && sent < bytes.size()) {
        const ssize_t n = ::send(fd_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) return false;
        sent += static_cast<std::size_t>(n);
    }
    return open_;
}

bool WsClient::send_text(const std::string& text) { return send_raw(client_frame(1, text)); }

bool WsClient::fill(std::size_t n, int timeout_ms) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    while (in_.size() < n) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        pollfd p{fd_, POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(left.count())) <= 0) return false;
        std::uint8_t buf[65536];
        const ssize_t got = ::recv(fd_, buf, sizeof buf, 0);
        if (got <= 0) {
            open_ = false;
            return false;
        }
        in_.insert(in_.end(), buf, buf + got);
    }
    return true;
}

std::optional<Message> WsClient::receive(int timeout_ms) {
    if (fd_ < 0 || !fill(2, timeout_ms)) return std::nullopt;
    std::size_t header = 2;
    std::uint64_t n = in_[1] & 0x7F;
    if (n == 126) {
        if (!fill(4, timeout_ms)) return std::nullopt;
        n = std::uint64_t(in_[2]) << 8 | in_[3];
        header = 4;
    } else if (n == 127) {
        if (!fill(10, timeout_ms)) return std::nullopt;
        n = 0;
        for (int i = 0; i < 8; ++i) n = n << 8 | in_[2 + i];
        header = 10;
    }
    if (n > (64u << 20) || !fill(header + n, timeout_ms)) return std::nullopt;
    Message m;
    m.opcode = in_[0] & 0x0F;
    m.data.assign(in_.begin() + static_cast<std::ptrdiff_t>(header), in_.begin() + static_cast<std::ptrdiff_t>(header + n));
    in_.erase(in_.begin(), in_.begin() + static_cast<std::ptrdiff_t>(header + n));
    if (m.opcode == 8) open_ = false;
    return m;
}

}  // namespace webtest
