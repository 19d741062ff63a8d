#pragma once
// The panel in the browser: an HTTP and WebSocket server in the panel host's process. It serves an
// index of the panel windows and a page per window; each page's WebSocket is sent the window's
// changed rectangles as PNG pictures (the whole window first) and sends clicks and keys back, which
// are applied on the panel thread, in order, before the next cycle.
//
// Threads: the server's own (one per connection, and a sender per page) never touch the panel; the
// panel thread hands them pictures after each cycle and takes their input before the next.
// The parts: the HTTP routes (http_routes.h), the pages' connections with their senders
// (page_connections.h) and the mirror of the windows kept on the panel thread (panel_mirror.h).

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/result.h"
#include "web/http_routes.h"
#include "web/listen_address.h"
#include "web/page_connections.h"
#include "web/panel_mirror.h"
#include "web/panel_source.h"
#include "web/server_state.h"

struct mg_context;

namespace web {

struct WebOptions {
    ListenAddress listen;
    std::string token;  // when not empty, every page and WebSocket must present it
};

// What the server has done so far, for the benchmarks and the tests.
struct WebStats {
    std::uint64_t bytes_sent = 0;   // pictures and greetings, as WebSocket payload
    std::uint64_t frames_sent = 0;  // picture messages
    std::uint64_t frames_encoded = 0;  // of those, the ones encoded (the rest shared the bytes)
    int clients = 0;                // connected pages now
    std::uint64_t refused_messages = 0;
    std::vector<double> click_to_frame_ms;  // recent clicks: received to the changed picture sent
};

class PanelWebServer : private CycleListener {
public:
    // Listens and follows the panel's cycles, on the panel thread, until gone.
    static plat::Result<std::unique_ptr<PanelWebServer>> start(std::unique_ptr<PanelSource> source,
                                                               const WebOptions& options);
    ~PanelWebServer() override;
    PanelWebServer(const PanelWebServer&) = delete;
    PanelWebServer& operator=(const PanelWebServer&) = delete;

    int port() const { return port_; }
    // The index's address at every address the server can be reached at (with the token).
    std::vector<std::string> urls() const;

    WebStats stats() const;

private:
    PanelWebServer(std::unique_ptr<PanelSource> source, WebOptions options);
    plat::Result<bool> listen();
    void before_cycle() override { mirror_.apply_input(); }
    void after_cycle() override { mirror_.take_pictures(); }

    std::unique_ptr<PanelSource> source_;
    WebOptions options_;
    ServerState state_;
    PanelMirror mirror_;
    PageConnections pages_;
    HttpRoutes routes_;
    mg_context* ctx_ = nullptr;
    int port_ = 0;
};

}  // namespace web
