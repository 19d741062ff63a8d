#include "simlink/xplane/udp_transport.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace simlink::xp {

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kWaitSliceMs = 50;  // the longest the worker is deaf to a stop request
constexpr std::size_t kPacketBytes = 2048;
constexpr const char* latitude_path = "sim/flightmodel/position/latitude";
constexpr const char* longitude_path = "sim/flightmodel/position/longitude";
// While RPOS replies come this often, the float values of the position are not taken.
constexpr auto kPositionFresh = std::chrono::seconds(1);

int wait_readable(int fd, int ms) {
    pollfd p{fd, POLLIN, 0};
    return ::poll(&p, 1, ms);
}

}  // namespace

UdpTransport::UdpTransport(UdpOptions options) : options_(std::move(options)) {
    host_ = options_.host.empty() ? "127.0.0.1" : options_.host;
    port_ = options_.port != 0 ? options_.port : default_port;
}

UdpTransport::~UdpTransport() { close(); }

std::string UdpTransport::where() const { return host_ + ":" + std::to_string(port_); }

std::string UdpTransport::start_hint() const {
    return "Start X-Plane and let it receive on UDP port " + std::to_string(port_) + " (its network settings)";
}

UdpTransport::Counts UdpTransport::counts() const {
    return {packets_out_.load(), bytes_out_.load(), packets_in_.load(), bytes_in_.load(), ignored_in_.load()};
}

// X-Plane announces where it listens; the user's host and port, when given, stand.
void UdpTransport::listen_for_beacon() {
    const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
    if (fd < 0) return;
    const int yes = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(static_cast<std::uint16_t>(options_.beacon_port));
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) == 0) {
        ip_mreq group{};
        ::inet_pton(AF_INET, beacon_group, &group.imr_multiaddr);
        group.imr_interface.s_addr = htonl(INADDR_ANY);
        ::setsockopt(fd, IPPROTO_IP, IP_ADD_MEMBERSHIP, &group, sizeof group);  // unicast beacons still come
        const auto end = Clock::now() + std::chrono::milliseconds(options_.beacon_wait_ms);
        char buffer[kPacketBytes];
        while (Clock::now() < end) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
            if (wait_readable(fd, static_cast<int>(std::max<long long>(left, 1))) <= 0) continue;
            sockaddr_in from{};
            socklen_t from_size = sizeof from;
            const ssize_t n = ::recvfrom(fd, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&from), &from_size);
            if (n <= 0) continue;
            const auto b = parse_beacon(std::string_view(buffer, static_cast<std::size_t>(n)));
            if (!b || b->host_id != 1) continue;
            char text[INET_ADDRSTRLEN];
            if (!::inet_ntop(AF_INET, &from.sin_addr, text, sizeof text)) continue;
            if (options_.host.empty()) host_ = text;
            if (options_.port == 0) port_ = b->port;
            break;
        }
    }
    ::close(fd);
}

bool UdpTransport::resolve(std::string& why) {
    if (!resolved_ && (options_.host.empty() || options_.port == 0)) listen_for_beacon();
    resolved_ = true;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host_.c_str(), nullptr, &hints, &found) != 0 || !found) {
        why = "cannot find the address of " + host_;
        return false;
    }
    address_ = reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr.s_addr;
    ::freeaddrinfo(found);
    return true;
}

bool UdpTransport::open(const PropertyIndex& index, std::string& why) {
    close();
    if (!resolve(why)) return false;
    fd_ = ::socket(AF_INET, SOCK_DGRAM, 0);
    if (fd_ < 0) {
        why = std::string("no UDP socket: ") + std::strerror(errno);
        return false;
    }
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    socklen_t size = sizeof local;
    if (::bind(fd_, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0 ||
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&local), &size) != 0) {
        why = std::string("no UDP port: ") + std::strerror(errno);
        close();
        return false;
    }
    local_port_ = ntohs(local.sin_port);
    index_ = &index;
    subscriptions_.clear();
    slots_.clear();
    text_bytes_.assign(index.paths.size(), {});
    const int frequency = static_cast<int>(std::lround(std::clamp(options_.rate_hz, 1.0, 99.0)));
    auto subscribe = [&](const std::string& path, Slot slot) {
        const std::string r = rref_request(frequency, static_cast<std::int32_t>(slots_.size()), path);
        if (r.empty()) return;
        subscriptions_.push_back(r);
        slots_.push_back(slot);
    };
    for (std::size_t i = 0; i < index.paths.size(); ++i) {
        if (!index.is_text[i]) {
            subscribe(index.paths[i], {static_cast<int>(i), -1});
            continue;
        }
        text_bytes_[i].assign(static_cast<std::size_t>(options_.text_bytes), '\0');
        for (int b = 0; b < options_.text_bytes; ++b)
            subscribe(index.paths[i] + "[" + std::to_string(b) + "]", {static_cast<int>(i), b});
    }
    next_subscription_ = 0;
    latitude_ = index.find(latitude_path);
    longitude_ = index.find(longitude_path);
    position_at_ = {};
    // The position as doubles too: RREF gives every value as a float, a metre's worth of latitude.
    if (latitude_ >= 0 || longitude_ >= 0) send(rpos_request(frequency));
    return true;
}

void UdpTransport::close() {
    if (fd_ < 0) return;
    // Subscriptions end with the link: X-Plane would otherwise send to a port nobody reads.
    if (latitude_ >= 0 || longitude_ >= 0) send(rpos_request(0));
    for (std::size_t k = 0; k < next_subscription_ && k < slots_.size(); ++k) {
        const std::string path = subscriptions_[k].substr(13, subscriptions_[k].find('\0', 13) - 13);
        send(rref_request(0, static_cast<std::int32_t>(k), path));
    }
    ::close(fd_);
    fd_ = -1;
}

void UdpTransport::send(const std::string& packet) {
    if (packet.empty() || fd_ < 0) return;
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(static_cast<std::uint16_t>(port_));
    to.sin_addr.s_addr = address_;
    if (::sendto(fd_, packet.data(), packet.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to) < 0) return;
    ++packets_out_;
    bytes_out_ += packet.size();
}

Exchange UdpTransport::exchange(const std::vector<Write>& writes, Readings& readings, Clock::time_point cycle_end,
                                const std::atomic<bool>& stop, std::string&) {
    for (const Write& w : writes) {
        if (w.command) {
            send(command(w.path));
            continue;
        }
        const double v = w.value == "true" ? 1.0 : w.value == "false" ? 0.0 : std::strtod(w.value.c_str(), nullptr);
        if (std::isfinite(v)) send(dref_write(static_cast<float>(v), w.path));
    }
    for (int n = 0; n < options_.subscriptions_per_cycle && next_subscription_ < subscriptions_.size(); ++n)
        send(subscriptions_[next_subscription_++]);
    bool answered = false;
    char buffer[kPacketBytes];
    while (!stop) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(cycle_end - Clock::now()).count();
        if (left <= 0) break;
        if (wait_readable(fd_, static_cast<int>(std::min<long long>(left, kWaitSliceMs))) <= 0) continue;
        // Everything waiting is read before the cycle ends, so a burst never falls behind.
        for (;;) {
            sockaddr_in from{};
            socklen_t from_size = sizeof from;
            const ssize_t n = ::recvfrom(fd_, buffer, sizeof buffer, MSG_DONTWAIT, reinterpret_cast<sockaddr*>(&from), &from_size);
            if (n < 0) break;
            ++packets_in_;
            bytes_in_ += static_cast<std::uint64_t>(n);
            const std::string_view packet(buffer, static_cast<std::size_t>(n));
            const bool ours = from.sin_addr.s_addr == address_;
            if (const auto position = ours ? parse_rpos_reply(packet) : std::nullopt) {
                apply(*position, readings);
                answered = true;
                continue;
            }
            const auto values = ours ? parse_rref_reply(packet) : std::nullopt;
            if (!values) {
                ++ignored_in_;
                continue;
            }
            apply(*values, readings);
            answered = answered || !values->empty();
        }
    }
    return answered ? Exchange::answered : Exchange::quiet;
}

void UdpTransport::apply(const Position& p, Readings& readings) {
    if (latitude_ >= 0) readings.take_number(static_cast<std::size_t>(latitude_), p.latitude);
    if (longitude_ >= 0) readings.take_number(static_cast<std::size_t>(longitude_), p.longitude);
    position_at_ = Clock::now();
}

void UdpTransport::apply(const std::vector<RrefValue>& values, Readings& readings) {
    const bool position_fresh = Clock::now() - position_at_ < kPositionFresh;
    std::vector<int> texts_touched;
    for (const RrefValue& v : values) {
        if (v.index < 0 || static_cast<std::size_t>(v.index) >= slots_.size()) continue;
        const Slot& s = slots_[static_cast<std::size_t>(v.index)];
        const auto i = static_cast<std::size_t>(s.property);
        if (s.byte < 0) {
            if (position_fresh && (s.property == latitude_ || s.property == longitude_)) continue;
            readings.take_number(i, v.value);
            continue;
        }
        const float b = v.value;
        text_bytes_[i][static_cast<std::size_t>(s.byte)] = b >= 0 && b < 128 ? static_cast<char>(b) : '?';
        texts_touched.push_back(s.property);
    }
    for (int p : texts_touched) {
        const std::vector<char>& bytes = text_bytes_[static_cast<std::size_t>(p)];
        const auto end = std::find(bytes.begin(), bytes.end(), '\0');
        readings.take_text(static_cast<std::size_t>(p), std::string(bytes.begin(), end));
    }
}

}  // namespace simlink::xp
