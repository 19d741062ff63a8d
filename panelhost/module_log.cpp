#include "panelhost/module_log.h"

#include <fstream>
#include <set>

#include "panelhost/gauge_module.h"
#include "platform/file_error.h"

namespace panelhost {

plat::Result<bool> write_module_log(const std::string& path, Panel& panel) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    if (!f) return plat::cannot_write(path);
    std::set<const GaugeModule*> listed;
    for (const auto& g : panel.gauges()) {
        if (!g->module || !listed.insert(g->module).second) continue;
        f << g->module->name() << ' ' << g->module->path();
        if (g->module->known_as() != g->module->path()) f << " as " << g->module->known_as();
        f << '\n';
    }
    if (!f.flush()) return plat::cannot_write(path);
    return true;
}

}  // namespace panelhost
