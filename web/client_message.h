#pragma once
// What a browser page sends: one short text message per input. The server reads it on a connection's
// thread and hands the input to the panel thread.
//
//   press X Y      the left button goes down at window pixel (X, Y) (held until "release")
//   release        the left button comes up
//   keydown VK     a key goes down (a Windows virtual-key code, decimal)
//   keyup VK       a key comes up
//   ping           nothing; keeps a quiet connection known to be alive

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace web {

// The longest message a page sends; anything longer is not from a page.
inline constexpr std::size_t kMaxClientMessage = 64;

enum class InputKind { press, release, key_down, key_up, ping };

struct ClientInput {
    InputKind kind = InputKind::ping;
    int x = 0, y = 0;  // press: window pixels
    int vk = 0;        // key_down, key_up
};

// The input of a message, or why it is not one (with `why` set).
std::optional<ClientInput> parse_client_message(std::string_view text, std::string& why);

// The keys a page may press: those the panel's window viewer passes to the gauges.
bool is_panel_key(int vk);

}  // namespace web
