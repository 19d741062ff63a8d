#include "fake_props_server.h"

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <stdexcept>

FakePropsServer::FakePropsServer() {
    listen_on(0);
    thread_ = std::thread([this] { serve(); });
}

FakePropsServer::~FakePropsServer() {
    stop_ = true;
    thread_.join();
    if (listener_ >= 0) ::close(listener_);
}

void FakePropsServer::listen_on(int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    const int one = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(static_cast<uint16_t>(port));
    if (::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || ::listen(fd, 4) != 0)
        throw std::runtime_error(std::string("fake server: ") + std::strerror(errno));
    socklen_t len = sizeof a;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
    port_ = ntohs(a.sin_port);
    std::lock_guard<std::mutex> lock(mutex_);
    listener_ = fd;
}

void FakePropsServer::set(const std::string& path, const std::string& value, const std::string& type) {
    std::lock_guard<std::mutex> lock(mutex_);
    props_[path] = {value, type};
}

std::string FakePropsServer::value(const std::string& path) const {
    std::lock_guard<std::mutex> lock(mutex_);
    if (const auto kept = route_manager_.get(path)) return kept->first;
    const auto it = props_.find(path);
    return it == props_.end() ? "" : it->second.first;
}

std::vector<std::string> FakePropsServer::sets() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return sets_;
}

void FakePropsServer::answer_with(std::function<std::string(const std::string&)> f) {
    std::lock_guard<std::mutex> lock(mutex_);
    override_ = std::move(f);
}

void FakePropsServer::drop() {
    down_ = true;
    // The serving thread closes the port; wait for it, so that come_back() opens a fresh one.
    for (;;) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (listener_ < 0) return;
        }
        ::usleep(5000);
    }
}

void FakePropsServer::come_back() {
    listen_on(port_);
    down_ = false;
}

std::string FakePropsServer::answer(const std::string& line) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (override_) {
        std::string special = override_(line);
        if (!special.empty()) return special;
    }
    std::string cmd = line, path, value;
    const std::size_t sp = line.find(' ');
    if (sp != std::string::npos) {
        cmd = line.substr(0, sp);
        path = line.substr(sp + 1);
        const std::size_t sp2 = path.find(' ');
        if (sp2 != std::string::npos) {
            value = path.substr(sp2 + 1);
            path = path.substr(0, sp2);
        }
    }
    if (cmd == "set") {
        sets_.push_back(path + " " + value);
        if (!route_manager_.set(path, value)) {
            auto& p = props_[path];
            if (p.second.empty()) p.second = "string";
            p.first = value;
        }
    } else if (cmd == "get") {
        ++gets_;
    } else {
        return "Unknown command\r\n/> ";
    }
    // As FlightGear does, a "set" is answered with the property read back.
    if (const auto kept = route_manager_.get(path)) return path + " = '" + kept->first + "' (" + kept->second + ")\r\n/> ";
    const auto it = props_.find(path);
    if (it == props_.end()) return path + " = '' (unknown)\r\n/> ";
    return path + " = '" + it->second.first + "' (" + it->second.second + ")\r\n/> ";
}

void FakePropsServer::serve_client(int fd) {
    std::string pending;
    char buf[4096];
    while (!stop_ && !down_) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 20) <= 0) continue;
        const ssize_t n = ::recv(fd, buf, sizeof buf, 0);
        if (n <= 0) break;
        pending.append(buf, static_cast<std::size_t>(n));
        std::string out;
        for (std::size_t nl; (nl = pending.find('\n')) != std::string::npos;) {
            std::string line = pending.substr(0, nl);
            pending.erase(0, nl + 1);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            out += answer(line);
        }
        if (!out.empty() && ::send(fd, out.data(), out.size(), MSG_NOSIGNAL) < 0) break;
    }
    ::close(fd);
}

void FakePropsServer::serve() {
    while (!stop_) {
        int listener;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            listener = listener_;
        }
        if (down_) {
            std::lock_guard<std::mutex> lock(mutex_);
            if (listener_ >= 0) ::close(listener_);
            listener_ = -1;
        }
        if (down_ || listener < 0) {
            ::usleep(10000);
            continue;
        }
        pollfd p{listener, POLLIN, 0};
        if (::poll(&p, 1, 20) <= 0) continue;
        const int fd = ::accept(listener, nullptr, nullptr);
        if (fd >= 0) serve_client(fd);
    }
}
