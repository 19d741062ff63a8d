#include "platform/keyboard.h"

#include <array>
#include <atomic>
#include <cctype>
#include <charconv>
#include <string>

namespace plat {
namespace {

struct KeyState {
    std::array<std::atomic<bool>, 256> down{};
    std::array<std::atomic<bool>, 256> pressed{};
};

KeyState& keys() {
    static KeyState instance;
    return instance;
}

bool valid(int code) { return code >= 0 && code < 256; }

struct NamedKey {
    std::string_view name;
    int code;
};

constexpr NamedKey kNames[] = {
    {"BACK", vk::back},     {"TAB", vk::tab},       {"ENTER", vk::enter},   {"RETURN", vk::enter},
    {"SHIFT", vk::shift},   {"CONTROL", vk::control}, {"CTRL", vk::control}, {"ALT", vk::menu},
    {"MENU", vk::menu},     {"ESCAPE", vk::escape}, {"ESC", vk::escape},    {"SPACE", vk::space},
    {"PRIOR", vk::prior},   {"PAGEUP", vk::prior},  {"NEXT", vk::next},     {"PAGEDOWN", vk::next},
    {"END", vk::end},       {"HOME", vk::home},     {"LEFT", vk::left},     {"UP", vk::up},
    {"RIGHT", vk::right},   {"DOWN", vk::down},     {"INSERT", vk::insert}, {"DELETE", vk::del},
    {"MULTIPLY", vk::multiply}, {"ADD", vk::add},   {"SUBTRACT", vk::subtract}, {"DECIMAL", vk::decimal},
    {"DIVIDE", vk::divide},
};

}  // namespace

void set_key_state(int vk_code, bool down) {
    if (!valid(vk_code)) return;
    KeyState& k = keys();
    if (down && !k.down[vk_code]) k.pressed[vk_code] = true;
    k.down[vk_code] = down;
}

void release_all_keys() {
    for (auto& d : keys().down) d = false;
}

bool key_down(int vk_code) { return valid(vk_code) && keys().down[vk_code]; }

bool key_pressed_since_last_query(int vk_code) {
    return valid(vk_code) && keys().pressed[vk_code].exchange(false);
}

std::optional<int> key_code_from_name(std::string_view name) {
    if (name.empty()) return std::nullopt;
    std::string upper;
    for (char c : name) upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (upper.size() == 1 && std::isalnum(static_cast<unsigned char>(upper[0]))) return upper[0];
    if (upper.size() > 2 && upper[0] == '0' && upper[1] == 'X') {
        int code = 0;
        auto [end, ec] = std::from_chars(upper.data() + 2, upper.data() + upper.size(), code, 16);
        if (ec == std::errc{} && end == upper.data() + upper.size() && valid(code)) return code;
        return std::nullopt;
    }
    if (upper[0] == 'F' && upper.size() <= 3) {
        int n = 0;
        auto [end, ec] = std::from_chars(upper.data() + 1, upper.data() + upper.size(), n);
        if (ec == std::errc{} && end == upper.data() + upper.size() && n >= 1 && n <= 24) return vk::f1 + n - 1;
    }
    if (upper.rfind("NUMPAD", 0) == 0 && upper.size() == 7 && std::isdigit(static_cast<unsigned char>(upper[6])))
        return vk::numpad0 + (upper[6] - '0');
    for (const auto& k : kNames)
        if (k.name == upper) return k.code;
    return std::nullopt;
}

}  // namespace plat
