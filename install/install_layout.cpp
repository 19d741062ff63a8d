#include "install/install_layout.h"

#include <cstdlib>
#include <filesystem>

namespace install {
namespace fs = std::filesystem;

namespace {

std::string from_env_or_prefix(const char* variable, const char* relative) {
    if (const char* env = std::getenv(variable); env && *env) return env;
    return (fs::path(program_prefix()) / relative).string();
}

bool absolute_folder(const char* value) { return value && *value && fs::path(value).is_absolute(); }

}  // namespace

std::string program_prefix() {
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    if (ec || self.empty()) return {};
    return self.parent_path().parent_path().string();
}

std::string data_dir() { return from_env_or_prefix("PANEL_DATA_DIR", PANEL_REL_DATA_DIR); }
std::string module_dir() { return from_env_or_prefix("PANEL_MODULE_DIR", PANEL_REL_MODULE_DIR); }
std::string navdb_dir() { return from_env_or_prefix("PANEL_NAVDATA_DIR", PANEL_REL_NAVDB_DIR); }
std::string world_data_dir() { return (fs::path(data_dir()) / "navdata").string(); }

plat::Result<std::string> user_data_dir() {
    // The XDG rules ignore a relative value, as if it were not set.
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); absolute_folder(xdg))
        return (fs::path(xdg) / "cockpit-panel").string();
    if (const char* home = std::getenv("HOME"); absolute_folder(home))
        return (fs::path(home) / ".local" / "share" / "cockpit-panel").string();
    return plat::Error{"no folder for the panel's own files: neither XDG_DATA_HOME nor HOME is set"};
}

}  // namespace install
