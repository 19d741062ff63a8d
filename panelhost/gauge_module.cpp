#include "panelhost/gauge_module.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace panelhost {

namespace {

namespace fs = std::filesystem;

bool is_file(const fs::path& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

}  // namespace

bool same_bytes(const std::string& a, const std::string& b) {
    std::error_code ec;
    if (!is_file(a) || !is_file(b)) return false;
    const auto size = fs::file_size(a, ec);
    if (ec || size != fs::file_size(b, ec) || ec) return false;
    std::ifstream fa(a, std::ios::binary), fb(b, std::ios::binary);
    return fa && fb &&
           std::equal(std::istreambuf_iterator<char>(fa), std::istreambuf_iterator<char>(),
                      std::istreambuf_iterator<char>(fb), std::istreambuf_iterator<char>());
}

plat::Result<GaugeModule> GaugeModule::load(const std::string& name, const std::string& own_folder,
                                            const std::vector<std::string>& folders,
                                            gauge::PanelServices* services) {
    const std::string file = name + ".gau";
    const std::string own = own_folder.empty() ? std::string() : (fs::path(own_folder) / file).string();
    std::string path;
    for (const auto& folder : folders) {
        const fs::path candidate = fs::path(folder) / file;
        if (is_file(candidate)) {
            path = candidate.string();
            break;
        }
    }
    if (!own.empty() && is_file(own) && (path.empty() || !same_bytes(own, path))) path = own;
    if (path.empty()) return plat::Error{"module " + name + ": " + file + " not found"};
    auto loaded = plat::LoadedModule::load(path, own);
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
