#include "homeio/controls_file.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>

#include "homeio/words.h"

namespace homeio {
namespace {

struct Lexed {
    std::vector<std::string> words;
    std::vector<bool> quoted;
    bool ok = true;
};

// Words as plat::split_words cuts them, but a double-quoted name is one word.
Lexed lex(std::string_view line) {
    Lexed out;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
        if (i >= line.size()) break;
        if (line[i] == '"') {
            const std::size_t end = line.find('"', i + 1);
            if (end == std::string_view::npos) {
                out.ok = false;
                return out;
            }
            out.words.emplace_back(line.substr(i + 1, end - i - 1));
            out.quoted.push_back(true);
            i = end + 1;
            continue;
        }
        const std::size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
        out.words.emplace_back(line.substr(start, i - start));
        out.quoted.push_back(false);
    }
    return out;
}

DeviceRef device_of(const std::string& word, bool quoted) {
    if (!quoted)
        if (auto index = integer_word(word, 0, 255)) return {{}, static_cast<int>(*index)};
    return {word, std::nullopt};
}

std::optional<Lever> lever_named(std::string_view word) {
    if (word == "throttle") return Lever::throttle;
    if (word == "pitch") return Lever::pitch;
    if (word == "roll") return Lever::roll;
    if (word == "speedbrake") return Lever::speedbrake;
    if (word == "flaps") return Lever::flaps;
    return std::nullopt;
}

// A line's device and the number of its button or axis ("button" or "axis" as `what`).
std::optional<std::string> device_and_number(const std::vector<std::string>& w, bool quoted, const std::string& what,
                                             DeviceRef& device, int& number) {
    device = device_of(w[1], quoted);
    if (device.name.empty() && !device.index) return "a device needs a name or an index";
    const auto n = integer_word(w[2], 0, 255);
    if (!n) return "not " + std::string(what == "axis" ? "an " : "a ") + what + " number: " + w[2];
    number = static_cast<int>(*n);
    return std::nullopt;
}

std::optional<std::string> button(const std::vector<std::string>& w, bool quoted, ButtonBinding& b) {
    if (w.size() < 4) return "expected 'button DEVICE N COMMAND'";
    if (auto why = device_and_number(w, quoted, "button", b.device, b.button)) return why;
    std::string command;
    for (std::size_t i = 3; i < w.size(); ++i) command += (i > 3 ? " " : "") + w[i];
    // "key NAME" alone follows the button down and up.
    const bool follows = w[3] == "key" && w.size() == 5;
    std::string why;
    auto c = parse_command(follows ? command + " down" : command, why);
    if (!c) return why;
    switch (c->verb) {
        case Verb::token: case Verb::watch: case Verb::unwatch: case Verb::windows: case Verb::release:
            return "a button cannot send '" + w[3] + "'";
        default: break;
    }
    b.down = *c;
    if (follows) {
        b.up = *c;
        b.up->down = false;
    } else if (c->verb == Verb::press) {
        b.up = Command{};
        b.up->verb = Verb::release;
    }
    return std::nullopt;
}

std::optional<std::string> axis(const std::vector<std::string>& w, bool quoted, AxisBinding& a) {
    if (w.size() < 4) return "expected 'axis DEVICE N throttle|pitch|roll|speedbrake|flaps [reverse] [deadzone D]'";
    if (auto why = device_and_number(w, quoted, "axis", a.device, a.axis)) return why;
    const auto lever = lever_named(w[3]);
    if (!lever) return "unknown axis use " + w[3] + " (throttle, pitch, roll, speedbrake or flaps)";
    a.lever = *lever;
    for (std::size_t i = 4; i < w.size(); ++i) {
        if (w[i] == "reverse") {
            a.reverse = true;
        } else if (w[i] == "deadzone" && i + 1 < w.size()) {
            const auto d = plat::finite_number(w[++i]);
            if (!d || *d < 0 || *d > 0.5) return "deadzone needs a fraction of the travel, 0 to 0.5: " + w[i];
            a.deadzone = *d;
        } else {
            return "unknown word " + w[i] + " (reverse, deadzone D)";
        }
    }
    return std::nullopt;
}

}  // namespace

plat::Result<ControlsFile> parse_controls(std::string_view text, const std::string& name) {
    ControlsFile file;
    file.name = name;
    int number = 0;
    while (!text.empty()) {
        ++number;
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (const auto hash = line.find('#'); hash != std::string_view::npos) line = line.substr(0, hash);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        auto fault = [&](const std::string& why) { return plat::Error{name + ":" + std::to_string(number) + ": " + why}; };
        const Lexed lexed = lex(line);
        if (!lexed.ok) return fault("a name's closing quote is missing");
        const auto& w = lexed.words;
        if (w.empty()) continue;
        const bool quoted = w.size() > 1 && lexed.quoted[1];
        if (w[0] == "button") {
            ButtonBinding b;
            b.line = number;
            if (auto why = button(w, quoted, b)) return fault(*why);
            file.buttons.push_back(std::move(b));
        } else if (w[0] == "axis") {
            AxisBinding a;
            a.line = number;
            if (auto why = axis(w, quoted, a)) return fault(*why);
            file.axes.push_back(a);
        } else {
            return fault("unknown binding " + w[0] + " (button or axis)");
        }
    }
    return file;
}

plat::Result<ControlsFile> read_controls(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return plat::Error{"cannot read the controls file " + path};
    std::ostringstream text;
    text << in.rdbuf();
    return parse_controls(text.str(), path);
}

double lever_position(const AxisBinding& axis, int raw) {
    const double d = axis.deadzone;
    if (axis.lever == Lever::pitch || axis.lever == Lever::roll) {
        double v = std::clamp(raw / 32767.0, -1.0, 1.0);
        // The rest's width around the centre; the travel beyond it spread over the whole range.
        const double beyond = std::max(std::abs(v) - d, 0.0) / (1.0 - d);
        v = v < 0 ? -beyond : beyond;
        // A stick pulled back reads positive: nose up.
        return axis.reverse ? -v : v;
    }
    double p = std::clamp((raw + 32768) / 65535.0, 0.0, 1.0);
    if (axis.reverse) p = 1.0 - p;
    // The rest at both ends of a lever's travel: idle and full are easy to reach.
    return d > 0 ? std::clamp((p - d) / (1.0 - 2 * d), 0.0, 1.0) : p;
}

}  // namespace homeio
