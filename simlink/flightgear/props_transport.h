#pragma once
// FlightGear's property server as a link transport: every cycle one batch of "set" lines for the
// writes and "get" lines for every path of the index over one TCP connection; the cycle is answered
// when the last get's answer is in. Answers are matched by path, so anything else costs nothing.

#include <string>

#include "simlink/engine/transport.h"
#include "simlink/flightgear/props_protocol.h"
#include "simlink/flightgear/props_socket.h"

namespace simlink::fg {

inline constexpr int default_port = 5401;

struct PropsOptions {
    std::string host = "127.0.0.1";
    int port = default_port;
    int connect_timeout_ms = 1000;
    int answer_timeout_ms = 3000;  // a batch unanswered this long: FlightGear is lost
};

class PropsTransport final : public Transport {
public:
    explicit PropsTransport(PropsOptions options) : options_(std::move(options)) {}
    std::string name() const override { return "FlightGear"; }
    std::string where() const override;
    std::string start_hint() const override;
    bool open(const PropertyIndex& index, std::string& why) override;
    Exchange exchange(const std::vector<Write>& writes, Readings& readings, std::chrono::steady_clock::time_point,
                      const std::atomic<bool>& stop, std::string& why) override;
    void close() override;
    std::vector<Write> route_writes(const std::vector<planner::RoutePoint>& route,
                                    const planner::PlanRunways& runways) const override;
    std::string route_prefix() const override;

private:
    bool read_answers(Readings& readings, const std::atomic<bool>& stop, std::string& why);

    const PropsOptions options_;
    const PropertyIndex* index_ = nullptr;
    std::string gets_;  // every path of the index asked for
    PropsSocket socket_;
    LineSplitter lines_;
};

}  // namespace simlink::fg
