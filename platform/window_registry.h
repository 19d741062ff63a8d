#pragma once
// Top-level windows as the host announces them, so a module can find the simulator's main window
// by class and title the way it would on the desktop.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace plat {

using WindowId = std::uint32_t;  // 0 is no window

// The host registers its windows; the id is any non-zero number it chooses.
void register_window(WindowId id, std::string_view class_name, std::string_view title);
void unregister_window(WindowId id);
// Either criterion may be empty to match any window; returns 0 when none matches.
WindowId find_window(std::string_view class_name, std::string_view title);
std::optional<std::string> window_title(WindowId id);

}  // namespace plat
