#include "panelhost/module_log.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "panelhost/gauge_module.h"

namespace panelhost {
namespace fs = std::filesystem;

namespace {

bool same_bytes(const fs::path& a, const fs::path& b) {
    std::error_code ec;
    if (!fs::is_regular_file(a, ec) || !fs::is_regular_file(b, ec)) return false;
    if (fs::file_size(a, ec) != fs::file_size(b, ec) || ec) return false;
    std::ifstream fa(a, std::ios::binary), fb(b, std::ios::binary);
    return fa && fb &&
           std::equal(std::istreambuf_iterator<char>(fa), std::istreambuf_iterator<char>(),
                      std::istreambuf_iterator<char>(fb), std::istreambuf_iterator<char>());
}

}  // namespace

plat::Result<bool> write_module_log(const std::string& path, Panel& panel, const std::string& module_dir) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    if (!f) return plat::Error{path + ": cannot write"};
    std::set<const GaugeModule*> listed;
    for (const auto& g : panel.gauges()) {
        if (!g->module || !listed.insert(g->module).second) continue;
        const fs::path loaded = g->module->path();
        f << g->module->name() << ' ' << loaded.string();
        const fs::path installed = fs::path(module_dir) / loaded.filename();
        std::error_code ec;
        if (!fs::equivalent(loaded, installed, ec) && same_bytes(loaded, installed))
            f << " copy-of " << installed.string();
        f << '\n';
    }
    if (!f.flush()) return plat::Error{path + ": cannot write"};
    return true;
}

}  // namespace panelhost
