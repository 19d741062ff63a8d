#include "web/requests.h"

#include <civetweb.h>

#include <cstring>
#include <string>

namespace web {
namespace {

// Compares all of both, so the time taken tells nothing of where they differ.
bool same_secret(std::string_view a, std::string_view b) {
    unsigned char diff = a.size() == b.size() ? 0 : 1;
    for (std::size_t i = 0; i < a.size(); ++i) diff |= static_cast<unsigned char>(a[i] ^ (i < b.size() ? b[i] : 0));
    return diff == 0;
}

}  // namespace

bool token_ok(const mg_connection* conn, std::string_view token) {
    if (token.empty()) return true;
    const mg_request_info* ri = mg_get_request_info(conn);
    if (!ri || !ri->query_string) return false;
    char given[256];
    const int n = mg_get_var(ri->query_string, std::strlen(ri->query_string), "token", given, sizeof given);
    return n >= 0 && same_secret(std::string_view(given, static_cast<std::size_t>(n)), token);
}

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

std::optional<int> number_after(std::string_view path, std::string_view prefix, std::string_view suffix) {
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

}  // namespace web
