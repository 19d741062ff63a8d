#include "panelhost/scenario.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "panelhost/text_util.h"
#include "platform/keyboard.h"

namespace panelhost {
namespace {

struct LineParser {
    const std::string& path;
    int line;
    std::vector<std::string_view> w;
    std::string error;

    bool fail(const std::string& what) {
        error = path + ":" + std::to_string(line) + ": " + what;
        return false;
    }
    bool need(std::size_t n, const char* usage) {
        if (w.size() < n) return fail(std::string("expected: at <t> ") + usage);
        return true;
    }
    bool number(std::size_t i, double& out, const char* what) {
        auto v = parse_double(w[i]);
        if (!v) return fail(std::string("bad ") + what + " '" + std::string(w[i]) + "'");
        out = *v;
        return true;
    }
    bool integer(std::size_t i, int& out, const char* what) {
        auto v = parse_int(w[i]);
        if (!v) return fail(std::string("bad ") + what + " '" + std::string(w[i]) + "'");
        out = *v;
        return true;
    }
};

// The rest of the line after the first n words, as written (texts may hold blanks).
std::string_view tail_after(std::string_view line, std::size_t n) {
    std::size_t i = 0;
    for (std::size_t k = 0; k < n; ++k) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
    }
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    return line.substr(i);
}

// at <t> aircraft lat=.. lon=.. alt-ft=.. ias=.. hdg=.. on-ground=0|1 [throttle=0..1] [flaps=0..1]
//                 [fuel-lb=0..30000] [gear=up|down] [wind=DIR/KT]
bool parse_placement(LineParser& p, std::string_view, Action& out) {
    AircraftCommand& c = out.emplace<AircraftCommand>();
    if (!p.need(4, "aircraft lat=.. lon=.. alt-ft=.. ias=.. hdg=.. on-ground=0|1")) return false;
    for (std::size_t i = 3; i < p.w.size(); ++i) {
        const std::string_view word = p.w[i];
        const auto eq = word.find('=');
        if (eq == std::string_view::npos || eq == 0) return p.fail("expected key=value, not '" + std::string(word) + "'");
        const std::string key(word.substr(0, eq));
        const std::string_view text = word.substr(eq + 1);
        if (key == "gear") {
            if (text != "up" && text != "down") return p.fail("gear is up or down, not '" + std::string(text) + "'");
            c.placement.gear_down = text == "down";
            continue;
        }
        if (key == "wind") {
            const auto slash = text.find('/');
            const auto dir = slash == std::string_view::npos ? std::nullopt : parse_double(text.substr(0, slash));
            const auto kt = slash == std::string_view::npos ? std::nullopt : parse_double(text.substr(slash + 1));
            if (!dir || !kt || !(*dir >= 0 && *dir <= 360) || !(*kt >= 0 && *kt <= 200))
                return p.fail("wind is DIR/KT (0-360 degrees true / 0-200 kt), not '" + std::string(text) + "'");
            c.placement.wind_from_deg = *dir;
            c.placement.wind_kt = *kt;
            continue;
        }
        const auto v = parse_double(text);
        if (!v || !std::isfinite(*v)) return p.fail("bad value of " + key + " '" + std::string(word.substr(eq + 1)) + "'");
        sim::Placement& pl = c.placement;
        if (key == "lat" && *v >= -90 && *v <= 90) pl.lat = *v;
        else if (key == "lon" && *v >= -180 && *v <= 180) pl.lon = *v;
        else if (key == "alt-ft" && *v >= -2000 && *v <= 60000) pl.altitude_ft = *v;
        else if (key == "ias" && *v >= 0 && *v <= 1000) pl.ias_kt = *v;
        else if (key == "hdg") pl.heading_deg = *v;
        else if (key == "on-ground" && (*v == 0 || *v == 1)) pl.on_ground = *v != 0;
        else if (key == "throttle" && *v >= 0 && *v <= 1) pl.throttle = *v;
        else if (key == "flaps" && *v >= 0 && *v <= 1) pl.flaps = *v;
        else if (key == "fuel-lb" && *v >= 0 && *v <= 30000) pl.fuel_lb = *v;
        else if (key == "lat" || key == "lon" || key == "alt-ft" || key == "ias" || key == "on-ground" || key == "throttle" || key == "flaps" || key == "fuel-lb")
            return p.fail(key + " out of range: '" + std::string(word) + "'");
        else return p.fail("unknown aircraft setting '" + key + "'");
    }
    return true;
}

// ias<N, ias>N, height<N, height>N, approach=<phase>
bool parse_condition(LineParser& p, std::string_view word, Condition& out) {
    out.text = std::string(word);
    const auto op = word.find_first_of("<>=");
    const std::string usage = "expected a condition (ias<N, ias>N, height<N, height>N, approach=<phase>), not '" +
                              std::string(word) + "'";
    if (op == std::string_view::npos || op == 0) return p.fail(usage);
    const std::string_view name = word.substr(0, op), value = word.substr(op + 1);
    const char o = word[op];
    if (name == "approach") {
        static constexpr std::pair<std::string_view, sim::ApproachPhase> phases[] = {
            {"armed", sim::ApproachPhase::armed},     {"localizer", sim::ApproachPhase::localizer},
            {"glide-slope", sim::ApproachPhase::glide_slope}, {"flare", sim::ApproachPhase::flare},
            {"rollout", sim::ApproachPhase::rollout}, {"stopped", sim::ApproachPhase::stopped}};
        if (o != '=') return p.fail(usage);
        for (const auto& [n, phase] : phases)
            if (n == value) {
                out.kind = ConditionKind::approach;
                out.phase = phase;
                return true;
            }
        return p.fail("no approach phase '" + std::string(value) +
                      "' (armed, localizer, glide-slope, flare, rollout, stopped)");
    }
    if ((name != "ias" && name != "height") || o == '=') return p.fail(usage);
    const auto v = parse_double(value);
    if (!v || !std::isfinite(*v)) return p.fail("bad value in '" + std::string(word) + "'");
    out.value = *v;
    if (name == "ias") out.kind = o == '<' ? ConditionKind::ias_below : ConditionKind::ias_above;
    else out.kind = o == '<' ? ConditionKind::height_below : ConditionKind::height_above;
    return true;
}

bool parse_set(LineParser& p, std::string_view, Action& out) {
    auto& c = out.emplace<SetCommand>();
    return p.need(5, "set <token> <value>") && p.integer(3, c.token, "token") && p.number(4, c.value, "value");
}

bool parse_set_int(LineParser& p, std::string_view, Action& out) {
    auto& c = out.emplace<SetIntCommand>();
    int v = 0;
    if (!p.need(5, "set-int <token> <int>") || !p.integer(3, c.token, "token") || !p.integer(4, v, "integer"))
        return false;
    c.value = v;
    return true;
}

bool parse_set_text(LineParser& p, std::string_view line, Action& out) {
    auto& c = out.emplace<SetTextCommand>();
    if (!p.need(4, "set-text <token> <text>") || !p.integer(3, c.token, "token")) return false;
    c.text = std::string(tail_after(line, 4));
    return true;
}

bool parse_ramp(LineParser& p, std::string_view, Action& out) {
    auto& c = out.emplace<RampCommand>();
    return p.need(6, "ramp <token> <to> <seconds>") && p.integer(3, c.token, "token") &&
           p.number(4, c.to, "target value") && p.number(5, c.seconds, "duration");
}

bool parse_named(LineParser& p, std::string_view, Action& out) {
    auto& c = out.emplace<NamedCommand>();
    c.name = p.w.size() > 3 ? std::string(p.w[3]) : "";
    return p.need(5, "named <name> <value>") && p.number(4, c.value, "value");
}

bool parse_click(LineParser& p, std::string_view, Action& out) {
    auto& c = out.emplace<ClickCommand>();
    if (!p.need(6, "click <gauge> <x> <y>")) return false;
    c.gauge = std::string(p.w[3]);
    return p.integer(4, c.x, "x") && p.integer(5, c.y, "y");
}

bool parse_hold(LineParser& p, std::string_view, Action& out) {
    auto& c = out.emplace<HoldCommand>();
    if (!p.need(7, "hold <gauge> <x> <y> <seconds>")) return false;
    c.gauge = std::string(p.w[3]);
    return p.integer(4, c.x, "x") && p.integer(5, c.y, "y") && p.number(6, c.seconds, "duration");
}

bool parse_key(LineParser& p, std::string_view, Action& out) {
    auto& c = out.emplace<KeyCommand>();
    if (!p.need(4, "key <vk> [shift] [ctrl]")) return false;
    auto code = plat::key_code_from_name(p.w[3]);
    if (auto n = parse_int(p.w[3]); n && *n >= 0 && *n < 256) code = *n;
    if (!code) return p.fail("unknown key '" + std::string(p.w[3]) + "'");
    c.vk = *code;
    for (std::size_t i = 4; i < p.w.size(); ++i) {
        if (p.w[i] == "shift") c.shift = true;
        else if (p.w[i] == "ctrl") c.ctrl = true;
        else return p.fail("unknown key modifier '" + std::string(p.w[i]) + "'");
    }
    return true;
}

// snap <name>, dump <name>: a plain file name, the output's prefix.
bool parse_file_name(LineParser& p, const char* usage, std::string& name) {
    if (!p.need(4, usage)) return false;
    name = std::string(p.w[3]);
    if (name.find('/') != std::string::npos || name.find("..") != std::string::npos)
        return p.fail("a snapshot name is a plain file name");
    return true;
}

bool parse_snap(LineParser& p, std::string_view, Action& out) {
    return parse_file_name(p, "snap <name>", out.emplace<SnapCommand>().name);
}

bool parse_dump(LineParser& p, std::string_view, Action& out) {
    return parse_file_name(p, "dump <name>", out.emplace<DumpCommand>().name);
}

bool parse_poke(LineParser& p, std::string_view line, Action& out) {
    auto& c = out.emplace<PokeCommand>();
    if (!p.need(6, "poke <block> <offset> <text>")) return false;
    c.block = std::string(p.w[3]);
    int offset = 0;
    if (!p.integer(4, offset, "offset")) return false;
    if (offset < 0) return p.fail("offset must not be negative");
    c.offset = static_cast<std::size_t>(offset);
    c.text = std::string(tail_after(line, 5));
    return true;
}

bool parse_reload(LineParser&, std::string_view, Action& out) {
    out.emplace<ReloadCommand>();
    return true;
}

bool parse_stats(LineParser& p, std::string_view, Action& out) {
    auto& c = out.emplace<StatsCommand>();
    if (p.w.size() > 4) return p.fail("expected: at <t> stats [<label>]");
    if (p.w.size() == 4) c.label = std::string(p.w[3]);
    return true;
}

bool parse_fail(LineParser& p, std::string_view, Action& out) {
    auto& c = out.emplace<FailCommand>();
    if (!p.need(5, "fail <key> on|off") || !p.integer(3, c.key, "failure key")) return false;
    if (p.w[4] != "on" && p.w[4] != "off") return p.fail("expected on or off");
    c.on = p.w[4] == "on";
    return true;
}

bool parse_autopilot(LineParser& p, std::string_view, Action& out) {
    auto& c = out.emplace<AutopilotCommand>();
    if (!p.need(4, "autopilot approach|speed [KT]") || (p.w[3] != "approach" && p.w[3] != "speed") ||
        p.w.size() > (p.w[3] == "speed" ? 5u : 4u))
        return p.fail("expected: at <t> autopilot approach|speed [KT]");
    c.speed = p.w[3] == "speed";
    if (p.w.size() == 5) {
        double kt = 0;
        if (!p.number(4, kt, "speed setting")) return false;
        if (kt < 60 || kt > 400) return p.fail("the speed setting is 60 to 400 kt");
        c.speed_kt = kt;
    }
    return true;
}

bool parse_radio(LineParser& p, std::string_view, Action& out) {
    auto& c = out.emplace<RadioCommand>();
    if (!p.need(5, "radio nav1|nav2|course1|course2|adf <value>")) return false;
    if (!sim::knob_named(p.w[3], c.knob))
        return p.fail("no radio knob '" + std::string(p.w[3]) + "' (nav1, nav2, course1, course2, adf)");
    if (!p.number(4, c.value, "radio setting")) return false;
    sim::RadioTuning check;
    if (!sim::set_knob(check, c.knob, c.value))
        return p.fail("'" + std::string(p.w[4]) + "' is outside the " + std::string(p.w[3]) +
                      " range (NAV 108.00-117.95 MHz, course 0-360, ADF 190-1750 kHz)");
    return true;
}

bool parse_window(LineParser& p, std::string_view, Action& out) {
    auto& c = out.emplace<WindowCommand>();
    return p.need(4, "window <ident>") && p.integer(3, c.ident, "window ident");
}

using VerbParser = bool (*)(LineParser& p, std::string_view line, Action& out);

constexpr std::pair<std::string_view, VerbParser> kVerbs[] = {
    {"set", parse_set},       {"set-int", parse_set_int},     {"set-text", parse_set_text}, {"ramp", parse_ramp},
    {"named", parse_named},   {"click", parse_click},         {"hold", parse_hold},         {"key", parse_key},
    {"snap", parse_snap},     {"dump", parse_dump},           {"poke", parse_poke},         {"reload", parse_reload},
    {"stats", parse_stats},   {"fail", parse_fail},           {"aircraft", parse_placement},
    {"autopilot", parse_autopilot}, {"radio", parse_radio},   {"window", parse_window},
};

bool parse_command(LineParser& p, std::string_view line, Command& c) {
    if (!p.need(3, "<command> ...")) return false;
    if (p.w[0] != "at") return p.fail("a command starts with 'at <time>'");
    if (!p.number(1, c.t, "time")) return false;
    if (c.t < 0) return p.fail("time must not be negative");
    const std::string_view verb = p.w[2];
    for (const auto& [name, parse] : kVerbs)
        if (name == verb) return parse(p, line, c.action);
    return p.fail("unknown command '" + std::string(verb) + "'");
}

}  // namespace

plat::Result<Scenario> parse_scenario(const std::string& text, const std::string& path) {
    Scenario s;
    s.path = path;
    int number = 0;
    std::string_view rest = text;
    while (!rest.empty()) {
        ++number;
        auto nl = rest.find('\n');
        std::string_view line = rest.substr(0, nl);
        rest = nl == std::string_view::npos ? std::string_view{} : rest.substr(nl + 1);
        if (auto hash = line.find('#'); hash != std::string_view::npos && line.substr(0, hash).find_first_not_of(" \t") == std::string_view::npos)
            line = {};
        line = trim(line);
        if (line.empty()) continue;
        LineParser p{path, number, words(line), {}};
        Command c;
        c.line = number;
        // "at <t> when <condition> <command>": the command parsed as "at <t> <command>".
        std::string unconditional;
        if (p.w.size() >= 3 && p.w[2] == "when") {
            if (!p.need(5, "when <condition> <command> ...") || !parse_condition(p, p.w[3], c.when))
                return plat::Error{p.error};
            unconditional = std::string(p.w[0]) + " " + std::string(p.w[1]) + " " + std::string(tail_after(line, 4));
            line = unconditional;
            p.w = words(line);
        }
        if (!parse_command(p, line, c)) return plat::Error{p.error};
        s.commands.push_back(std::move(c));
    }
    std::stable_sort(s.commands.begin(), s.commands.end(), [](const Command& a, const Command& b) { return a.t < b.t; });
    return s;
}

plat::Result<Scenario> load_scenario(const std::string& path) {
    auto text = read_text_file(path);
    if (!text) return plat::Error{path + ": cannot read the scenario file"};
    return parse_scenario(*text, path);
}

}  // namespace panelhost
