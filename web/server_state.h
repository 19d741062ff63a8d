#pragma once
// What the browser server's threads share: the mirror of every panel window (written on the panel
// thread, read by the pages' senders and the HTTP routes), the connected pages, and the input
// waiting for the panel thread.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "web/client_message.h"
#include "web/frame_history.h"
#include "web/picture.h"

struct mg_connection;

namespace web {

using Clock = std::chrono::steady_clock;

// One panel window as the server mirrors it for its pages.
struct Feed {
    explicit Feed(std::atomic<std::uint64_t>& encodings) : history(encodings) {}

    // The panel thread's own.
    std::uint64_t seen = 0;
    // Guarded by the state's mutex.
    int number = 0;
    std::string title;
    int width = 0, height = 0;
    bool open = true;
    Picture mirror;  // the window's latest picture, once taken
    bool mirrored = false;
    FrameHistory history;  // the mirror's changes and the messages made of them
};

// A page connected over a WebSocket, watching one window.
struct Client {
    int window = 0;
    // Guarded by the state's mutex: the window's cycle this page was last sent; none when it has
    // been sent nothing (of the window as loaded now), so the window's size and the whole picture go next.
    std::optional<std::uint64_t> sent;
    // Guarded by m.
    std::mutex m;
    std::condition_variable cv;
    bool due = false;  // the window changed, or the page is new, since the sender last looked
    bool closing = false;
    std::optional<Clock::time_point> click_at;  // the earliest click the pending change answers
    // Set once the handshake is done; the sender thread writes pictures to it.
    mg_connection* conn = nullptr;
    std::thread sender;
    // The connection thread's own: what this page holds down, let go when it leaves.
    std::set<int> keys_down;
    bool pressing = false;
};

// A page's input on its way to the panel thread.
struct QueuedInput {
    int window = 0;
    ClientInput input;
    Clock::time_point received;
};

struct ServerState {
    mutable std::mutex mutex;  // guards feeds (but their panel-thread fields), clients, latencies
    std::condition_variable published;
    std::uint64_t cycles_published = 0;
    std::vector<std::unique_ptr<Feed>> feeds;
    std::map<const mg_connection*, std::shared_ptr<Client>> clients;
    std::deque<double> latencies;
    std::atomic<std::int64_t> thumbnails_wanted_until{0};  // steady-clock milliseconds

    std::mutex input_mutex;
    std::vector<QueuedInput> input;

    std::atomic<std::uint64_t> bytes_sent{0}, frames_sent{0}, frames_encoded{0}, refused_messages{0};

    // Whether a window of that number is mirrored; the caller holds the mutex.
    bool knows_window(int number) const;
    void queue_input(QueuedInput in) {
        std::lock_guard l(input_mutex);
        input.push_back(in);
    }
};

// At most this many pages at once; more are refused.
inline constexpr int kMaxClients = 32;

std::int64_t steady_ms();

}  // namespace web
