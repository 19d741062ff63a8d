#include "web/page_connections.h"

#include <civetweb.h>

#include <algorithm>

#include "web/frame_message.h"
#include "web/requests.h"
#include "web/text_escapes.h"

namespace web {
namespace {

constexpr int kOpcodeText = 0x1, kOpcodeClose = 0x8, kOpcodePing = 0x9, kOpcodePong = 0xA;
constexpr std::size_t kMaxLatencies = 256;

std::optional<int> socket_window(const mg_connection* conn) {
    const mg_request_info* ri = mg_get_request_info(conn);
    return ri && ri->local_uri ? number_after(ri->local_uri, "/ws/") : std::nullopt;
}

}  // namespace

bool PageConnections::accept(const mg_connection* conn) {
    const mg_request_info* ri = mg_get_request_info(conn);
    if (!ri || !ri->local_uri || !token_ok(conn, token_) || !same_origin(conn)) return false;
    const auto number = socket_window(conn);
    if (!number) return false;
    std::lock_guard l(state_.mutex);
    if (state_.clients.size() >= static_cast<std::size_t>(kMaxClients)) return false;
    return state_.knows_window(*number);
}

// A page is taken on only once its handshake is done: the library calls the close handler only
// for those, so nothing is kept for a page whose handshake failed.
void PageConnections::ready(mg_connection* conn) {
    const auto number = socket_window(conn);
    auto c = std::make_shared<Client>();
    c->conn = conn;
    c->window = number.value_or(-1);
    {
        std::lock_guard l(state_.mutex);
        // Pages that raced past the count at the handshake are turned away here.
        if (!number || state_.clients.size() >= static_cast<std::size_t>(kMaxClients)) c.reset();
        else state_.clients.emplace(conn, c);
    }
    if (!c) {
        static constexpr char kTryAgainLater[] = {'\x03', '\xF5'};  // close code 1013
        mg_websocket_write(conn, kOpcodeClose, kTryAgainLater, sizeof kTryAgainLater);
        return;
    }
    c->sender = std::thread([this, c] { send_loop(c); });
}

bool PageConnections::data(mg_connection* conn, int bits, const char* bytes, std::size_t size) {
    const int opcode = bits & 0x0F;
    if (opcode == kOpcodePing || opcode == kOpcodePong) return true;
    if (opcode == kOpcodeClose) return false;
    std::string why;
    // Pages send whole, short text messages; anything else closes this page's connection alone.
    std::optional<ClientInput> in;
    if (opcode == kOpcodeText && (bits & 0x80) && size <= kMaxClientMessage)
        in = parse_client_message(std::string_view(bytes, size), why);
    if (!in) {
        ++state_.refused_messages;
        return false;
    }
    if (in->kind == InputKind::ping) return true;
    std::shared_ptr<Client> c;
    {
        std::lock_guard l(state_.mutex);
        auto it = state_.clients.find(conn);
        if (it == state_.clients.end()) return false;
        c = it->second;
    }
    // Only what this page pressed is let go by it.
    if (in->kind == InputKind::press) c->pressing = true;
    if (in->kind == InputKind::release && !std::exchange(c->pressing, false)) return true;
    if (in->kind == InputKind::key_down) c->keys_down.insert(in->vk);
    if (in->kind == InputKind::key_up && c->keys_down.erase(in->vk) == 0) return true;
    state_.queue_input({c->window, *in, Clock::now()});
    return true;
}

void PageConnections::closed(const mg_connection* conn) {
    std::shared_ptr<Client> c;
    {
        std::lock_guard l(state_.mutex);
        auto it = state_.clients.find(conn);
        if (it == state_.clients.end()) return;
        c = std::move(it->second);
        state_.clients.erase(it);
    }
    stop_sender(*c);
    std::lock_guard l(state_.input_mutex);
    for (int vk : c->keys_down) state_.input.push_back({c->window, {InputKind::key_up, 0, 0, vk}, Clock::now()});
    if (c->pressing) state_.input.push_back({c->window, {InputKind::release}, Clock::now()});
}

void PageConnections::stop_all() {
    for (auto& [key, c] : state_.clients) stop_sender(*c);
}

void PageConnections::stop_sender(Client& c) {
    {
        std::lock_guard l(c.m);
        c.closing = true;
    }
    c.cv.notify_all();
    if (c.sender.joinable()) c.sender.join();
}

void PageConnections::send_loop(const std::shared_ptr<Client>& client) {
    Client& c = *client;
    while (true) {
        std::optional<Clock::time_point> click;
        {
            std::unique_lock l(c.m);
            c.cv.wait(l, [&] { return c.closing || c.due; });
            if (c.closing) return;
            c.due = false;
            click = std::exchange(c.click_at, std::nullopt);
        }
        std::shared_ptr<SharedFrame> frame;
        std::string hello;
        {
            std::lock_guard l(state_.mutex);
            auto f = std::find_if(state_.feeds.begin(), state_.feeds.end(),
                                  [&](const auto& f) { return f->number == c.window; });
            if (f == state_.feeds.end() || !(*f)->mirrored) continue;
            Feed& feed = **f;
            if (!c.sent)
                hello = "{\"type\":\"hello\",\"number\":" + std::to_string(feed.number) + ",\"title\":" +
                        json_text(feed.title) + ",\"width\":" + std::to_string(feed.mirror.width) +
                        ",\"height\":" + std::to_string(feed.mirror.height) + "}";
            frame = feed.history.frame_since(c.sent, feed.mirror.view());
            c.sent = feed.history.cycle();
        }
        // Counted as handed to the connection, so the figures never lag what a page has read.
        if (!hello.empty()) {
            state_.bytes_sent += hello.size();
            if (mg_websocket_write(c.conn, kOpcodeText, hello.data(), hello.size()) <= 0) return;
        }
        if (!frame) continue;
        const auto& bytes = frame->bytes();
        if (!bytes) continue;  // nothing to do for this page but wait for the next change
        state_.bytes_sent += bytes->size();
        ++state_.frames_sent;
        if (click) {
            const double ms = std::chrono::duration<double, std::milli>(Clock::now() - *click).count();
            std::lock_guard l(state_.mutex);
            state_.latencies.push_back(ms);
            if (state_.latencies.size() > kMaxLatencies) state_.latencies.pop_front();
        }
        if (mg_websocket_write(c.conn, MG_WEBSOCKET_OPCODE_BINARY, reinterpret_cast<const char*>(bytes->data()),
                               bytes->size()) <= 0)
            return;
    }
}

}  // namespace web
