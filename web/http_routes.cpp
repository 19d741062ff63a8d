#include "web/http_routes.h"

#include <civetweb.h>

#include "platform/canvas/png_file.h"
#include "web/frame_message.h"
#include "web/pages.h"
#include "web/requests.h"
#include "web/text_escapes.h"

namespace web {

void HttpRoutes::register_on(mg_context* ctx) {
    for (Route& r : routes_) {
        r.routes = this;
        mg_set_request_handler(ctx, r.path, dispatch, &r);
    }
}

// civetweb hands a path to the handler of its longest registered prefix ("/" for every path no
// other takes), so each handler still looks at the whole path.
int HttpRoutes::dispatch(mg_connection* conn, void* data) {
    const Route& route = *static_cast<const Route*>(data);
    const mg_request_info* ri = mg_get_request_info(conn);
    const std::string_view method = ri && ri->request_method ? ri->request_method : "";
    const std::string_view path = ri && ri->local_uri ? ri->local_uri : "";
    const bool head = method == "HEAD";
    if (method != "GET" && !head) {
        send_text(conn, 405, "Method Not Allowed", "the panel only shows pages\n", head);
        return 405;
    }
    const bool needs_token = route.needs_token || path != route.path;
    if (needs_token && !token_ok(conn, route.routes->token_)) {
        send_text(conn, 403, "Forbidden",
                  "This panel asks for its token: open the address the panel host printed, with ?token=...\n", head);
        return 403;
    }
    return (route.routes->*route.serve)(conn, path, head);
}

// The script and the style tell nothing of the panel; the pages and pictures need the token.
int HttpRoutes::static_file(mg_connection* conn, std::string_view path, bool head) {
    if (path != "/panel.js" && path != "/index.js" && path != "/panel.css") return not_a_window(conn, head);
    return serve_file(conn, path.substr(1), head);
}

int HttpRoutes::index(mg_connection* conn, std::string_view path, bool head) {
    if (path != "/" && path != "/index.html") return not_a_window(conn, head);
    return serve_file(conn, "index.html", head);
}

int HttpRoutes::window_list(mg_connection* conn, std::string_view path, bool head) {
    if (path != "/windows.json") return not_a_window(conn, head);
    std::string json = "[";
    {
        std::lock_guard l(state_.mutex);
        for (const auto& f : state_.feeds) {
            if (json.size() > 1) json += ',';
            json += "{\"number\":" + std::to_string(f->number) + ",\"title\":" + json_text(f->title) +
                    ",\"width\":" + std::to_string(f->width) + ",\"height\":" + std::to_string(f->height) +
                    ",\"open\":" + (f->open ? "true" : "false") + "}";
        }
    }
    json += "]\n";
    send_response(conn, 200, "OK", "application/json", json.data(), json.size(), false);
    return 200;
}

int HttpRoutes::window_page(mg_connection* conn, std::string_view path, bool head) {
    if (!known_window(number_after(path, "/window/"))) return not_a_window(conn, head);
    return serve_file(conn, "window.html", head);
}

int HttpRoutes::thumbnail(mg_connection* conn, std::string_view path, bool head) {
    const std::optional<int> number = number_after(path, "/thumbnail/", ".png");
    if (!known_window(number)) return not_a_window(conn, head);
    // The pictures are taken on the panel thread: ask for them, and wait for a cycle that took them.
    state_.thumbnails_wanted_until = steady_ms() + 5000;
    std::optional<PicturePiece> piece;
    {
        std::unique_lock l(state_.mutex);
        const std::uint64_t asked = state_.cycles_published;
        state_.published.wait_for(l, std::chrono::seconds(3), [&] { return state_.cycles_published > asked + 1; });
        for (const auto& f : state_.feeds)
            if (f->number == *number && f->mirrored)
                piece = copy_piece(f->mirror.view(), {0, 0, f->mirror.width, f->mirror.height});
    }
    if (!piece || piece->area.empty()) {
        send_text(conn, 503, "Service Unavailable", "the panel is not running\n", false);
        return 200;
    }
    auto png = plat::encode_png_xrgb(piece->area.w, piece->area.h, piece->pixels, static_cast<std::size_t>(piece->area.w));
    if (!png) {
        send_text(conn, 500, "Internal Server Error", png.error() + "\n", false);
        return 200;
    }
    send_response(conn, 200, "OK", "image/png", png->data(), png->size(), false);
    return 200;
}

int HttpRoutes::serve_file(mg_connection* conn, std::string_view name, bool head) {
    const EmbeddedFile* f = find_embedded_file(name);
    if (!f) {
        send_text(conn, 404, "Not Found", "no such page\n", head);
        return 404;
    }
    send_response(conn, 200, "OK", f->content_type, f->bytes.data(), f->bytes.size(), head);
    return 200;
}

int HttpRoutes::not_a_window(mg_connection* conn, bool head) {
    send_text(conn, 404, "Not Found", "no such panel window\n", head);
    return 404;
}

bool HttpRoutes::known_window(std::optional<int> number) const {
    if (!number) return false;
    std::lock_guard l(state_.mutex);
    return state_.knows_window(*number);
}

}  // namespace web
