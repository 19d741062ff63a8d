#pragma once
// A simulator's aircraft in the place of the host's own, whatever the simulator: a worker thread
// owns the transport (transport.h); each cycle it sends the queued writes and takes what the
// simulator sends into the readings, published as a snapshot. The panel thread never waits on the
// network: publish() copies the newest snapshot into the tokens as the bindings direct, and key
// events only queue writes and commands.
//
// A link that cannot reach its simulator, or loses it, says so once in a message box (logged and
// on standard error), keeps the last values and keeps trying; it says so again when the simulator
// answers.

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "sim/aircraft.h"
#include "simlink/engine/bindings.h"
#include "simlink/engine/readings.h"
#include "simlink/engine/transport.h"

namespace simlink {

struct LinkOptions {
    double rate_hz = 18.0;         // cycles a second: the panel's rate
    int answer_timeout_ms = 3000;  // nothing from the simulator this long: it is lost
    int retry_ms = 1000;           // between attempts to reach it
};

enum class LinkState { waiting, up, lost };

class Link {
public:
    Link(Bindings bindings, std::unique_ptr<Transport> transport, LinkOptions options);
    ~Link();
    Link(const Link&) = delete;
    Link& operator=(const Link&) = delete;

    // Panel thread, every cycle: the newest readings into the tokens, the link's news as messages.
    void publish(sim::TokenSink& sink);
    // Any thread: a key event as writes; false for an event the link has no meaning for.
    bool apply_key_event(std::uint32_t id, std::uint32_t value);
    // Any thread: the route the FMC loaded, with the runways its plan names, for the simulator's own
    // navigation where the transport gives it one; sent in order with the next cycle, or when the
    // simulator next answers.
    void put_route(const std::vector<planner::RoutePoint>& route, const planner::PlanRunways& runways = {});

    // Panel thread: the simulator's aircraft as last published (linked_aircraft.h).
    sim::AircraftState aircraft() const;

    LinkState state() const { return state_.load(); }
    std::uint64_t answers() const { return answers_.load(); }  // cycles with values since the start
    const Bindings& bindings() const { return bindings_; }
    const PropertyIndex& index() const { return index_; }
    // Where notes about ignored events go (standard error unless replaced).
    std::function<void(const std::string&)> log;

private:
    using Clock = std::chrono::steady_clock;
    struct Pending {
        Write write;
        std::uint64_t sent_in = 0;  // the cycle that sent it (0: not yet)
        Clock::time_point sent_at{};
    };
    class KeyControls;

    void run();
    void cycle_once(std::uint64_t cycle, Clock::time_point end);
    std::vector<Write> take_writes(std::uint64_t cycle);
    void publish_snapshot(std::uint64_t cycle);
    void set_state(LinkState s, const std::string& why);
    void wait_until(Clock::time_point t);
    void queue(Write w, bool merge);
    double current_locked(std::string_view path) const;
    void update_switches_locked();
    double token_locked(int token) const;

    const Bindings bindings_;
    const PropertyIndex index_;
    const LinkOptions options_;
    const std::string caption_;

    // Shared between the worker and the panel thread, under mutex_.
    mutable std::mutex mutex_;
    Readings snapshot_;
    std::uint64_t snapshot_cycle_ = 0;
    std::vector<Pending> writes_;  // queued and in flight, in order
    LinkIntent intent_;
    std::array<bool, 5> touched_{};            // switches the panel has moved
    std::vector<std::string> written_locks_;   // by lock binding
    std::vector<Clock::time_point> toggled_;   // by switch binding: the last command sent
    std::vector<std::string> news_;            // messages for the panel thread to show
    std::set<std::uint32_t> reported_;

    // Panel thread only.
    Readings shown_;
    LinkIntent shown_intent_;
    std::uint64_t shown_cycle_ = 0;

    // Worker only.
    std::unique_ptr<Transport> transport_;
    Readings reading_;
    bool open_ = false;
    bool ever_up_ = false;
    bool reported_down_ = false;
    Clock::time_point last_answer_{};

    std::atomic<LinkState> state_{LinkState::waiting};
    std::atomic<std::uint64_t> answers_{0};
    std::atomic<bool> stop_{false};
    std::mutex wake_mutex_;
    std::condition_variable wake_;
    std::thread worker_;
};

}  // namespace simlink
