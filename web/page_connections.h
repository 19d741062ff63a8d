#pragma once
// The pages' WebSockets: a page is taken on at its handshake ("/ws/<window>", with the token and from
// this server's own pages), its clicks and keys are queued for the panel thread, and a sender thread
// of its own writes it what changed in its window since it was last sent, as the message the
// window's pages share (web/frame_history.h). What a page holds down is let go when it leaves.

#include <cstddef>
#include <memory>
#include <string>

#include "web/server_state.h"

struct mg_connection;

namespace web {

class PageConnections {
public:
    PageConnections(ServerState& state, std::string token) : state_(state), token_(std::move(token)) {}

    // The civetweb WebSocket handler's calls, on the connections' threads.
    bool accept(const mg_connection* conn);
    void ready(mg_connection* conn);
    bool data(mg_connection* conn, int bits, const char* bytes, std::size_t size);
    void closed(const mg_connection* conn);
    // Ends every page's sender (once the server no longer calls the above).
    void stop_all();

private:
    void send_loop(const std::shared_ptr<Client>& client);
    static void stop_sender(Client& c);

    ServerState& state_;
    const std::string token_;
};

}  // namespace web
