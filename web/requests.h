#pragma once
// What the server checks of a request (its token, its origin, the window number in its path) and
// how it answers one, for the HTTP routes and the WebSocket handshakes alike.

#include <cstddef>
#include <optional>
#include <string_view>

struct mg_connection;

namespace web {

// Whether the request presents the token (?token=...); any request does when the token is empty.
bool token_ok(const mg_connection* conn, std::string_view token);
// A browser's page from elsewhere must not drive the panel through the user's browser: a WebSocket
// from a browser names its page's origin, which must be this server.
bool same_origin(const mg_connection* conn);
// "/window/12" -> 12 (after the prefix and before the suffix, at most four digits only).
std::optional<int> number_after(std::string_view path, std::string_view prefix, std::string_view suffix = {});

void send_response(mg_connection* conn, int status, std::string_view reason, std::string_view type,
                   const void* body, std::size_t size, bool head);
void send_text(mg_connection* conn, int status, std::string_view reason, std::string_view text, bool head);

}  // namespace web
