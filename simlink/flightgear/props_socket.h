#pragma once
// The link's TCP connection to FlightGear's property server. Every wait is bounded, so the worker
// that owns it can always notice that it is asked to stop.

#include <cstddef>
#include <string>
#include <string_view>

namespace simlink::fg {

class PropsSocket {
public:
    PropsSocket() = default;
    PropsSocket(const PropsSocket&) = delete;
    PropsSocket& operator=(const PropsSocket&) = delete;
    ~PropsSocket() { close(); }

    // Connects within timeout_ms; false with the reason in why.
    bool connect(const std::string& host, int port, int timeout_ms, std::string& why);
    bool is_open() const { return fd_ >= 0; }
    // Sends everything within timeout_ms; false (reason in why) when it cannot.
    bool send_all(std::string_view data, int timeout_ms, std::string& why);
    // Waits up to timeout_ms for bytes: the count read, 0 when none came, -1 when the connection
    // ended (reason in why).
    long receive(char* buffer, std::size_t size, int timeout_ms, std::string& why);
    void close();

private:
    int fd_ = -1;
};

}  // namespace simlink::fg
