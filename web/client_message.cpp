#include "web/client_message.h"

#include <charconv>

#include "platform/keyboard.h"

namespace web {
namespace {

// A decimal count of at most five digits, without sign or padding blanks.
std::optional<int> small_number(std::string_view s) {
    if (s.empty() || s.size() > 5) return std::nullopt;
    int v = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc{} || end != s.data() + s.size() || v < 0) return std::nullopt;
    return v;
}

// Splits at single blanks; false when there are more than `max` words or empty ones.
bool split_words(std::string_view text, std::string_view* words, std::size_t max, std::size_t& count) {
    count = 0;
    while (true) {
        const auto blank = text.find(' ');
        const std::string_view word = text.substr(0, blank);
        if (word.empty() || count == max) return false;
        words[count++] = word;
        if (blank == std::string_view::npos) return true;
        text.remove_prefix(blank + 1);
    }
}

}  // namespace

bool is_panel_key(int vk) {
    using namespace plat::vk;
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9') || (vk >= f1 && vk <= f12)) return true;
    for (int k : {tab, enter, space, escape, back, shift, control, menu, left, right, up, down, prior, next, home, end,
                  insert, del})
        if (vk == k) return true;
    return false;
}

std::optional<ClientInput> parse_client_message(std::string_view text, std::string& why) {
    if (text.size() > kMaxClientMessage) {
        why = "message longer than " + std::to_string(kMaxClientMessage) + " bytes";
        return std::nullopt;
    }
    std::string_view w[3];
    std::size_t n = 0;
    if (!split_words(text, w, 3, n)) {
        why = "not a message of the panel page";
        return std::nullopt;
    }
    ClientInput in;
    if (w[0] == "press" && n == 3) {
        const auto x = small_number(w[1]), y = small_number(w[2]);
        if (!x || !y) {
            why = "press needs two pixel numbers";
            return std::nullopt;
        }
        in.kind = InputKind::press;
        in.x = *x;
        in.y = *y;
        return in;
    }
    if ((w[0] == "keydown" || w[0] == "keyup") && n == 2) {
        const auto vk = small_number(w[1]);
        if (!vk || !is_panel_key(*vk)) {
            why = "not a key of the panel";
            return std::nullopt;
        }
        in.kind = w[0] == "keydown" ? InputKind::key_down : InputKind::key_up;
        in.vk = *vk;
        return in;
    }
    if (w[0] == "release" && n == 1) {
        in.kind = InputKind::release;
        return in;
    }
    if (w[0] == "ping" && n == 1) return in;
    why = "not a message of the panel page";
    return std::nullopt;
}

}  // namespace web
