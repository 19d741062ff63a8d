#pragma once
// Keyboard state as the host sees it, queried by the modules' hot keys. Keys are Windows
// virtual-key codes, because configuration files name keys by those numbers.

#include <cstdint>
#include <optional>
#include <string_view>

namespace plat {

namespace vk {
inline constexpr int back = 0x08, tab = 0x09, enter = 0x0D, shift = 0x10, control = 0x11, menu = 0x12,
                     escape = 0x1B, space = 0x20, prior = 0x21, next = 0x22, end = 0x23, home = 0x24,
                     left = 0x25, up = 0x26, right = 0x27, down = 0x28, insert = 0x2D, del = 0x2E,
                     numpad0 = 0x60, multiply = 0x6A, add = 0x6B, subtract = 0x6D, decimal = 0x6E,
                     divide = 0x6F, f1 = 0x70, f12 = 0x7B;
// Letters and digits are their ASCII upper-case codes, as on Windows.
constexpr int letter(char c) { return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c; }
}  // namespace vk

// Set by the host as keys go down and up.
void set_key_state(int vk_code, bool down);
void release_all_keys();

// Held down now.
bool key_down(int vk_code);
// Pressed at any time since the previous query of this key (by any caller); the query clears it.
bool key_pressed_since_last_query(int vk_code);

// Names as the host's command line and scripts write them: "TAB", "F1", "G", "SPACE", "0x41"...
std::optional<int> key_code_from_name(std::string_view name);

}  // namespace plat
