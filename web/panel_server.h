#pragma once
// The panel in the browser: an HTTP and WebSocket server in the panel host's process. It serves an
// index of the panel windows and a page per window; each page's WebSocket is sent the window's
// changed rectangles as PNG pictures (the whole window first) and sends clicks and keys back, which
// are applied on the panel thread, in order, before the next cycle.
//
// Threads: the server's own (one per connection, and a sender per page) never touch the panel; the
// panel thread hands them pictures after each cycle and takes their input before the next.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "panelhost/session.h"
#include "platform/result.h"
#include "web/client_message.h"
#include "web/listen_address.h"

struct mg_context;
struct mg_connection;

namespace web {

struct WebOptions {
    ListenAddress listen;
    std::string token;  // when not empty, every page and WebSocket must present it
};

// At most this many pages at once; more are refused.
inline constexpr int kMaxClients = 32;

// What the server has done so far, for the benchmarks and the tests.
struct WebStats {
    std::uint64_t bytes_sent = 0;   // pictures and greetings, as WebSocket payload
    std::uint64_t frames_sent = 0;  // picture messages
    int clients = 0;                // connected pages now
    std::uint64_t refused_messages = 0;
    std::vector<double> click_to_frame_ms;  // recent clicks: received to the changed picture sent
};

class PanelWebServer : public panelhost::CycleHook {
public:
    // Listens and joins the session's cycles; the server must be gone before the session.
    static plat::Result<std::unique_ptr<PanelWebServer>> start(panelhost::Session& session, const WebOptions& options);
    ~PanelWebServer() override;
    PanelWebServer(const PanelWebServer&) = delete;
    PanelWebServer& operator=(const PanelWebServer&) = delete;

    int port() const { return port_; }
    // The index's address at every address the server can be reached at (with the token).
    std::vector<std::string> urls() const;

    void before_cycle() override;
    void after_cycle() override;

    WebStats stats() const;

    struct Client;
    struct Feed;

private:
    PanelWebServer(panelhost::Session& session, WebOptions options);

    friend struct Callbacks;
    // Connection threads.
    int handle_request(mg_connection* conn);
    bool accept_socket(const mg_connection* conn);
    void socket_ready(mg_connection* conn);
    bool socket_data(mg_connection* conn, int bits, const char* data, std::size_t size);
    void socket_closed(const mg_connection* conn);
    bool token_ok(const mg_connection* conn) const;
    void send_window_list(mg_connection* conn);
    void send_thumbnail(mg_connection* conn, int number);
    // A page's sender thread.
    void send_loop(const std::shared_ptr<Client>& client);
    // Panel thread.
    void follow_panel_windows();

    using Clock = std::chrono::steady_clock;
    struct QueuedInput {
        int window = 0;
        ClientInput input;
        Clock::time_point received;
    };

    panelhost::Session& session_;
    WebOptions options_;
    mg_context* ctx_ = nullptr;
    int port_ = 0;

    mutable std::mutex mutex_;  // guards feeds_ (but their panel-thread fields), clients_, latencies_
    std::condition_variable published_;
    std::uint64_t cycles_published_ = 0;
    std::vector<std::unique_ptr<Feed>> feeds_;
    std::map<const mg_connection*, std::shared_ptr<Client>> clients_;
    std::deque<double> latencies_;
    std::atomic<std::int64_t> thumbnails_wanted_until_{0};  // steady-clock milliseconds

    std::mutex input_mutex_;
    std::vector<QueuedInput> input_;

    // Panel thread only: clicks whose window has not changed since, by window number.
    std::map<int, Clock::time_point> clicks_waiting_;

    std::atomic<std::uint64_t> bytes_sent_{0}, frames_sent_{0}, refused_messages_{0};
};

}  // namespace web
