#include "platform/window_registry.h"

#include <map>
#include <mutex>

namespace plat {
namespace {

struct WindowEntry {
    std::string class_name;
    std::string title;
};

struct Windows {
    std::mutex mutex;
    std::map<WindowId, WindowEntry> entries;
};

Windows& windows() {
    static Windows instance;
    return instance;
}

}  // namespace

void register_window(WindowId id, std::string_view class_name, std::string_view title) {
    if (id == 0) return;
    Windows& w = windows();
    std::lock_guard lock(w.mutex);
    w.entries.insert_or_assign(id, WindowEntry{std::string(class_name), std::string(title)});
}

void unregister_window(WindowId id) {
    Windows& w = windows();
    std::lock_guard lock(w.mutex);
    w.entries.erase(id);
}

WindowId find_window(std::string_view class_name, std::string_view title) {
    Windows& w = windows();
    std::lock_guard lock(w.mutex);
    for (const auto& [id, e] : w.entries)
        if ((class_name.empty() || e.class_name == class_name) && (title.empty() || e.title == title)) return id;
    return 0;
}

std::optional<std::string> window_title(WindowId id) {
    Windows& w = windows();
    std::lock_guard lock(w.mutex);
    auto it = w.entries.find(id);
    if (it == w.entries.end()) return std::nullopt;
    return it->second.title;
}

}  // namespace plat
