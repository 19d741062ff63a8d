#include "simlink/flightgear/props_socket.h"

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace simlink::fg {

namespace {

std::string system_error(const char* what) { return std::string(what) + ": " + std::strerror(errno); }

// One wait for the socket; false on timeout.
bool wait_for(int fd, short events, int timeout_ms, short& revents) {
    pollfd p{fd, events, 0};
    int r;
    do {
        r = ::poll(&p, 1, timeout_ms);
    } while (r < 0 && errno == EINTR);
    revents = r > 0 ? p.revents : 0;
    return r > 0;
}

bool finish_connect(int fd, int timeout_ms, std::string& why) {
    short revents = 0;
    if (!wait_for(fd, POLLOUT, timeout_ms, revents)) {
        why = "no answer within " + std::to_string(timeout_ms) + " ms";
        return false;
    }
    int err = 0;
    socklen_t len = sizeof err;
    if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &len) != 0 || err != 0) {
        why = std::strerror(err != 0 ? err : errno);
        return false;
    }
    return true;
}

}  // namespace

bool PropsSocket::connect(const std::string& host, int port, int timeout_ms, std::string& why) {
    close();
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const std::string service = std::to_string(port);
    if (int r = ::getaddrinfo(host.c_str(), service.c_str(), &hints, &found); r != 0) {
        why = std::string("cannot resolve ") + host + ": " + ::gai_strerror(r);
        return false;
    }
    why = "no address";
    for (addrinfo* a = found; a; a = a->ai_next) {
        const int fd = ::socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol);
        if (fd < 0) {
            why = system_error("socket");
            continue;
        }
        const int r = ::connect(fd, a->ai_addr, a->ai_addrlen);
        if (r == 0 || (errno == EINPROGRESS && finish_connect(fd, timeout_ms, why))) {
            const int one = 1;
            ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
            fd_ = fd;
            break;
        }
        if (r != 0 && errno != EINPROGRESS) why = std::strerror(errno);
        ::close(fd);
    }
    ::freeaddrinfo(found);
    return fd_ >= 0;
}

bool PropsSocket::send_all(std::string_view data, int timeout_ms, std::string& why) {
    while (!data.empty()) {
        const ssize_t n = ::send(fd_, data.data(), data.size(), MSG_NOSIGNAL);
        if (n > 0) {
            data.remove_prefix(static_cast<std::size_t>(n));
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            short revents = 0;
            if (!wait_for(fd_, POLLOUT, timeout_ms, revents)) {
                why = "the server takes no more requests";
                return false;
            }
            continue;
        }
        why = system_error("send");
        return false;
    }
    return true;
}

long PropsSocket::receive(char* buffer, std::size_t size, int timeout_ms, std::string& why) {
    short revents = 0;
    if (!wait_for(fd_, POLLIN, timeout_ms, revents)) return 0;
    for (;;) {
        const ssize_t n = ::recv(fd_, buffer, size, 0);
        if (n > 0) return static_cast<long>(n);
        if (n == 0) {
            why = "the server closed the connection";
            return -1;
        }
        if (errno == EINTR) continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK) return 0;
        why = system_error("recv");
        return -1;
    }
}

void PropsSocket::close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

}  // namespace simlink::fg
