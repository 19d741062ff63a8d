#include "homeio/protocol_client.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace homeio {

void append_value_line(std::string& out, const std::string& label, const Reading& value) {
    out += "value ";
    out += label;
    out += ' ';
    if (!value.is_text) {
        char digits[32];
        auto [end, ec] = std::to_chars(digits, digits + sizeof digits, value.number);
        out.append(digits, ec == std::errc{} ? end : digits);
        out += '\n';
        return;
    }
    out += '"';
    for (char c : value.text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20 || u == 0x7F) {
            char esc[8];
            std::snprintf(esc, sizeof esc, "\\x%02X", u);
            out += esc;
        } else {
            out += c;
        }
    }
    out += "\"\n";
}

namespace {

bool has_open_window(IoPanel& panel, int number) {
    for (const IoWindow& w : panel.windows())
        if (w.number == number) return w.open;
    return false;
}

}  // namespace

bool ProtocolClient::read(Watch& w, IoPanel& panel, std::uint64_t loads, Reading& now) {
    if (w.target.is_token) {
        now = panel.read_token(w.target.token);
        return true;
    }
    if (w.found_at != loads) {
        w.element = panel.find_element(w.target.gauge, w.target.element);
        w.found_at = loads;
    }
    if (!w.element) return false;
    now = panel.read_element(w.element);
    return true;
}

void ProtocolClient::tell(Watch& w, IoPanel& panel, std::uint64_t loads, std::string& out, bool always) {
    Reading now;
    if (!read(w, panel, loads, now)) return;
    if (!always && w.told && now == Reading{w.last_is_text, w.last_number, w.last_text}) return;
    append_value_line(out, w.target.label, now);
    w.last_is_text = now.is_text;
    w.last_number = now.number;
    w.last_text.assign(now.text);
    w.told = true;
}

bool ProtocolClient::apply(const Command& c, IoPanel& panel, std::string& out) {
    auto error = [&out](const std::string& why) { out += "error " + why + "\n"; };
    switch (c.verb) {
        case Verb::token:
            error("token is only the first line");
            break;
        case Verb::click:
            // A click beside every area is a click that does nothing, as the mouse's.
            if (!has_open_window(panel, c.window)) error("no open window " + std::to_string(c.window));
            else panel.click(c.window, c.x, c.y);
            break;
        case Verb::press:
            if (pressing_) panel.release();
            pressing_ = false;
            if (!has_open_window(panel, c.window)) error("no open window " + std::to_string(c.window));
            else pressing_ = panel.press(c.window, c.x, c.y);
            break;
        case Verb::release:
            if (pressing_) panel.release();
            pressing_ = false;
            break;
        case Verb::key: {
            const auto held = std::find(keys_down_.begin(), keys_down_.end(), c.vk);
            if (c.down && held == keys_down_.end()) keys_down_.push_back(c.vk);
            if (!c.down && held != keys_down_.end()) keys_down_.erase(held);
            panel.key(c.vk, c.down);
            break;
        }
        case Verb::event:
            panel.send_event(c.event, c.value);
            break;
        case Verb::watch: {
            auto known = std::find_if(watches_.begin(), watches_.end(), [&](const Watch& w) { return w.target == c.target; });
            if (known == watches_.end()) {
                if (watches_.size() >= kMaxWatches) {
                    error("more than " + std::to_string(kMaxWatches) + " watches");
                    return false;
                }
                Watch w;
                w.target = c.target;
                w.found_at = panel.panel_loads();
                if (!c.target.is_token && !(w.element = panel.find_element(c.target.gauge, c.target.element))) {
                    error("no element " + std::to_string(c.target.element) + " of a gauge " + c.target.gauge);
                    break;
                }
                watches_.push_back(std::move(w));
                known = watches_.end() - 1;
            }
            tell(*known, panel, panel.panel_loads(), out, true);
            break;
        }
        case Verb::unwatch: {
            const auto n = std::erase_if(watches_, [&](const Watch& w) { return w.target == c.target; });
            if (n == 0) error("not watched: " + c.target.label);
            break;
        }
        case Verb::windows:
            for (const IoWindow& w : panel.windows()) {
                std::string title;
                for (char ch : w.title) title += ch == '"' ? '\'' : ch;
                out += "window " + std::to_string(w.number) + " \"" + title + "\" " + std::to_string(w.width) + " " +
                       std::to_string(w.height) + "\n";
            }
            break;
    }
    return true;
}

void ProtocolClient::report_changes(IoPanel& panel, std::string& out) {
    const std::uint64_t loads = panel.panel_loads();
    for (Watch& w : watches_) tell(w, panel, loads, out, false);
}

void ProtocolClient::release_all(IoPanel& panel) {
    if (pressing_) panel.release();
    pressing_ = false;
    for (int vk : keys_down_) panel.key(vk, false);
    keys_down_.clear();
}

}  // namespace homeio
