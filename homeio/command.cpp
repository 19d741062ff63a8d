#include "homeio/command.h"

#include <vector>

#include "homeio/contract_names.h"
#include "homeio/words.h"
#include "platform/keyboard.h"

namespace homeio {
namespace {

using Words = std::vector<std::string_view>;

bool expect(const Words& w, std::size_t count, const char* form, std::string& why) {
    if (w.size() == count) return true;
    why = std::string("expected '") + form + "'";
    return false;
}

bool place(const Words& w, Command& c, std::string& why) {
    const auto window = integer_word(w[1], 0, kMaxPixel);
    const auto x = integer_word(w[2], 0, kMaxPixel), y = integer_word(w[3], 0, kMaxPixel);
    if (!window) why = "not a window number: " + std::string(w[1]);
    else if (!x || !y) why = "not a pixel: " + std::string(w[2]) + " " + std::string(w[3]);
    else c.window = static_cast<int>(*window), c.x = static_cast<int>(*x), c.y = static_cast<int>(*y);
    return why.empty();
}

bool key(const Words& w, Command& c, std::string& why) {
    if (!expect(w, 3, "key NAME down|up", why)) return false;
    const auto vk = plat::key_code_from_name(w[1]);
    if (!vk) why = "unknown key " + std::string(w[1]);
    else if (w[2] != "down" && w[2] != "up") why = "key " + std::string(w[1]) + " goes down or up";
    else c.vk = *vk, c.down = w[2] == "down";
    return why.empty();
}

bool event(const Words& w, Command& c, std::string& why) {
    if (w.size() != 2 && w.size() != 3) return expect(w, 2, "event NAME [VALUE]", why);
    const auto id = event_number(w[1]);
    if (!id) {
        why = "unknown event " + std::string(w[1]);
        return false;
    }
    c.event = *id;
    if (w.size() == 3) {
        // As a module sends it: a 32-bit value, written signed or not.
        const auto v = integer_word(w[2], -2147483648LL, 4294967295LL);
        if (!v) {
            why = "not an event value: " + std::string(w[2]);
            return false;
        }
        c.value = static_cast<std::uint32_t>(*v);
    }
    return true;
}

bool target(const Words& w, Command& c, std::string& why) {
    const char* form = c.verb == Verb::watch ? "watch GAUGE ELEMENT' or 'watch token NAME"
                                             : "unwatch GAUGE ELEMENT' or 'unwatch token NAME";
    if (!expect(w, 3, form, why)) return false;
    WatchTarget& t = c.target;
    t.label = std::string(w[1]) + " " + std::string(w[2]);
    if (w[1] == "token") {
        const auto token = token_number(w[2]);
        if (!token) why = "unknown variable " + std::string(w[2]);
        else t.is_token = true, t.token = *token;
        return why.empty();
    }
    const auto element = integer_word(w[2], 0, 9999);
    if (!element) why = "not an element number: " + std::string(w[2]);
    else t.gauge = w[1], t.element = static_cast<int>(*element);
    return why.empty();
}

}  // namespace

std::optional<Command> parse_command(std::string_view line, std::string& why) {
    why.clear();
    const Words w = plat::split_words(line);
    if (w.empty()) {
        why = "empty line";
        return std::nullopt;
    }
    Command c;
    const std::string_view verb = w[0];
    bool ok = false;
    if (verb == "token") {
        c.verb = Verb::token;
        ok = expect(w, 2, "token TEXT", why);
        if (ok) c.text = w[1];
    } else if (verb == "click" || verb == "press") {
        c.verb = verb == "click" ? Verb::click : Verb::press;
        ok = expect(w, 4, verb == "click" ? "click WINDOW X Y" : "press WINDOW X Y", why) && place(w, c, why);
    } else if (verb == "release") {
        c.verb = Verb::release;
        ok = expect(w, 1, "release", why);
    } else if (verb == "key") {
        c.verb = Verb::key;
        ok = key(w, c, why);
    } else if (verb == "event") {
        c.verb = Verb::event;
        ok = event(w, c, why);
    } else if (verb == "watch" || verb == "unwatch") {
        c.verb = verb == "watch" ? Verb::watch : Verb::unwatch;
        ok = target(w, c, why);
    } else if (verb == "windows") {
        c.verb = Verb::windows;
        ok = expect(w, 1, "windows", why);
    } else {
        why = "unknown command " + std::string(verb.substr(0, 32));
    }
    if (!ok) return std::nullopt;
    return c;
}

}  // namespace homeio
