#include "panelhost/root_folder.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "panelhost/plan_import.h"

namespace panelhost {
namespace fs = std::filesystem;

namespace {

// Copies a tree creating each folder's entries in name order. Modules list folders in directory
// order (the flight plan list), and a small fresh folder lists in the order it was filled, so
// every run, on every machine, sees the same order.
plat::Result<bool> copy_tree_sorted(const fs::path& from, const fs::path& to) {
    std::error_code ec;
    std::vector<fs::directory_entry> entries;
    for (const auto& entry : fs::directory_iterator(from, ec)) entries.push_back(entry);
    if (ec) return plat::Error{from.string() + ": " + ec.message()};
    std::sort(entries.begin(), entries.end(),
              [](const auto& a, const auto& b) { return a.path().filename() < b.path().filename(); });
    fs::create_directories(to, ec);
    if (ec) return plat::Error{to.string() + ": " + ec.message()};
    for (const auto& entry : entries) {
        const fs::path target = to / entry.path().filename();
        if (entry.is_directory()) {
            if (auto copied = copy_tree_sorted(entry.path(), target); !copied) return copied;
        } else if (entry.path().filename() != ".keep") {
            fs::copy_file(entry.path(), target, fs::copy_options::overwrite_existing, ec);
            if (ec) return plat::Error{entry.path().string() + ": " + ec.message()};
        }
    }
    return true;
}

}  // namespace

plat::Result<bool> complete_root(const std::string& root) {
    std::error_code ec;
    for (const char* sub : {"Gauges", "NavData/FlightPlans", "Sound"}) {
        fs::create_directories(fs::path(root) / sub, ec);
        if (ec) return plat::Error{root + "/" + sub + ": " + ec.message()};
    }
    return true;
}

plat::Result<bool> prepare_root(const std::string& root, const std::string& data_dir, const std::string& module_dir,
                                const std::string& navdata_dir) {
    std::error_code ec;
    fs::remove_all(root, ec);
    if (ec) return plat::Error{root + ": cannot clear the old root: " + ec.message()};
    fs::create_directories(root, ec);
    if (ec) return plat::Error{root + ": " + ec.message()};
    const fs::path tree = fs::path(data_dir) / "root";
    if (fs::is_directory(tree)) {
        if (auto copied = copy_tree_sorted(tree, root); !copied) return copied;
    }
    if (auto done = complete_root(root); !done) return done;
    for (const char* name : {"idx.dat", "vor.dat", "ndb.dat", "apt.dat", "int.dat"}) {
        const fs::path source = fs::path(navdata_dir) / name;
        if (!fs::is_regular_file(source)) continue;
        fs::copy_file(source, fs::path(root) / "NavData" / name, fs::copy_options::overwrite_existing, ec);
        if (ec) return plat::Error{source.string() + ": " + ec.message()};
    }
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

plat::Result<bool> keep_only_plan(const std::string& root, const std::string& plan, const std::string& data_dir) {
    std::error_code ec;
    fs::path source = plan;
    if (!fs::is_regular_file(source, ec)) source = fs::path(data_dir) / "root" / "NavData" / "FlightPlans" / plan;
    if (!fs::is_regular_file(source, ec)) return plat::Error{plan + ": no such flight plan"};
    auto imported = import_plan(source.string(), (fs::path(data_dir) / "navdata").string());
    if (!imported) return plat::Error{imported.error()};
    const fs::path plans = fs::path(root) / "NavData" / "FlightPlans";
    for (const auto& entry : fs::directory_iterator(plans, ec))
        if (entry.path().extension() == ".pln") fs::remove(entry.path(), ec);
    std::ofstream out(plans / imported->name, std::ios::binary);
    out << imported->text;
    if (!out) return plat::Error{(plans / imported->name).string() + ": cannot write"};
    return true;
}

}  // namespace panelhost
