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
    // Loads "<name>.gau". The module is known as "<own_folder>/<name>.gau" (the simulator folder's
    // Gauges/), where it keeps what it writes beside itself; its code is loaded from there only when
    // that file is the user's own, unlike the one of the same name in `folders` (the installed
    // modules, then others), else from the first of `folders` that has it. So a simulator folder
    // needs no copies of the installed modules, and works on a file system that runs no code.
    static plat::Result<GaugeModule> load(const std::string& name, const std::string& own_folder,
                                          const std::vector<std::string>& folders, gauge::PanelServices* services);

    const std::string& name() const { return name_; }
    const std::string& path() const { return module_.path(); }
    const std::string& known_as() const { return module_.known_as(); }
    plat::ModuleHandle handle() const { return module_.handle(); }
    // The gauge of that name, or null.
    gauge::GaugeHeader* find_gauge(const std::string& gauge_name) const;
    std::vector<std::string> gauge_names() const;

private:
    std::string name_;
    plat::LoadedModule module_;
    gauge::LinkageRecord* linkage_ = nullptr;
};

// Whether the two files hold the same bytes (false when either cannot be read).
bool same_bytes(const std::string& a, const std::string& b);

}  // namespace panelhost
