#include "web/panel_server.h"

#include <civetweb.h>

#include "web/text_escapes.h"

namespace web {
namespace {

// civetweb's callbacks are plain functions; they find the pages through their data pointer.
PageConnections& pages_of(void* data) { return *static_cast<PageConnections*>(data); }
int socket_connect(const mg_connection* conn, void* data) { return pages_of(data).accept(conn) ? 0 : 1; }
void socket_ready(mg_connection* conn, void* data) { pages_of(data).ready(conn); }
int socket_data(mg_connection* conn, int bits, char* bytes, size_t size, void* data) {
    return pages_of(data).data(conn, bits, bytes, size) ? 1 : 0;
}
void socket_close(const mg_connection* conn, void* data) { pages_of(data).closed(conn); }
// The server's own diagnostics would go to the terminal for every client that misbehaves.
int quiet(const mg_connection*, const char*) { return 1; }

}  // namespace

PanelWebServer::PanelWebServer(std::unique_ptr<PanelSource> source, WebOptions options)
    : source_(std::move(source)),
      options_(std::move(options)),
      mirror_(*source_, state_),
      pages_(state_, options_.token),
      routes_(state_, options_.token) {}

plat::Result<std::unique_ptr<PanelWebServer>> PanelWebServer::start(std::unique_ptr<PanelSource> source,
                                                                    const WebOptions& options) {
    std::unique_ptr<PanelWebServer> s(new PanelWebServer(std::move(source), options));
    s->mirror_.follow_windows();
    if (auto listening = s->listen(); !listening) return plat::Error{listening.error()};
    s->source_->listen(s.get());
    return s;
}

plat::Result<bool> PanelWebServer::listen() {
    mg_init_library(0);
    const std::string ports = options_.listen.address + ":" + std::to_string(options_.listen.port);
    // One thread per connection: every page may hold one while the index and thumbnails are served.
    const std::string threads = std::to_string(kMaxClients + 8);
    const char* config[] = {"listening_ports", ports.c_str(),
                            "num_threads", threads.c_str(),
                            "request_timeout_ms", "10000",
                            "websocket_timeout_ms", "3600000",
                            "enable_keep_alive", "no",
                            "enable_directory_listing", "no",
                            "access_control_allow_origin", "",
                            "max_request_size", "8192",
                            nullptr};
    mg_callbacks callbacks{};
    callbacks.log_message = quiet;
    mg_init_data init{};
    init.callbacks = &callbacks;
    init.user_data = this;
    init.configuration_options = config;
    mg_error_data error{};
    char error_text[256] = "";
    error.text = error_text;
    error.text_buffer_size = sizeof error_text;
    ctx_ = mg_start2(&init, &error);
    if (!ctx_) {
        mg_exit_library();
        return plat::Error{"cannot serve the browser at " + ports + ": " + (error_text[0] ? error_text : "unknown error")};
    }
    mg_server_port port{};
    if (mg_get_server_ports(ctx_, 1, &port) == 1) port_ = port.port;
    routes_.register_on(ctx_);
    mg_set_websocket_handler(ctx_, "/ws", socket_connect, socket_ready, socket_data, socket_close, &pages_);
    return true;
}

PanelWebServer::~PanelWebServer() {
    source_->listen(nullptr);
    if (ctx_) {
        // Closes every connection; each page's close joins its sender.
        mg_stop(ctx_);
        mg_exit_library();
    }
    pages_.stop_all();
}

std::vector<std::string> PanelWebServer::urls() const {
    std::vector<std::string> out;
    const std::string query = options_.token.empty() ? "" : "?token=" + percent_encoded(options_.token);
    for (const std::string& a : reachable_addresses(options_.listen.address))
        out.push_back("http://" + a + ":" + std::to_string(port_) + "/" + query);
    return out;
}

WebStats PanelWebServer::stats() const {
    WebStats s;
    s.bytes_sent = state_.bytes_sent;
    s.frames_sent = state_.frames_sent;
    s.frames_encoded = state_.frames_encoded;
    s.refused_messages = state_.refused_messages;
    std::lock_guard l(state_.mutex);
    s.clients = static_cast<int>(state_.clients.size());
    s.click_to_frame_ms.assign(state_.latencies.begin(), state_.latencies.end());
    return s;
}

}  // namespace web
