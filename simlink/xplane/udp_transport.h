#pragma once
// X-Plane's UDP interface as a link transport. The link subscribes (RREF) to every dataref of the
// index, a byte-array dataref one element a byte, spread over several cycles as X-Plane takes only
// so many new subscriptions a frame; it takes the replies of the X-Plane it talks to and no one
// else's, and sends the writes as DREF and the commands as CMND. Without a host given, the address
// and port come from X-Plane's beacon when one is heard.

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "simlink/engine/transport.h"
#include "simlink/xplane/packets.h"

namespace simlink::xp {

struct UdpOptions {
    std::string host;            // empty: the beacon's, else 127.0.0.1
    int port = 0;                // 0: the beacon's, else 49000
    int beacon_port = xp::beacon_port;
    int beacon_wait_ms = 3000;   // how long to listen for the beacon
    int subscriptions_per_cycle = 100;
    double rate_hz = 18.0;       // the rate asked of X-Plane
    int text_bytes = 8;          // elements subscribed of a byte-array dataref
};

class UdpTransport final : public Transport {
public:
    explicit UdpTransport(UdpOptions options);
    ~UdpTransport() override;
    std::string name() const override { return "X-Plane"; }
    std::string where() const override;
    std::string start_hint() const override;
    bool open(const PropertyIndex& index, std::string& why) override;
    Exchange exchange(const std::vector<Write>& writes, Readings& readings,
                      std::chrono::steady_clock::time_point cycle_end, const std::atomic<bool>& stop,
                      std::string& why) override;
    void close() override;
    std::chrono::milliseconds write_settles() const override { return std::chrono::milliseconds(500); }

    // Packets and bytes each way since the start (for the benchmarks).
    struct Counts {
        std::uint64_t packets_out = 0, bytes_out = 0, packets_in = 0, bytes_in = 0, ignored_in = 0;
    };
    // Any thread.
    Counts counts() const;
    // The port the link's socket has (0 before open).
    int local_port() const { return local_port_.load(); }

private:
    struct Slot {
        int property;  // index into the property index
        int byte;      // -1: the value; else the byte of a text
    };
    bool resolve(std::string& why);
    void listen_for_beacon();
    void send(const std::string& packet);
    void apply(const std::vector<RrefValue>& values, Readings& readings);
    void apply(const Position& p, Readings& readings);

    UdpOptions options_;
    std::string host_;
    int port_ = default_port;
    bool resolved_ = false;
    int fd_ = -1;
    std::uint32_t address_ = 0;  // network order
    const PropertyIndex* index_ = nullptr;
    std::vector<std::string> subscriptions_;  // the requests, by RREF index
    std::vector<Slot> slots_;                 // by RREF index
    std::size_t next_subscription_ = 0;
    std::vector<std::vector<char>> text_bytes_;  // by property
    // The position's datarefs in the index (-1: not bound), which RPOS gives at full precision.
    int latitude_ = -1, longitude_ = -1;
    std::chrono::steady_clock::time_point position_at_{};  // the last RPOS reply
    std::atomic<int> local_port_{0};
    std::atomic<std::uint64_t> packets_out_{0}, bytes_out_{0}, packets_in_{0}, bytes_in_{0}, ignored_in_{0};
};

}  // namespace simlink::xp
