#include "fake_xplane.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

std::uint32_t u32(const std::string& s, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(s[at + static_cast<std::size_t>(i)]);
    return v;
}

void put_u32(std::string& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

constexpr const char* heading = "sim/cockpit2/gauges/indicators/heading_AHARS_deg_mag_pilot";
constexpr const char* dial = "sim/cockpit2/autopilot/heading_dial_deg_mag_pilot";
constexpr const char* servos = "sim/cockpit2/autopilot/servos_on";
constexpr const char* heading_mode = "sim/cockpit2/autopilot/heading_mode";
constexpr double turn_deg_per_s = 3.0;

}  // namespace

FakeXPlane::FakeXPlane() {
    fd_ = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a);
    socklen_t n = sizeof a;
    ::getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &n);
    port_ = ntohs(a.sin_port);
    client_ = new sockaddr_in{};
    thread_ = std::thread([this] { serve(); });
}

FakeXPlane::~FakeXPlane() {
    quit_ = true;
    thread_.join();
    ::close(fd_);
    delete client_;
}

void FakeXPlane::set(const std::string& dataref, float value) {
    std::lock_guard<std::mutex> lock(mutex_);
    values_[dataref] = value;
    if (dataref == "sim/flightmodel/position/latitude") latitude_ = value;
    if (dataref == "sim/flightmodel/position/longitude") longitude_ = value;
}

float FakeXPlane::value(const std::string& dataref) const {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto it = values_.find(dataref);
    return it == values_.end() ? 0.0f : it->second;
}

void FakeXPlane::set_text(const std::string& dataref, const std::string& text) {
    std::lock_guard<std::mutex> lock(mutex_);
    for (std::size_t i = 0; i < 8; ++i)
        values_[dataref + "[" + std::to_string(i) + "]"] = i < text.size() ? static_cast<unsigned char>(text[i]) : 0;
}

void FakeXPlane::set_position(double latitude, double longitude) {
    std::lock_guard<std::mutex> lock(mutex_);
    latitude_ = latitude;
    longitude_ = longitude;
    values_["sim/flightmodel/position/latitude"] = static_cast<float>(latitude);
    values_["sim/flightmodel/position/longitude"] = static_cast<float>(longitude);
}

std::vector<std::string> FakeXPlane::commands() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return commands_;
}

std::vector<std::pair<std::string, float>> FakeXPlane::writes() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return writes_;
}

std::size_t FakeXPlane::subscriptions() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return subscribed_.size();
}

void FakeXPlane::stop() { running_ = false; }
void FakeXPlane::start() { running_ = true; }

void FakeXPlane::forget_subscriptions() {
    std::lock_guard<std::mutex> lock(mutex_);
    subscribed_.clear();
}

void FakeXPlane::handle(const std::string& p, const sockaddr_in& from) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (p.size() == 413 && p.compare(0, 5, std::string("RREF\0", 5)) == 0) {
        const auto frequency = static_cast<std::int32_t>(u32(p, 5));
        const auto index = static_cast<std::int32_t>(u32(p, 9));
        const std::string path = p.substr(13, p.find('\0', 13) - 13);
        if (frequency == 0) subscribed_.erase(index);
        else subscribed_[index] = path;
        if (frequency > 0 && frequency <= 99) rate_hz_ = frequency;
        *client_ = from;
    } else if (p.size() > 5 && p.compare(0, 5, std::string("RPOS\0", 5)) == 0) {
        rpos_rate_ = std::atoi(p.c_str() + 5);
        *client_ = from;
    } else if (p.size() == 509 && p.compare(0, 5, std::string("DREF\0", 5)) == 0) {
        float v;
        const std::uint32_t bits = u32(p, 5);
        std::memcpy(&v, &bits, sizeof v);
        const std::string path = p.substr(9, p.find('\0', 9) - 9);
        values_[path] = v;
        writes_.emplace_back(path, v);
    } else if (p.size() > 6 && p.compare(0, 5, std::string("CMND\0", 5)) == 0) {
        const std::string path = p.substr(5, p.find('\0', 5) - 5);
        commands_.push_back(path);
        auto toggle = [&](const char* state, float on) { values_[state] = values_[state] == on ? 0.0f : on; };
        if (path == "sim/autopilot/servos_toggle") toggle(servos, 1);
        else if (path == "sim/autopilot/heading") toggle(heading_mode, 1);
        else if (path == "sim/autopilot/vertical_speed") toggle("sim/cockpit2/autopilot/altitude_mode", 4);
        else if (path == "sim/autopilot/autothrottle_toggle") toggle("sim/cockpit2/autopilot/autothrottle_enabled", 1);
    }
}

// The heading turns toward the dial at a standard rate while the autopilot flies it.
void FakeXPlane::fly(double seconds) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (values_[servos] != 1 || values_[heading_mode] != 1) return;
    double diff = std::remainder(values_[dial] - values_[heading], 360.0);
    const double step = std::min(std::abs(diff), turn_deg_per_s * seconds);
    double h = std::fmod(values_[heading] + std::copysign(step, diff) + 360.0, 360.0);
    values_[heading] = static_cast<float>(h);
}

void FakeXPlane::reply() {
    std::string packet;
    sockaddr_in to;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (subscribed_.empty() && rpos_rate_ == 0) return;
        to = *client_;
        std::string out("RREF,", 5);
        std::size_t pairs = 0;
        auto flush = [&] {
            if (pairs) ::sendto(fd_, out.data(), out.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
            out.assign("RREF,", 5);
            pairs = 0;
        };
        for (const auto& [index, path] : subscribed_) {
            const auto it = values_.find(path);
            const float v = it == values_.end() ? 0.0f : it->second;
            std::uint32_t bits;
            std::memcpy(&bits, &v, sizeof bits);
            put_u32(out, static_cast<std::uint32_t>(index));
            put_u32(out, bits);
            if (++pairs == 183) flush();
        }
        flush();
        if (rpos_rate_ > 0) {
            std::string pos("RPOS4", 5);
            for (double d : {longitude_, latitude_, 100.0}) {
                std::uint64_t bits;
                std::memcpy(&bits, &d, sizeof bits);
                for (int i = 0; i < 8; ++i) pos += static_cast<char>((bits >> (8 * i)) & 0xFF);
            }
            pos += std::string(11 * 4, '\0');
            ::sendto(fd_, pos.data(), pos.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
        }
    }
}

void FakeXPlane::serve() {
    using Clock = std::chrono::steady_clock;
    auto last = Clock::now();
    char buffer[2048];
    while (!quit_) {
        pollfd p{fd_, POLLIN, 0};
        if (::poll(&p, 1, 10) > 0) {
            sockaddr_in from{};
            socklen_t n = sizeof from;
            const ssize_t got = ::recvfrom(fd_, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&from), &n);
            if (got > 0 && running_) handle(std::string(buffer, static_cast<std::size_t>(got)), from);
        }
        const auto now = Clock::now();
        if (now - last < std::chrono::microseconds(1000000 / std::max(1, rate_hz_.load()))) continue;
        const double seconds = std::chrono::duration<double>(now - last).count();
        last = now;
        if (!running_) continue;
        fly(seconds);
        reply();
    }
}
