#include "panelhost/panel_config.h"

#include "panelhost/text_util.h"

#include <algorithm>
#include <filesystem>

namespace panelhost {
namespace {

plat::Error fault(const std::string& path, int line, const std::string& what) {
    if (line == 0) return plat::Error{path + ": " + what};
    return plat::Error{path + ":" + std::to_string(line) + ": " + what};
}

bool parse_pair(std::string_view value, int& a, int& b) {
    auto parts = split(value, ',');
    if (parts.size() != 2) return false;
    auto x = parse_int(parts[0]);
    auto y = parse_int(parts[1]);
    if (!x || !y) return false;
    a = *x;
    b = *y;
    return true;
}

// "module!gauge, x, y[, w, h]"
std::optional<GaugePlacement> parse_gauge(std::string_view value, std::string& why) {
    auto parts = split(value, ',');
    if (parts.size() != 3 && parts.size() != 5) {
        why = "expected module!gauge, x, y[, w, h]";
        return std::nullopt;
    }
    auto bang = parts[0].find('!');
    if (bang == std::string_view::npos || bang == 0 || bang + 1 == parts[0].size()) {
        why = "expected module!gauge before the position";
        return std::nullopt;
    }
    GaugePlacement g;
    g.module = std::string(trim(parts[0].substr(0, bang)));
    g.gauge = std::string(trim(parts[0].substr(bang + 1)));
    auto x = parse_int(parts[1]);
    auto y = parse_int(parts[2]);
    if (!x || !y) {
        why = "bad gauge position";
        return std::nullopt;
    }
    g.x = *x;
    g.y = *y;
    if (parts.size() == 5) {
        auto w = parse_int(parts[3]);
        auto h = parse_int(parts[4]);
        if (!w || !h || *w <= 0 || *h <= 0) {
            why = "bad gauge size";
            return std::nullopt;
        }
        g.width = *w;
        g.height = *h;
    }
    return g;
}

}  // namespace

plat::Result<PanelConfig> parse_panel_config(const std::string& text, const std::string& path) {
    PanelConfig config;
    config.path = path;
    WindowConfig* window = nullptr;
    bool in_titles = false;
    std::vector<std::pair<int, std::string>> titles;  // the section may come before its windows
    int number = 0;
    for (std::string_view rest = text; !rest.empty() || number == 0;) {
        ++number;
        auto nl = rest.find('\n');
        std::string_view line = trim(rest.substr(0, nl));
        rest = nl == std::string_view::npos ? std::string_view{} : rest.substr(nl + 1);
        if (line.empty() || line[0] == ';' || line[0] == '/' || line[0] == '#') {
            if (rest.empty()) break;
            continue;
        }
        if (line.front() == '[') {
            if (line.back() != ']') return fault(path, number, "unclosed section header");
            std::string_view name = line.substr(1, line.size() - 2);
            window = nullptr;
            in_titles = iequals(name, "window titles");
            // [WindowNN] holds a window; other sections ([Window Titles], [Views]...) are skipped.
            auto n = name.size() > 6 && iequals(name.substr(0, 6), "window") ? parse_int(name.substr(6))
                                                                            : std::nullopt;
            if (n) {
                for (const auto& w : config.windows)
                    if (w.number == *n) return fault(path, number, "window " + std::to_string(*n) + " declared twice");
                config.windows.push_back(WindowConfig{});
                window = &config.windows.back();
                window->number = *n;
                window->ident = *n;
            }
            if (rest.empty()) break;
            continue;
        }
        auto eq = line.find('=');
        if (eq == std::string_view::npos) return fault(path, number, "expected key=value");
        std::string_view key = trim(line.substr(0, eq));
        std::string_view value = trim(line.substr(eq + 1));
        if (in_titles && key.size() > 6 && iequals(key.substr(0, 6), "window"))
            if (auto n = parse_int(key.substr(6))) titles.emplace_back(*n, std::string(value));
        if (!window) {
            if (rest.empty()) break;
            continue;  // other sections ([Window Titles], [Views]...) are the simulator's business
        }
        if (iequals(key, "size")) {
            if (!parse_pair(value, window->width, window->height) || window->width <= 0 || window->height <= 0)
                return fault(path, number, "bad size, expected W,H");
        } else if (iequals(key, "position")) {
            if (!parse_pair(value, window->x, window->y)) return fault(path, number, "bad position, expected X,Y");
        } else if (iequals(key, "ident")) {
            auto n = parse_int(value);
            if (!n) return fault(path, number, "bad ident");
            window->ident = *n;
        } else if (iequals(key, "visible")) {
            auto n = parse_int(value);
            if (!n || (*n != 0 && *n != 1)) return fault(path, number, "visible must be 0 or 1");
            window->visible = *n == 1;
        } else if (iequals(key, "file")) {
            if (value.empty()) return fault(path, number, "file= names no bitmap");
            window->background = std::string(value);
            window->background_line = number;
        } else if (key.size() > 5 && iequals(key.substr(0, 5), "gauge")) {
            std::string why;
            auto g = parse_gauge(value, why);
            if (!g) return fault(path, number, why);
            g->line = number;
            window->gauges.push_back(*g);
        }
        if (rest.empty()) break;
    }
    for (const auto& [n, title] : titles)
        for (auto& w : config.windows)
            if (w.number == n) w.title = title;
    for (const auto& w : config.windows)
        if (w.width <= 0 || w.height <= 0)
            return fault(path, 0, "window " + std::to_string(w.number) + " has no size");
    return config;
}

plat::Result<PanelConfig> load_panel_config(const std::string& path) {
    auto text = read_text_file(path);
    if (!text) return plat::Error{path + ": cannot read the panel file"};
    return parse_panel_config(*text, path);
}

std::string background_path(const PanelConfig& config, const WindowConfig& window) {
    std::string name = window.background;
    std::replace(name.begin(), name.end(), '\\', '/');
    return (std::filesystem::path(config.path).parent_path() / name).string();
}

}  // namespace panelhost
