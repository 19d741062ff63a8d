#pragma once
// The server's pages over plain HTTP, one handler per path:
//
//   /panel.js /index.js /panel.css   the script and the style, to anyone (they tell nothing of the panel)
//   / and /index.html                the index of the windows            (these and the rest need the token)
//   /windows.json                    the windows: number, title, size, open
//   /window/<n>                      the page of window n
//   /thumbnail/<n>.png               window n's picture now
//
// Anything else is "no such panel window"; only GET and HEAD are answered.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "web/server_state.h"

struct mg_context;
struct mg_connection;

namespace web {

class HttpRoutes {
public:
    HttpRoutes(ServerState& state, std::string token) : state_(state), token_(std::move(token)) {}
    HttpRoutes(const HttpRoutes&) = delete;
    HttpRoutes& operator=(const HttpRoutes&) = delete;

    void register_on(mg_context* ctx);

private:
    using Serve = int (HttpRoutes::*)(mg_connection* conn, std::string_view path, bool head);
    struct Route {
        const char* path;
        bool needs_token;
        Serve serve;
        HttpRoutes* routes = nullptr;
    };
    static int dispatch(mg_connection* conn, void* data);

    int static_file(mg_connection* conn, std::string_view path, bool head);
    int index(mg_connection* conn, std::string_view path, bool head);
    int window_list(mg_connection* conn, std::string_view path, bool head);
    int window_page(mg_connection* conn, std::string_view path, bool head);
    int thumbnail(mg_connection* conn, std::string_view path, bool head);

    int serve_file(mg_connection* conn, std::string_view name, bool head);
    int not_a_window(mg_connection* conn, bool head);
    bool known_window(std::optional<int> number) const;

    ServerState& state_;
    const std::string token_;
    std::array<Route, 8> routes_{{
        {"/panel.js", false, &HttpRoutes::static_file},
        {"/index.js", false, &HttpRoutes::static_file},
        {"/panel.css", false, &HttpRoutes::static_file},
        {"/", true, &HttpRoutes::index},
        {"/index.html", true, &HttpRoutes::index},
        {"/windows.json", true, &HttpRoutes::window_list},
        {"/window", true, &HttpRoutes::window_page},
        {"/thumbnail", true, &HttpRoutes::thumbnail},
    }};
};

}  // namespace web
