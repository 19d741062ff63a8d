#include "worlddata/world_files.h"

#include <filesystem>
#include <vector>

#include "worlddata/data_file.h"

namespace worlddata {

namespace fs = std::filesystem;

namespace {

constexpr const char* kCustomData = "Custom Data";
constexpr const char* kDefaultData = "Resources/default data";
constexpr const char* kApt12 = "Global Scenery/Global Airports/Earth nav data";
constexpr const char* kApt11 = "Resources/default scenery/default apt dat/Earth nav data";

bool is_folder(const fs::path& p) {
    std::error_code ec;
    return fs::is_directory(p, ec);
}

bool is_file(const fs::path& p) {
    std::error_code ec;
    return fs::is_regular_file(p, ec);
}

std::string join(const std::vector<std::string>& items) {
    std::string out;
    for (std::size_t i = 0; i < items.size(); ++i)
        out += (i == 0 ? "" : i + 1 == items.size() ? " and " : ", ") + items[i];
    return out;
}

plat::Result<WorldFiles> world_folder(const std::string& dir) {
    WorldFiles w;
    w.layout = SourceLayout::world_folder;
    w.nav = find_data_file(dir, "nav.dat");
    w.fix = find_data_file(dir, "fix.dat");
    w.apt = find_data_file(dir, "apt.dat");
    w.awy = find_data_file(dir, "awy.dat");
    std::vector<std::string> missing;
    if (w.apt.empty()) missing.push_back("apt.dat");
    if (w.nav.empty()) missing.push_back("nav.dat");
    if (w.fix.empty()) missing.push_back("fix.dat");
    if (!missing.empty()) return plat::Error{dir + ": a world data folder needs " + join(missing) + " (or .gz)"};
    return w;
}

plat::Result<WorldFiles> xplane_folder(const std::string& dir) {
    const fs::path root(dir);
    WorldFiles w;
    w.layout = SourceLayout::xplane;
    const fs::path custom = root / kCustomData;
    const bool current = is_file(custom / "earth_nav.dat") && is_file(custom / "earth_fix.dat") &&
                         is_file(custom / "earth_awy.dat");
    const fs::path nav_folder = current ? custom : root / kDefaultData;
    std::vector<std::string> missing;
    for (auto [name, path] :
         {std::pair{"earth_nav.dat", &w.nav}, {"earth_fix.dat", &w.fix}, {"earth_awy.dat", &w.awy}}) {
        if (is_file(nav_folder / name)) *path = (nav_folder / name).string();
        else missing.push_back(std::string(kDefaultData) + "/" + name);
    }
    if (is_file(root / kApt12 / "apt.dat")) w.apt = (root / kApt12 / "apt.dat").string();
    else if (is_file(root / kApt11 / "apt.dat")) w.apt = (root / kApt11 / "apt.dat").string();
    else missing.push_back(std::string(kApt12) + "/apt.dat (X-Plane 12) or " + kApt11 + "/apt.dat (X-Plane 11)");
    if (!missing.empty())
        return plat::Error{dir + ": an X-Plane folder needs " + join(missing) + " (or all of earth_nav.dat, " +
                           "earth_fix.dat and earth_awy.dat in " + kCustomData + "/)"};
    return w;
}

plat::Result<WorldFiles> flightgear_folder(const std::string& dir) {
    const fs::path root(dir);
    WorldFiles w;
    w.layout = SourceLayout::flightgear;
    w.nav = find_data_file((root / "Navaids").string(), "nav.dat");
    w.fix = find_data_file((root / "Navaids").string(), "fix.dat");
    w.awy = find_data_file((root / "Navaids").string(), "awy.dat");
    w.apt = find_data_file((root / "Airports").string(), "apt.dat");
    std::vector<std::string> missing;
    if (w.nav.empty()) missing.push_back("Navaids/nav.dat.gz");
    if (w.fix.empty()) missing.push_back("Navaids/fix.dat.gz");
    if (w.apt.empty()) missing.push_back("Airports/apt.dat.gz");
    if (!missing.empty()) return plat::Error{dir + ": a FlightGear data folder needs " + join(missing)};
    return w;
}

}  // namespace

plat::Result<WorldFiles> find_world_files(const std::string& dir, SourceLayout layout) {
    if (!is_folder(dir)) return plat::Error{dir + ": no such folder"};
    const fs::path root(dir);
    if (layout == SourceLayout::any) {
        // A folder is taken for what it most plainly is: data files of its own first, then the
        // simulators' folders by the folders only they have.
        const bool own_files = !find_data_file(dir, "nav.dat").empty() || !find_data_file(dir, "apt.dat").empty() ||
                               !find_data_file(dir, "fix.dat").empty();
        if (own_files) layout = SourceLayout::world_folder;
        else if (is_folder(root / "Resources") || is_folder(root / kCustomData)) layout = SourceLayout::xplane;
        else if (is_folder(root / "Navaids") || is_folder(root / "Airports")) layout = SourceLayout::flightgear;
        else
            return plat::Error{dir + ": neither a world data folder (apt.dat, nav.dat, fix.dat, awy.dat), an X-Plane " +
                               "folder (Resources/default data/, Custom Data/) nor a FlightGear data folder " +
                               "(Navaids/, Airports/)"};
    }
    switch (layout) {
        case SourceLayout::xplane: return xplane_folder(dir);
        case SourceLayout::flightgear: return flightgear_folder(dir);
        default: break;
    }
    return world_folder(dir);
}

const char* layout_name(SourceLayout layout) {
    switch (layout) {
        case SourceLayout::xplane: return "X-Plane folder";
        case SourceLayout::flightgear: return "FlightGear data folder";
        default: break;
    }
    return "world data folder";
}

}  // namespace worlddata
