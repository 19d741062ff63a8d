#include "web/panel_server.h"

#include <civetweb.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <optional>
#include <set>
#include <thread>

#include "panelhost/host_keys.h"
#include "platform/canvas/png_file.h"
#include "platform/keyboard.h"
#include "web/dirty_region.h"
#include "web/frame_message.h"
#include "web/pages.h"

namespace web {

using panelhost::Image;
using panelhost::Rect;

// One panel window as the server mirrors it for its pages.
struct PanelWebServer::Feed {
    // The panel thread's own.
    panelhost::Window* window = nullptr;
    std::uint64_t seen = 0;
    // Guarded by the server's mutex.
    int number = 0;
    std::string title;
    int width = 0, height = 0;
    bool open = true;
    Image mirror;  // the window's latest picture, once taken
    bool mirrored = false;
};

// A page connected over a WebSocket, watching one window.
struct PanelWebServer::Client {
    int window = 0;
    // Guarded by the server's mutex: not yet sent anything, so the next picture is the whole window.
    bool fresh = true;
    // Guarded by m.
    std::mutex m;
    std::condition_variable cv;
    DirtyRegion pending;
    bool greet = false;  // the window's size goes out before the next picture
    bool closing = false;
    std::optional<Clock::time_point> click_at;  // the earliest click the pending change answers
    // Set once the handshake is done; the sender thread writes pictures to it.
    mg_connection* conn = nullptr;
    std::thread sender;
    // The connection thread's own: what this page holds down, let go when it leaves.
    std::set<int> keys_down;
    bool pressing = false;
};

// civetweb's callbacks are plain functions; they find the server through their data pointer.
struct Callbacks {
    static int request(mg_connection* conn, void* data) { return static_cast<PanelWebServer*>(data)->handle_request(conn); }
    static int connect(const mg_connection* conn, void* data) {
        return static_cast<PanelWebServer*>(data)->accept_socket(conn) ? 0 : 1;
    }
    static void ready(mg_connection* conn, void* data) { static_cast<PanelWebServer*>(data)->socket_ready(conn); }
    static int data(mg_connection* conn, int bits, char* bytes, size_t size, void* data) {
        return static_cast<PanelWebServer*>(data)->socket_data(conn, bits, bytes, size) ? 1 : 0;
    }
    static void close(const mg_connection* conn, void* data) { static_cast<PanelWebServer*>(data)->socket_closed(conn); }
    // The server's own diagnostics would go to the terminal for every client that misbehaves.
    static int quiet(const mg_connection*, const char*) { return 1; }
};

namespace {

constexpr int kOpcodeText = 0x1, kOpcodeClose = 0x8, kOpcodePing = 0x9, kOpcodePong = 0xA;
constexpr std::size_t kMaxLatencies = 256;

std::int64_t steady_ms() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::string json_text(std::string_view s) {
    std::string out = "\"";
    for (const char ch : s) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += ch;
        } else if (c < 0x20 || c == 0x7F) {
            char esc[8];
            std::snprintf(esc, sizeof esc, "\\u%04x", c);
            out += esc;
        } else {
            out += ch;
        }
    }
    return out + "\"";
}

std::string window_title(const panelhost::WindowConfig& config) {
    if (!config.title.empty()) return config.title;
    std::string t = "Window " + std::to_string(config.number);
    for (const auto& g : config.gauges) t += (&g == &config.gauges.front() ? ": " : ", ") + g.module;
    return t;
}

std::string percent_encoded(std::string_view s) {
    std::string out;
    for (const char ch : s) {
        const auto c = static_cast<unsigned char>(ch);
        if (std::isalnum(c) || c == '-' || c == '_' || c == '.' || c == '~') {
            out += ch;
        } else {
            char esc[4];
            std::snprintf(esc, sizeof esc, "%%%02X", c);
            out += esc;
        }
    }
    return out;
}

// Compares all of both, so the time taken tells nothing of where they differ.
bool same_secret(std::string_view a, std::string_view b) {
    unsigned char diff = a.size() == b.size() ? 0 : 1;
    for (std::size_t i = 0; i < a.size(); ++i) diff |= static_cast<unsigned char>(a[i] ^ (i < b.size() ? b[i] : 0));
    return diff == 0;
}

// "/window/12" -> 12 (after the prefix, digits only).
std::optional<int> number_after(std::string_view path, std::string_view prefix, std::string_view suffix = {}) {
    if (path.size() <= prefix.size() + suffix.size() || path.substr(0, prefix.size()) != prefix ||
        path.substr(path.size() - suffix.size()) != suffix)
        return std::nullopt;
    const std::string_view digits = path.substr(prefix.size(), path.size() - prefix.size() - suffix.size());
    if (digits.size() > 4) return std::nullopt;
    int n = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        n = n * 10 + (c - '0');
    }
    return n;
}

void send_response(mg_connection* conn, int status, std::string_view reason, std::string_view type,
                   const void* body, std::size_t size, bool head) {
    mg_printf(conn,
              "HTTP/1.1 %d %.*s\r\nContent-Type: %.*s\r\nContent-Length: %zu\r\nCache-Control: no-store\r\n"
              "X-Content-Type-Options: nosniff\r\nConnection: close\r\n\r\n",
              status, static_cast<int>(reason.size()), reason.data(), static_cast<int>(type.size()), type.data(), size);
    if (!head && size > 0) mg_write(conn, body, size);
}

void send_text(mg_connection* conn, int status, std::string_view reason, std::string_view text, bool head) {
    send_response(conn, status, reason, "text/plain; charset=utf-8", text.data(), text.size(), head);
}

// A browser's page from elsewhere must not drive the panel through the user's browser: a WebSocket
// from a browser names its page's origin, which must be this server.
bool same_origin(const mg_connection* conn) {
    const char* origin = mg_get_header(conn, "Origin");
    if (!origin) return true;  // not a browser
    const char* host = mg_get_header(conn, "Host");
    if (!host) return false;
    std::string_view o = origin;
    const auto scheme = o.find("://");
    if (scheme == std::string_view::npos) return false;
    return o.substr(scheme + 3) == host;
}

}  // namespace

PanelWebServer::PanelWebServer(panelhost::Session& session, WebOptions options)
    : session_(session), options_(std::move(options)) {}

plat::Result<std::unique_ptr<PanelWebServer>> PanelWebServer::start(panelhost::Session& session,
                                                                    const WebOptions& options) {
    std::unique_ptr<PanelWebServer> s(new PanelWebServer(session, options));
    s->follow_panel_windows();
    mg_init_library(0);
    const std::string ports = options.listen.address + ":" + std::to_string(options.listen.port);
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
    callbacks.log_message = Callbacks::quiet;
    mg_init_data init{};
    init.callbacks = &callbacks;
    init.user_data = s.get();
    init.configuration_options = config;
    mg_error_data error{};
    char error_text[256] = "";
    error.text = error_text;
    error.text_buffer_size = sizeof error_text;
    s->ctx_ = mg_start2(&init, &error);
    if (!s->ctx_) {
        mg_exit_library();
        return plat::Error{"cannot serve the browser at " + ports + ": " + (error_text[0] ? error_text : "unknown error")};
    }
    mg_server_port port{};
    if (mg_get_server_ports(s->ctx_, 1, &port) == 1) s->port_ = port.port;
    mg_set_request_handler(s->ctx_, "/", Callbacks::request, s.get());
    mg_set_websocket_handler(s->ctx_, "/ws", Callbacks::connect, Callbacks::ready, Callbacks::data, Callbacks::close,
                             s.get());
    session.add_cycle_hook(s.get());
    return s;
}

PanelWebServer::~PanelWebServer() {
    session_.remove_cycle_hook(this);
    if (ctx_) {
        // Closes every connection; each page's close joins its sender.
        mg_stop(ctx_);
        mg_exit_library();
    }
    for (auto& [key, c] : clients_) {
        {
            std::lock_guard l(c->m);
            c->closing = true;
        }
        c->cv.notify_all();
        if (c->sender.joinable()) c->sender.join();
    }
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
    s.bytes_sent = bytes_sent_;
    s.frames_sent = frames_sent_;
    s.refused_messages = refused_messages_;
    std::lock_guard l(mutex_);
    s.clients = static_cast<int>(clients_.size());
    s.click_to_frame_ms.assign(latencies_.begin(), latencies_.end());
    return s;
}

// --- Panel thread ---------------------------------------------------------------------------------

void PanelWebServer::follow_panel_windows() {
    auto& windows = session_.panel().windows();
    bool same = feeds_.size() == windows.size();
    for (std::size_t i = 0; same && i < windows.size(); ++i) same = feeds_[i]->window == windows[i].get();
    std::lock_guard l(mutex_);
    if (same) {
        for (std::size_t i = 0; i < windows.size(); ++i) feeds_[i]->open = windows[i]->open;
        return;
    }
    // The panel was loaded again: every page starts over with its window's new picture.
    feeds_.clear();
    for (auto& w : windows) {
        auto f = std::make_unique<Feed>();
        f->window = w.get();
        f->number = w->config.number;
        f->title = window_title(w->config);
        f->width = w->config.width;
        f->height = w->config.height;
        f->open = w->open;
        feeds_.push_back(std::move(f));
    }
    for (auto& [key, c] : clients_) c->fresh = true;
}

void PanelWebServer::before_cycle() {
    std::vector<QueuedInput> input;
    {
        std::lock_guard l(input_mutex_);
        input.swap(input_);
    }
    panelhost::Panel& panel = session_.panel();
    for (const QueuedInput& q : input) {
        switch (q.input.kind) {
            case InputKind::press:
                if (panel.press_window(q.window, q.input.x, q.input.y))
                    clicks_waiting_.try_emplace(q.window, q.received);
                break;
            case InputKind::release: panel.release(); break;
            case InputKind::key_down:
                panelhost::apply_host_key(session_, q.input.vk,
                                          {plat::key_down(plat::vk::shift), plat::key_down(plat::vk::control),
                                           plat::key_down(plat::vk::menu)});
                plat::set_key_state(q.input.vk, true);
                break;
            case InputKind::key_up: plat::set_key_state(q.input.vk, false); break;
            case InputKind::ping: break;
        }
    }
}

void PanelWebServer::after_cycle() {
    follow_panel_windows();
    const auto now = Clock::now();
    std::vector<bool> wanted(feeds_.size(), steady_ms() < thumbnails_wanted_until_.load());
    {
        std::lock_guard l(mutex_);
        for (auto& [key, c] : clients_)
            for (std::size_t i = 0; i < feeds_.size(); ++i)
                if (feeds_[i]->number == c->window) wanted[i] = true;
    }
    panelhost::Panel& panel = session_.panel();
    for (std::size_t i = 0; i < feeds_.size(); ++i) {
        if (!wanted[i]) continue;
        Feed& f = *feeds_[i];
        panelhost::WindowChanges changes = panel.take_window(*f.window, f.seen);
        const Image& picture = f.window->picture;
        std::optional<Clock::time_point> click;
        if (auto it = clicks_waiting_.find(f.number); it != clicks_waiting_.end() && (changes.whole || !changes.rects.empty())) {
            click = it->second;
            clicks_waiting_.erase(it);
        }
        std::lock_guard l(mutex_);
        if (!f.mirrored || f.mirror.width != picture.width || f.mirror.height != picture.height) {
            f.mirror = picture;
            f.mirrored = true;
            changes.whole = true;
        } else if (changes.whole) {
            f.mirror.pixels = picture.pixels;
        } else {
            for (const Rect& r : changes.rects) panelhost::copy_area(f.mirror, picture, r);
        }
        for (auto& [key, c] : clients_) {
            if (c->window != f.number || (!c->fresh && !changes.whole && changes.rects.empty())) continue;
            {
                std::lock_guard cl(c->m);
                if (c->fresh || changes.whole) {
                    c->greet = c->greet || c->fresh;
                    c->pending.add_whole();
                } else {
                    for (const Rect& r : changes.rects) c->pending.add(r);
                }
                if (click && !c->click_at) c->click_at = click;
            }
            c->fresh = false;
            c->cv.notify_one();
        }
    }
    // A click that changed nothing is not waited for long.
    std::erase_if(clicks_waiting_, [&](const auto& kv) { return now - kv.second > std::chrono::seconds(2); });
    {
        std::lock_guard l(mutex_);
        ++cycles_published_;
    }
    published_.notify_all();
}

// --- A page's sender ----------------------------------------------------------------------------------

void PanelWebServer::send_loop(const std::shared_ptr<Client>& client) {
    Client& c = *client;
    while (true) {
        DirtyRegion region;
        bool greet = false;
        std::optional<Clock::time_point> click;
        {
            std::unique_lock l(c.m);
            c.cv.wait(l, [&] { return c.closing || !c.pending.empty(); });
            if (c.closing) return;
            region = std::exchange(c.pending, DirtyRegion{});
            greet = std::exchange(c.greet, false);
            click = std::exchange(c.click_at, std::nullopt);
        }
        std::vector<PicturePiece> pieces;
        std::string hello;
        int width = 0, height = 0;
        {
            std::lock_guard l(mutex_);
            auto f = std::find_if(feeds_.begin(), feeds_.end(), [&](const auto& f) { return f->number == c.window; });
            if (f == feeds_.end() || !(*f)->mirrored) continue;
            const Feed& feed = **f;
            width = feed.mirror.width;
            height = feed.mirror.height;
            for (const Rect& r : region.take(width, height)) pieces.push_back(copy_piece(feed.mirror, r));
            if (greet)
                hello = "{\"type\":\"hello\",\"number\":" + std::to_string(feed.number) + ",\"title\":" +
                        json_text(feed.title) + ",\"width\":" + std::to_string(width) +
                        ",\"height\":" + std::to_string(height) + "}";
        }
        // Counted as handed to the connection, so the figures never lag what a page has read.
        if (!hello.empty()) {
            bytes_sent_ += hello.size();
            if (mg_websocket_write(c.conn, kOpcodeText, hello.data(), hello.size()) <= 0) return;
        }
        if (pieces.empty()) continue;
        auto frame = encode_frame(width, height, pieces);
        if (!frame) continue;  // nothing to do for this page but wait for the next change
        bytes_sent_ += frame->size();
        ++frames_sent_;
        if (click) {
            const double ms = std::chrono::duration<double, std::milli>(Clock::now() - *click).count();
            std::lock_guard l(mutex_);
            latencies_.push_back(ms);
            if (latencies_.size() > kMaxLatencies) latencies_.pop_front();
        }
        if (mg_websocket_write(c.conn, MG_WEBSOCKET_OPCODE_BINARY, reinterpret_cast<const char*>(frame->data()),
                               frame->size()) <= 0)
            return;
    }
}

// --- Connection threads ----------------------------------------------------------------------------

bool PanelWebServer::token_ok(const mg_connection* conn) const {
    if (options_.token.empty()) return true;
    const mg_request_info* ri = mg_get_request_info(conn);
    if (!ri || !ri->query_string) return false;
    char given[256];
    const int n = mg_get_var(ri->query_string, std::strlen(ri->query_string), "token", given, sizeof given);
    return n >= 0 && same_secret(std::string_view(given, static_cast<std::size_t>(n)), options_.token);
}

bool PanelWebServer::accept_socket(const mg_connection* conn) {
    const mg_request_info* ri = mg_get_request_info(conn);
    if (!ri || !ri->local_uri || !token_ok(conn) || !same_origin(conn)) return false;
    const auto number = number_after(ri->local_uri, "/ws/");
    if (!number) return false;
    std::lock_guard l(mutex_);
    if (clients_.size() >= static_cast<std::size_t>(kMaxClients)) return false;
    return std::any_of(feeds_.begin(), feeds_.end(), [&](const auto& f) { return f->number == *number; });
}

// A page is taken on only once its handshake is done: the library calls the close handler only
// for those, so nothing is kept for a page whose handshake failed.
void PanelWebServer::socket_ready(mg_connection* conn) {
    const mg_request_info* ri = mg_get_request_info(conn);
    const auto number = ri && ri->local_uri ? number_after(ri->local_uri, "/ws/") : std::nullopt;
    auto c = std::make_shared<Client>();
    c->conn = conn;
    c->window = number.value_or(-1);
    {
        std::lock_guard l(mutex_);
        // Pages that raced past the count at the handshake are turned away here.
        if (!number || clients_.size() >= static_cast<std::size_t>(kMaxClients)) c.reset();
        else clients_.emplace(conn, c);
    }
    if (!c) {
        static constexpr char kTryAgainLater[] = {'\x03', '\xF5'};  // close code 1013
        mg_websocket_write(conn, kOpcodeClose, kTryAgainLater, sizeof kTryAgainLater);
        return;
    }
    c->sender = std::thread([this, c] { send_loop(c); });
}

bool PanelWebServer::socket_data(mg_connection* conn, int bits, const char* data, std::size_t size) {
    const int opcode = bits & 0x0F;
    if (opcode == kOpcodePing || opcode == kOpcodePong) return true;
    if (opcode == kOpcodeClose) return false;
    std::string why;
    // Pages send whole, short text messages; anything else closes this page's connection alone.
    std::optional<ClientInput> in;
    if (opcode == kOpcodeText && (bits & 0x80) && size <= kMaxClientMessage)
        in = parse_client_message(std::string_view(data, size), why);
    if (!in) {
        ++refused_messages_;
        return false;
    }
    if (in->kind == InputKind::ping) return true;
    std::shared_ptr<Client> c;
    {
        std::lock_guard l(mutex_);
        auto it = clients_.find(conn);
        if (it == clients_.end()) return false;
        c = it->second;
    }
    // Only what this page pressed is let go by it.
    if (in->kind == InputKind::press) c->pressing = true;
    if (in->kind == InputKind::release && !std::exchange(c->pressing, false)) return true;
    if (in->kind == InputKind::key_down) c->keys_down.insert(in->vk);
    if (in->kind == InputKind::key_up && c->keys_down.erase(in->vk) == 0) return true;
    std::lock_guard l(input_mutex_);
    input_.push_back({c->window, *in, Clock::now()});
    return true;
}

void PanelWebServer::socket_closed(const mg_connection* conn) {
    std::shared_ptr<Client> c;
    {
        std::lock_guard l(mutex_);
        auto it = clients_.find(conn);
        if (it == clients_.end()) return;
        c = std::move(it->second);
        clients_.erase(it);
    }
    {
        std::lock_guard l(c->m);
        c->closing = true;
    }
    c->cv.notify_all();
    if (c->sender.joinable()) c->sender.join();
    std::lock_guard l(input_mutex_);
    for (int vk : c->keys_down) input_.push_back({c->window, {InputKind::key_up, 0, 0, vk}, Clock::now()});
    if (c->pressing) input_.push_back({c->window, {InputKind::release}, Clock::now()});
}

int PanelWebServer::handle_request(mg_connection* conn) {
    const mg_request_info* ri = mg_get_request_info(conn);
    const std::string_view method = ri && ri->request_method ? ri->request_method : "";
    const std::string_view path = ri && ri->local_uri ? ri->local_uri : "";
    const bool head = method == "HEAD";
    if (method != "GET" && !head) {
        send_text(conn, 405, "Method Not Allowed", "the panel only shows pages\n", head);
        return 405;
    }
    auto serve = [&](std::string_view name) {
        const EmbeddedFile* f = find_embedded_file(name);
        if (!f) {
            send_text(conn, 404, "Not Found", "no such page\n", head);
            return 404;
        }
        send_response(conn, 200, "OK", f->content_type, f->bytes.data(), f->bytes.size(), head);
        return 200;
    };
    // The script and the style tell nothing of the panel; the pages and pictures need the token.
    if (path == "/panel.js" || path == "/index.js" || path == "/panel.css") return serve(path.substr(1));
    if (!token_ok(conn)) {
        send_text(conn, 403, "Forbidden",
                  "This panel asks for its token: open the address the panel host printed, with ?token=...\n", head);
        return 403;
    }
    if (path == "/" || path == "/index.html") return serve("index.html");
    if (path == "/windows.json") {
        send_window_list(conn);
        return 200;
    }
    std::optional<int> number = number_after(path, "/window/");
    std::optional<int> thumbnail = number_after(path, "/thumbnail/", ".png");
    const int n = number ? *number : thumbnail ? *thumbnail : -1;
    bool known = false;
    {
        std::lock_guard l(mutex_);
        known = std::any_of(feeds_.begin(), feeds_.end(), [&](const auto& f) { return f->number == n; });
    }
    if (!known) {
        send_text(conn, 404, "Not Found", "no such panel window\n", head);
        return 404;
    }
    if (number) return serve("window.html");
    send_thumbnail(conn, n);
    return 200;
}

void PanelWebServer::send_window_list(mg_connection* conn) {
    std::string json = "[";
    {
        std::lock_guard l(mutex_);
        for (const auto& f : feeds_) {
            if (json.size() > 1) json += ',';
            json += "{\"number\":" + std::to_string(f->number) + ",\"title\":" + json_text(f->title) +
                    ",\"width\":" + std::to_string(f->width) + ",\"height\":" + std::to_string(f->height) +
                    ",\"open\":" + (f->open ? "true" : "false") + "}";
        }
    }
    json += "]\n";
    send_response(conn, 200, "OK", "application/json", json.data(), json.size(), false);
}

void PanelWebServer::send_thumbnail(mg_connection* conn, int number) {
    // The pictures are taken on the panel thread: ask for them, and wait for a cycle that took them.
    thumbnails_wanted_until_ = steady_ms() + 5000;
    std::optional<PicturePiece> piece;
    {
        std::unique_lock l(mutex_);
        const std::uint64_t asked = cycles_published_;
        published_.wait_for(l, std::chrono::seconds(3), [&] { return cycles_published_ > asked + 1; });
        for (const auto& f : feeds_)
            if (f->number == number && f->mirrored) piece = copy_piece(f->mirror, {0, 0, f->mirror.width, f->mirror.height});
    }
    if (!piece || piece->area.empty()) {
        send_text(conn, 503, "Service Unavailable", "the panel is not running\n", false);
        return;
    }
    auto png = plat::encode_png_xrgb(piece->area.w, piece->area.h, piece->pixels, static_cast<std::size_t>(piece->area.w));
    if (!png) {
        send_text(conn, 500, "Internal Server Error", png.error() + "\n", false);
        return;
    }
    send_response(conn, 200, "OK", "image/png", png->data(), png->size(), false);
}

}  // namespace web
