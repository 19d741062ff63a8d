#include "simlink/engine/bindings.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/words.h"
#include "simlink/engine/names.h"

namespace simlink {

namespace {

constexpr std::size_t max_file_bytes = 1 << 20;
constexpr std::size_t max_path_bytes = 200;
constexpr std::size_t max_value_bytes = 64;

bool path_char(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-' ||
           c == '.' || c == '/' || c == '[' || c == ']' || c == '*';
}

// A value as written to the simulator: printable, no blanks (FlightGear splits on them).
bool value_ok(std::string_view v) {
    if (v.empty() || v.size() > max_value_bytes) return false;
    return std::ranges::all_of(v, [](char c) { return c > ' ' && c < 0x7F && c != '#'; });
}

std::optional<SwitchName> switch_of(std::string_view name) {
    if (name == "master") return SwitchName::master;
    if (name == "heading_hold") return SwitchName::heading_hold;
    if (name == "altitude_hold") return SwitchName::altitude_hold;
    if (name == "speed_hold") return SwitchName::speed_hold;
    if (name == "autothrottle_armed") return SwitchName::autothrottle_armed;
    return std::nullopt;
}

std::optional<std::size_t> setting_of(std::string_view name) {
    constexpr std::string_view names[] = {"heading_bug_deg", "altitude_ft", "vertical_speed_fpm", "speed_kt"};
    for (std::size_t i = 0; i < std::size(names); ++i)
        if (names[i] == name) return i;
    return std::nullopt;
}

class Parser {
public:
    Parser(std::string_view file, const BaseLoader& base) : file_(file), load_base_(base) { b_.file = std::string(file); }

    plat::Result<Bindings> run(std::string_view text) {
        if (text.size() > max_file_bytes) return plat::Error{std::string(file_) + ": larger than a binding file can be"};
        std::size_t start = 0;
        while (start <= text.size() && ok_) {
            std::size_t end = text.find('\n', start);
            if (end == std::string_view::npos) end = text.size();
            ++line_;
            std::string_view line = text.substr(start, end - start);
            if (const std::size_t hash = line.find('#'); hash != std::string_view::npos) line = line.substr(0, hash);
            if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
            statement(plat::split_words(line));
            start = end + 1;
        }
        if (!ok_) return plat::Error{error_};
        if (!seen_simulator_) return plat::Error{std::string(file_) + ": no 'simulator' line"};
        if (base_) return over_base();
        if (b_.tokens.empty()) return plat::Error{std::string(file_) + ": binds no token"};
        return std::move(b_);
    }

private:
    bool fail(const std::string& what) {
        if (ok_) error_ = std::string(file_) + ":" + std::to_string(line_) + ": " + what;
        ok_ = false;
        return false;
    }

    bool path(std::string_view p, std::string& out, const char* what = "path") {
        if (p.size() > max_path_bytes || !valid_sim_path(b_.simulator, p))
            return fail("'" + std::string(p) + "' is no " + std::string(simulator_name(b_.simulator)) + " " + what);
        out = std::string(p);
        return true;
    }

    bool count(const std::vector<std::string_view>& w, std::size_t low, std::size_t high, const char* form) {
        if (w.size() < low || w.size() > high) return fail(std::string("'") + std::string(w[0]) + "' takes " + form);
        return true;
    }

    void statement(const std::vector<std::string_view>& w) {
        if (w.empty()) return;
        const std::string_view kind = w[0];
        if (!seen_simulator_ && kind != "simulator") {
            fail("the file starts with 'simulator flightgear' or 'simulator xplane'");
            return;
        }
        if (kind != "simulator" && kind != "base") past_head_ = true;
        if (kind == "simulator") simulator(w);
        else if (kind == "base") base(w);
        else if (kind == "token") token(w);
        else if (kind == "setting") setting(w);
        else if (kind == "throttle") {
            if (count(w, 2, 2, "PATH") && path(w[1], b_.throttle) && b_.throttle.find('*') == std::string::npos)
                fail("the throttle path needs a '*' where the lever's number goes");
        } else if (kind == "gear") gear(w);
        else if (kind == "speed_brakes") {
            if (count(w, 2, 2, "PATH")) path(w[1], b_.speed_brakes);
        } else if (kind == "lock") lock(w);
        else if (kind == "switch") switch_line(w);
        else if (kind == "event") event(w);
        else fail("unknown statement '" + std::string(kind) + "'");
    }

    void simulator(const std::vector<std::string_view>& w) {
        if (seen_simulator_) {
            fail("a second 'simulator' line");
            return;
        }
        if (!count(w, 2, 2, "flightgear or xplane")) return;
        if (w[1] == "flightgear") b_.simulator = Simulator::flightgear;
        else if (w[1] == "xplane") b_.simulator = Simulator::xplane;
        else {
            fail("unknown simulator '" + std::string(w[1]) + "' (flightgear or xplane)");
            return;
        }
        seen_simulator_ = true;
    }

    void base(const std::vector<std::string_view>& w) {
        if (past_head_ || base_) {
            fail("'base' comes once, right after 'simulator'");
            return;
        }
        if (!count(w, 2, 2, "NAME")) return;
        const std::string_view name = w[1];
        if (name.empty() || name.find('/') != std::string_view::npos || name.front() == '.') {
            fail("'" + std::string(name) + "' is no binding file's name");
            return;
        }
        if (!load_base_) {
            fail("no base can be read here");
            return;
        }
        auto loaded = load_base_(name);
        if (!loaded) {
            fail("base '" + std::string(name) + "': " + loaded.error());
            return;
        }
        if (loaded->simulator != b_.simulator) {
            fail("base '" + std::string(name) + "' binds " + std::string(simulator_name(loaded->simulator)));
            return;
        }
        base_ = std::move(loaded).value();
    }

    // The base with this file's statements in the place of its own.
    Bindings over_base() {
        Bindings out = std::move(*base_);
        out.file = b_.file;
        for (TokenBinding& t : b_.tokens) {
            const auto it = std::ranges::find(out.tokens, t.token, &TokenBinding::token);
            if (it != out.tokens.end()) *it = std::move(t);
            else out.tokens.push_back(std::move(t));
        }
        for (std::size_t i = 0; i < out.settings.size(); ++i)
            if (!b_.settings[i].empty()) out.settings[i] = b_.settings[i];
        if (!b_.throttle.empty()) out.throttle = b_.throttle;
        if (!b_.gear.empty()) {
            out.gear = b_.gear;
            out.gear_form = b_.gear_form;
        }
        if (!b_.speed_brakes.empty()) out.speed_brakes = b_.speed_brakes;
        if (!b_.locks.empty() || !b_.switches.empty()) {
            out.locks = std::move(b_.locks);
            out.switches = std::move(b_.switches);
        }
        for (EventBinding& e : b_.events) {
            const auto it = std::ranges::find(out.events, e.id, &EventBinding::id);
            if (it != out.events.end()) *it = std::move(e);
            else out.events.push_back(std::move(e));
        }
        return out;
    }

    bool source(std::string_view word, Source& s) {
        if (word.substr(0, 5) == "text:") {
            s.text = true;
            word.remove_prefix(5);
        }
        if (const std::size_t eq = word.find('='); eq != std::string_view::npos) {
            if (s.text) return fail("a text source has no stand-in value");
            const auto v = plat::finite_number(word.substr(eq + 1));
            if (!v) return fail("'" + std::string(word.substr(eq + 1)) + "' is no number");
            s.until_answered = *v;
            word = word.substr(0, eq);
        }
        if (word.find('*') != std::string_view::npos) return fail("'*' belongs in the throttle path only");
        return path(word, s.path);
    }

    void token(const std::vector<std::string_view>& w) {
        if (!count(w, 3, 3 + max_sources + 1, "NAME FORM [CONVERSION] SOURCES")) return;
        TokenBinding t;
        t.line = line_;
        const auto id = token_by_name(w[1]);
        if (!id) {
            fail("unknown token '" + std::string(w[1]) + "'");
            return;
        }
        if (std::ranges::any_of(b_.tokens, [&](const TokenBinding& o) { return o.token == *id; })) {
            fail("token '" + std::string(w[1]) + "' is bound twice");
            return;
        }
        t.token = *id;
        if (w[2] == "text") {
            t.form = Form::text;
            if (!count(w, 4, 4, "NAME text PATH")) return;
            Source s;
            s.text = true;
            if (!path(w[3], s.path)) return;
            t.sources.push_back(std::move(s));
            b_.tokens.push_back(std::move(t));
            return;
        }
        if (w[2] == "number") t.form = Form::number;
        else if (w[2] == "integer") t.form = Form::integer;
        else {
            fail("unknown form '" + std::string(w[2]) + "' (number, integer or text)");
            return;
        }
        if (!count(w, 4, 4 + max_sources, "NAME FORM CONVERSION SOURCES")) return;
        const NamedConversion* c = find_conversion(w[3]);
        if (!c) {
            fail("unknown conversion '" + std::string(w[3]) + "'");
            return;
        }
        if (w.size() - 4 != c->sources) {
            fail("conversion '" + std::string(w[3]) + "' reads " + std::to_string(c->sources) + " source(s), not " +
                 std::to_string(w.size() - 4));
            return;
        }
        t.convert = c->convert;
        for (std::size_t k = 4; k < w.size(); ++k) {
            Source s;
            if (!source(w[k], s)) return;
            t.sources.push_back(std::move(s));
        }
        b_.tokens.push_back(std::move(t));
    }

    void setting(const std::vector<std::string_view>& w) {
        if (!count(w, 3, 3, "NAME PATH")) return;
        const auto i = setting_of(w[1]);
        if (!i) {
            fail("unknown setting '" + std::string(w[1]) + "' (heading_bug_deg, altitude_ft, vertical_speed_fpm, speed_kt)");
            return;
        }
        path(w[2], b_.settings[*i]);
    }

    void gear(const std::vector<std::string_view>& w) {
        if (!count(w, 3, 3, "PATH bool|number") || !path(w[1], b_.gear)) return;
        if (w[2] == "bool") b_.gear_form = GearForm::boolean;
        else if (w[2] == "number") b_.gear_form = GearForm::number;
        else fail("the gear is written as 'bool' or 'number', not '" + std::string(w[2]) + "'");
    }

    void lock(const std::vector<std::string_view>& w) {
        if (!count(w, 3, 3, "PATH RULE")) return;
        LockBinding l;
        if (!path(w[1], l.path)) return;
        const NamedLockRule* r = find_lock_rule(w[2]);
        if (!r) {
            fail("unknown lock rule '" + std::string(w[2]) + "'");
            return;
        }
        l.rule = r->rule;
        b_.locks.push_back(std::move(l));
    }

    void switch_line(const std::vector<std::string_view>& w) {
        if (!count(w, 5, 6, "NAME set PATH ON OFF, or NAME toggle COMMAND STATE VALUES")) return;
        SwitchBinding s;
        const auto name = switch_of(w[1]);
        if (!name) {
            fail("unknown switch '" + std::string(w[1]) + "'");
            return;
        }
        s.name = *name;
        if (w[2] == "set") {
            if (!count(w, 6, 6, "NAME set PATH ON OFF") || !path(w[3], s.path)) return;
            for (auto [word, out] : {std::pair{w[4], &s.on}, std::pair{w[5], &s.off}}) {
                if (!value_ok(word)) {
                    fail("'" + std::string(word) + "' is no value to write");
                    return;
                }
                *out = std::string(word);
            }
        } else if (w[2] == "toggle") {
            s.toggle = true;
            if (!count(w, 6, 6, "NAME toggle COMMAND STATE VALUES") || !path(w[3], s.path, "command") ||
                !path(w[4], s.state))
                return;
            std::string_view values = w[5];
            while (!values.empty()) {
                const std::size_t comma = values.find(',');
                const auto v = plat::finite_number(values.substr(0, comma));
                if (!v) {
                    fail("'" + std::string(w[5]) + "' is no list of numbers");
                    return;
                }
                s.on_values.push_back(*v);
                values = comma == std::string_view::npos ? std::string_view() : values.substr(comma + 1);
            }
        } else {
            fail("a switch is 'set' or 'toggle', not '" + std::string(w[2]) + "'");
            return;
        }
        b_.switches.push_back(std::move(s));
    }

    void event(const std::vector<std::string_view>& w) {
        if (!count(w, 4, 5, "NAME set PATH VALUE, or NAME command COMMAND")) return;
        EventBinding e;
        const auto id = event_by_name(w[1]);
        if (!id) {
            fail("unknown key event '" + std::string(w[1]) + "'");
            return;
        }
        e.id = *id;
        if (w[2] == "set") {
            if (!count(w, 5, 5, "NAME set PATH VALUE") || !path(w[3], e.path)) return;
            if (!value_ok(w[4])) {
                fail("'" + std::string(w[4]) + "' is no value to write");
                return;
            }
            e.value = std::string(w[4]);
        } else if (w[2] == "command") {
            e.command = true;
            if (!count(w, 4, 4, "NAME command COMMAND") || !path(w[3], e.path, "command")) return;
        } else {
            fail("an event is 'set' or 'command', not '" + std::string(w[2]) + "'");
            return;
        }
        if (b_.find_event(e.id)) {
            fail("key event '" + std::string(w[1]) + "' is bound twice");
            return;
        }
        b_.events.push_back(std::move(e));
    }

    std::string_view file_;
    const BaseLoader& load_base_;
    Bindings b_;
    std::optional<Bindings> base_;
    int line_ = 0;
    bool ok_ = true, seen_simulator_ = false, past_head_ = false;
    std::string error_;
};

}  // namespace

std::string_view simulator_name(Simulator s) { return s == Simulator::xplane ? "X-Plane" : "FlightGear"; }

bool valid_sim_path(Simulator s, std::string_view path) {
    if (path.empty() || !std::ranges::all_of(path, path_char)) return false;
    if (path.find("//") != std::string_view::npos) return false;
    // FlightGear's paths are absolute; X-Plane's datarefs and commands are relative, "sim/..." or a
    // plug-in's own "laminar/..." and the like.
    if (s == Simulator::flightgear) return path.front() == '/' && path.size() > 1;
    return path.front() != '/' && path.back() != '/' && path.find('/') != std::string_view::npos;
}

const TokenBinding* Bindings::find_token(int token) const {
    const auto it = std::ranges::find(tokens, token, &TokenBinding::token);
    return it == tokens.end() ? nullptr : &*it;
}

const EventBinding* Bindings::find_event(std::uint32_t id) const {
    const auto it = std::ranges::find(events, id, &EventBinding::id);
    return it == events.end() ? nullptr : &*it;
}

std::string Bindings::throttle_path(int lever) const {
    std::string p = throttle;
    if (const std::size_t star = p.find('*'); star != std::string::npos) p.replace(star, 1, std::to_string(lever));
    return p;
}

plat::Result<Bindings> parse_bindings(std::string_view text, std::string_view file_name, const BaseLoader& base) {
    return Parser(file_name, base).run(text);
}

namespace {

plat::Result<std::string> read_text(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return plat::Error{path + ": cannot read the binding file"};
    std::string text;
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return text;
}

}  // namespace

plat::Result<Bindings> load_bindings(const std::string& path, const std::string& shipped_dir) {
    auto text = read_text(path);
    if (!text) return plat::Error{text.error()};
    const std::filesystem::path beside = std::filesystem::path(path).parent_path();
    // A base is read without bases of its own, so no chain of files can loop.
    const BaseLoader base = [&](std::string_view name) -> plat::Result<Bindings> {
        std::filesystem::path found = beside / std::string(name);
        if (!std::filesystem::exists(found) && !shipped_dir.empty()) found = std::filesystem::path(shipped_dir) / std::string(name);
        if (found == std::filesystem::path(path)) return plat::Error{"a file is no base of its own"};
        auto base_text = read_text(found.string());
        if (!base_text) return plat::Error{base_text.error()};
        return parse_bindings(*base_text, found.string());
    };
    return parse_bindings(*text, path, base);
}

}  // namespace simlink
