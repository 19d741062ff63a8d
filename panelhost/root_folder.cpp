#include "panelhost/root_folder.h"

#include <filesystem>

namespace panelhost {
namespace fs = std::filesystem;

plat::Result<bool> complete_root(const std::string& root) {
    std::error_code ec;
    for (const char* sub : {"Gauges", "NavData/FlightPlans", "Sound"}) {
        fs::create_directories(fs::path(root) / sub, ec);
        if (ec) return plat::Error{root + "/" + sub + ": " + ec.message()};
    }
    return true;
}

plat::Result<bool> prepare_root(const std::string& root, const std::string& data_dir, const std::string& module_dir) {
    std::error_code ec;
    fs::remove_all(root, ec);
    if (ec) return plat::Error{root + ": cannot clear the old root: " + ec.message()};
    fs::create_directories(root, ec);
    if (ec) return plat::Error{root + ": " + ec.message()};
    const fs::path tree = fs::path(data_dir) / "root";
    if (fs::is_directory(tree)) {
        fs::copy(tree, root, fs::copy_options::recursive | fs::copy_options::overwrite_existing, ec);
        if (ec) return plat::Error{tree.string() + ": cannot copy into " + root + ": " + ec.message()};
    }
    if (auto done = complete_root(root); !done) return done;
    if (fs::is_directory(module_dir)) {
        for (const auto& entry : fs::directory_iterator(module_dir, ec)) {
            if (entry.path().extension() != ".gau") continue;
            fs::copy_file(entry.path(), fs::path(root) / "Gauges" / entry.path().filename(),
                          fs::copy_options::overwrite_existing, ec);
            if (ec) return plat::Error{entry.path().string() + ": " + ec.message()};
        }
    }
    return true;
}

}  // namespace panelhost
