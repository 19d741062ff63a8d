// The flight display's two configuration files: the simulator's own configuration for the FD
// shortcut key, and the per-aircraft speed-limit file next to the module.

#include <cctype>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <string_view>

#include "flightdisplay/pfd_state.h"
#include "platform/atomic_file.h"

namespace pfd {
namespace {

constexpr std::string_view kShortcutKey = "PANEL_8=";
constexpr const char* kHostConfigs[] = {"Fltsim98.cfg", "Fs2000.cfg"};
constexpr std::size_t kLimitKeyLength = 17;

constexpr const char* kMinimumKeys[9] = {
    "StallSpeedFlap40=", "StallSpeedFlap30=", "StallSpeedFlap25=", "StallSpeedFlap15=", "StallSpeedFlap10=",
    "StallSpeedFlap05=", "StallSpeedFlap02=", "StallSpeedFlap01=", "StallSpeedFlap00=",
};
constexpr const char* kMaximumKeys[8] = {
    "Maxi_SpeedFlap40=", "Maxi_SpeedFlap30=", "Maxi_SpeedFlap25=", "Maxi_SpeedFlap15=",
    "Maxi_SpeedFlap10=", "Maxi_SpeedFlap05=", "Maxi_SpeedFlap02=", "Maxi_SpeedFlap01=",
};
constexpr const char* kDecisionHeightKey = "Decision_Height =";

// A decimal number as atoi reads it: blanks, a sign, digits; nothing readable gives 0.
int decimal_at(std::string_view line, std::size_t from) {
    std::size_t i = from;
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    bool negative = false;
    if (i < line.size() && (line[i] == '-' || line[i] == '+')) negative = line[i++] == '-';
    long value = 0;
    for (; i < line.size() && std::isdigit(static_cast<unsigned char>(line[i])); ++i) {
        value = value * 10 + (line[i] - '0');
        if (value > 1000000000L) break;
    }
    return static_cast<int>(negative ? -value : value);
}

// Lines up to each newline, without a carriage return, blank ones left out.
template <typename F>
void for_each_line(std::ifstream& in, F&& take) {
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        if (!take(std::string_view(line))) return;
    }
}

bool apply_limit_line(std::string_view line, SpeedLimits& limits) {
    if (line.size() < kLimitKeyLength) return false;
    const std::string_view key = line.substr(0, kLimitKeyLength);
    for (std::size_t i = 0; i < 9; ++i)
        if (key == kMinimumKeys[i]) return limits.minimum[i] = decimal_at(line, kLimitKeyLength), true;
    for (std::size_t i = 0; i < 8; ++i)
        if (key == kMaximumKeys[i]) return limits.maximum[i] = decimal_at(line, kLimitKeyLength), true;
    if (key == kDecisionHeightKey) return limits.decision_height = decimal_at(line, kLimitKeyLength), true;
    return false;
}

std::string config_name_of(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return name.size() >= 4 ? name.substr(0, name.size() - 4) : std::string();
}

// Created atomically (platform/atomic_file.h): a start killed while writing it would otherwise
// leave a file cut short (a number cut to its first digits), which every later start reads as it
// stands and never writes again.
bool write_speed_limits(const std::string& path, const SpeedLimits& limits) {
    // Formatted with snprintf rather than std::to_string, whose digit table gcc makes a unique
    // symbol: a module holding one can never be unloaded, and a reload would keep its state.
    std::string text = "// Config file for " + config_name_of(path) + "\n";
    text += "// WARNING : Modify only numbers !\n\n";
    char line[64];
    for (std::size_t i = 0; i < 9; ++i) {
        std::snprintf(line, sizeof line, "%s%d\n", kMinimumKeys[i], limits.minimum[i]);
        text += line;
    }
    text += "\n";
    for (std::size_t i = 0; i < 8; ++i) {
        std::snprintf(line, sizeof line, "%s%d\n", kMaximumKeys[i], limits.maximum[i]);
        text += line;
    }
    std::snprintf(line, sizeof line, "\n%s%d\n\n", kDecisionHeightKey, limits.decision_height);
    text += line;
    return plat::replace_file_atomically(path, text).ok();
}

}  // namespace

ShortcutKey read_shortcut_key() {
    ShortcutKey key;
    for (const char* name : kHostConfigs) {
        std::ifstream in(name, std::ios::binary);
        if (!in) continue;
        for_each_line(in, [&](std::string_view line) {
            if (line.substr(0, kShortcutKey.size()) != kShortcutKey) return true;
            key.key = decimal_at(line, kShortcutKey.size());
            const std::size_t comma = line.find(',', kShortcutKey.size());
            // A line without modifiers asks for the bare key.
            key.mask = comma == std::string_view::npos ? 0 : decimal_at(line, comma + 1);
            return false;
        });
        return key;
    }
    return key;
}

std::string speed_limit_file_path(const std::string& module_path) {
    if (module_path.size() < 3) return {};
    return module_path.substr(0, module_path.size() - 3) + "cfg";
}

SpeedLimits read_or_create_speed_limits(const std::string& path, const SpeedLimits& defaults) {
    SpeedLimits limits = defaults;
    if (path.empty()) return limits;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        write_speed_limits(path, limits);
        return limits;
    }
    for_each_line(in, [&](std::string_view line) {
        apply_limit_line(line, limits);
        return true;
    });
    return limits;
}

}  // namespace pfd
