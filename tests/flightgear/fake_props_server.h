#pragma once
// A stand-in for FlightGear's property server in the normal (prompting) mode: answers "get" and
// "set" from its own property table on a local TCP port, one client at a time, and can drop off
// and come back on the same port. The route manager's properties are its stand-in route manager's
// (fake_route_manager.h).

#include <atomic>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "fake_route_manager.h"

class FakePropsServer {
public:
    FakePropsServer();
    ~FakePropsServer();

    int port() const { return port_; }
    void set(const std::string& path, const std::string& value, const std::string& type = "double");
    std::string value(const std::string& path) const;
    // Every "set" received, as "path value", in order.
    std::vector<std::string> sets() const;
    int gets() const { return gets_.load(); }
    // Replaces the answer to a line when it returns something (raw bytes, line end included).
    void answer_with(std::function<std::string(const std::string& line)> f);
    // Goes away: the client is cut off and the port closed; come_back() listens on it again.
    void drop();
    void come_back();
    // The stand-in route manager, looked at or given navigation data under the server's lock.
    template <class F>
    auto route_manager(F&& f) {
        std::lock_guard<std::mutex> lock(mutex_);
        return f(route_manager_);
    }

private:
    void listen_on(int port);
    void serve();
    void serve_client(int fd);
    std::string answer(const std::string& line);

    int port_ = 0;
    int listener_ = -1;
    std::atomic<bool> stop_{false}, down_{false};
    mutable std::mutex mutex_;
    std::map<std::string, std::pair<std::string, std::string>> props_;
    FakeRouteManager route_manager_;
    std::vector<std::string> sets_;
    std::function<std::string(const std::string&)> override_;
    std::atomic<int> gets_{0};
    std::thread thread_;
};
