#include "panelhost/gauge_module.h"

#include <filesystem>

namespace panelhost {

plat::Result<GaugeModule> GaugeModule::load(const std::string& name, const std::vector<std::string>& folders,
                                            gauge::PanelServices* services) {
    std::string path;
    for (const auto& folder : folders) {
        std::filesystem::path candidate = std::filesystem::path(folder) / (name + ".gau");
        std::error_code ec;
        if (std::filesystem::is_regular_file(candidate, ec)) {
            path = candidate.string();
            break;
        }
    }
    if (path.empty()) return plat::Error{"module " + name + ": " + name + ".gau not found"};
    auto loaded = plat::LoadedModule::load(path);
    if (!loaded) return plat::Error{"module " + name + ": " + loaded.error()};

    auto* linkage = static_cast<gauge::LinkageRecord*>(loaded->symbol("Linkage"));
    auto* imports = static_cast<gauge::ImportTableRecord*>(loaded->symbol("ImportTable"));
    if (!linkage) return plat::Error{"module " + name + ": no Linkage export"};
    if (!imports) return plat::Error{"module " + name + ": no ImportTable export"};
    if (linkage->module_id != gauge::kLinkageModuleId)
        return plat::Error{"module " + name + ": Linkage has module id " + std::to_string(linkage->module_id) +
                           ", expected 19"};
    if (!linkage->gauges[0]) return plat::Error{"module " + name + ": Linkage lists no gauge"};
    if (imports->panels.id != gauge::kPanelsImportId)
        return plat::Error{"module " + name + ": ImportTable does not ask for the panel services"};
    for (gauge::GaugeHeader* g : linkage->gauges) {
        if (!g) break;
        int v = g->version;
        if (v != 610 && v != 700)
            return plat::Error{"module " + name + ": gauge header version " + std::to_string(v) + " is not supported"};
        if (!g->name || !g->first_element)
            return plat::Error{"module " + name + ": gauge header without name or elements"};
    }
    imports->panels.table = services;

    GaugeModule m;
    m.name_ = name;
    m.module_ = std::move(loaded).value();
    m.linkage_ = linkage;
    return m;
}

gauge::GaugeHeader* GaugeModule::find_gauge(const std::string& gauge_name) const {
    if (!linkage_) return nullptr;
    for (gauge::GaugeHeader* g : linkage_->gauges)
        if (g && gauge_name == g->name) return g;
    return nullptr;
}

std::vector<std::string> GaugeModule::gauge_names() const {
    std::vector<std::string> names;
    if (linkage_)
        for (gauge::GaugeHeader* g : linkage_->gauges)
            if (g) names.emplace_back(g->name);
    return names;
}

}  // namespace panelhost
