#pragma once
// The FlightGear link: a running FlightGear in the place of the host's own aircraft. A worker
// thread owns the connection to FlightGear's property server; each cycle period it sends the
// queued writes and asks for every property of the token table in one batch, and publishes what
// came back as a snapshot. The panel thread never waits on the network: publish() copies the
// newest snapshot into the tokens, and key events only queue writes.
//
// A link that cannot reach FlightGear, or loses it, says so once in a message box (logged and on
// standard error), keeps the last values and keeps trying; it says so again when FlightGear answers.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "sim/aircraft.h"
#include "simlink/flightgear/key_writes.h"
#include "simlink/flightgear/props_protocol.h"
#include "simlink/flightgear/props_socket.h"
#include "simlink/flightgear/route_manager.h"
#include "simlink/flightgear/token_map.h"

namespace simlink::fg {

inline constexpr int default_port = 5401;

struct LinkAddress {
    std::string host = "127.0.0.1";
    int port = default_port;
};

// The value of the host's "--sim" option: "flightgear", "flightgear=HOST" or
// "flightgear=HOST:PORT". Nothing (and the reason in why) for anything else.
std::optional<LinkAddress> parse_sim_option(std::string_view text, std::string& why);

struct LinkOptions {
    LinkAddress address;
    double rate_hz = 18.0;          // polls a second: the panel's rate
    int connect_timeout_ms = 1000;
    int answer_timeout_ms = 3000;   // a poll unanswered this long: the link is lost
    int retry_ms = 1000;            // between attempts to reach FlightGear
};

enum class LinkState { waiting, up, lost };

class Link {
public:
    explicit Link(LinkOptions options);
    ~Link();
    Link(const Link&) = delete;
    Link& operator=(const Link&) = delete;

    // Panel thread, every cycle: the newest readings into the tokens, the link's news as messages.
    void publish(sim::TokenSink& sink);
    // Any thread: a key event as property writes; false for an event the link has no meaning for.
    bool apply_key_event(std::uint32_t id, std::uint32_t value);

    // Any thread: the route for FlightGear's route manager (route_manager.h), with the runways its
    // plan names, sent in order with the next poll, or when FlightGear next answers.
    void put_route(const std::vector<planner::RoutePoint>& route, const planner::PlanRunways& runways = {});

    LinkState state() const { return state_.load(); }
    std::uint64_t polls() const { return polls_.load(); }  // answered polls since the start
    const LinkOptions& options() const { return options_; }
    // Where notes about ignored events go (standard error unless replaced).
    std::function<void(const std::string&)> log;

private:
    struct Write {
        std::string path, value;
        std::uint64_t answered_by = 0;  // the poll whose answers include it (0: not yet sent)
    };
    class KeyControls;

    void run();
    bool connect_once(std::string& why);
    bool poll_once(std::string& why);
    bool read_answers(std::uint64_t poll, std::string& why);
    void publish_snapshot(std::uint64_t poll);
    void set_state(LinkState s, const std::string& why);
    void wait_ms(int ms);
    std::string take_requests(std::uint64_t poll);
    void queue_write(std::string_view path, std::string value);
    void queue_command(std::string path, std::string value);
    double current_locked(std::string_view path) const;
    void update_locks_locked();

    const LinkOptions options_;
    const std::string where_;  // "HOST:PORT" for the messages

    // Shared between the worker and the panel thread, under mutex_.
    mutable std::mutex mutex_;
    Readings snapshot_;
    std::uint64_t snapshot_poll_ = 0;
    std::vector<Write> writes_;       // queued and in flight, in order
    LinkIntent intent_;
    Locks written_locks_;             // what the link last asked FlightGear to fly
    std::vector<std::string> news_;   // messages for the panel thread to show
    std::set<std::uint32_t> reported_;

    // Panel thread only.
    Readings shown_;
    LinkIntent shown_intent_;
    std::uint64_t shown_poll_ = 0;

    // Worker only.
    PropsSocket socket_;
    LineSplitter lines_;
    Readings reading_;
    bool ever_up_ = false;
    bool reported_down_ = false;

    std::atomic<LinkState> state_{LinkState::waiting};
    std::atomic<std::uint64_t> polls_{0};
    std::atomic<bool> stop_{false};
    std::mutex wake_mutex_;
    std::condition_variable wake_;
    std::thread worker_;
};

}  // namespace simlink::fg
