#pragma once
// A gauge module loaded from its .gau file: its Linkage checked, its ImportTable filled.

#include <string>
#include <vector>

#include "host/records.h"
#include "host/services.h"
#include "platform/module.h"
#include "platform/result.h"

namespace panelhost {

class GaugeModule {
public:
    // Loads "<name>.gau" from the first folder that has it.
    static plat::Result<GaugeModule> load(const std::string& name, const std::vector<std::string>& folders,
                                          gauge::PanelServices* services);

    const std::string& name() const { return name_; }
    const std::string& path() const { return module_.path(); }
    plat::ModuleHandle handle() const { return module_.handle(); }
    // The gauge of that name, or null.
    gauge::GaugeHeader* find_gauge(const std::string& gauge_name) const;
    std::vector<std::string> gauge_names() const;

private:
    std::string name_;
    plat::LoadedModule module_;
    gauge::LinkageRecord* linkage_ = nullptr;
};

}  // namespace panelhost
