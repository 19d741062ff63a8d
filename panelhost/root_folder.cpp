#include "panelhost/root_folder.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "navimport/navimport.h"
#include "panelhost/plan_import.h"
#include "platform/atomic_file.h"
#include "platform/file_copy.h"
#include "platform/file_error.h"
#include "worlddata/world_files.h"

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
            if (auto copied = plat::copy_file(entry.path().string(), target.string()); !copied) return copied;
        }
    }
    return true;
}

constexpr const char* kNavdataFiles[] = {"idx.dat", "vor.dat", "ndb.dat", "apt.dat", "int.dat"};

// Whether root's NavData was imported from `world` after each of the source's files last changed.
bool imported_already(const fs::path& navdata, const std::string& world) {
    auto recorded = navimport::recorded_source(navdata.string());
    if (!recorded || *recorded != world || !is_database(navdata)) return false;
    auto files = worlddata::find_world_files(world);
    if (!files) return false;
    std::error_code ec;
    const auto imported = fs::last_write_time(navdata / "idx.dat", ec);
    if (ec) return false;
    for (const std::string* f : {&files->nav, &files->fix, &files->awy, &files->apt}) {
        if (f->empty()) continue;
        const auto changed = fs::last_write_time(*f, ec);
        if (ec || changed >= imported) return false;
    }
    return true;
}

plat::Result<std::string> read_file(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return plat::Error{path.string() + ": cannot read"};
    std::string contents(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>{});
    if (in.bad()) return plat::Error{path.string() + ": cannot read"};
    return contents;
}

// Replaces target by source when they differ; a running panel keeps the file it mapped.
plat::Result<bool> bring_up_to_date(const fs::path& source, const fs::path& target) {
    auto wanted = read_file(source);
    if (!wanted) return plat::Error{wanted.error()};
    std::error_code ec;
    if (fs::is_regular_file(target, ec)) {
        auto present = read_file(target);
        if (present && *present == *wanted) return true;
    }
    return plat::replace_file_atomically(target.string(), *wanted);
}

// Copies the files of the template that root lacks, apart from flight plans: a plan the user
// deleted stays deleted.
plat::Result<bool> add_missing(const fs::path& from, const fs::path& to) {
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(from, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec)) {
        const fs::path relative = it->path().lexically_relative(from);
        if (relative == fs::path("NavData") / "FlightPlans") it.disable_recursion_pending();
        if (it->is_directory() || relative.filename() == ".keep") continue;
        const fs::path target = to / relative;
        if (fs::exists(target, ec)) continue;
        fs::create_directories(target.parent_path(), ec);
        if (auto copied = plat::copy_file(it->path().string(), target.string()); !copied) return copied;
    }
    if (ec) return plat::Error{from.string() + ": " + ec.message()};
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

namespace {

// Fills a folder that is new or was just emptied: the template tree and the folders every root
// has. The modules are not copied: they run from where they are installed (GaugeModule::load).
plat::Result<bool> fill_root(const std::string& root, const std::string& data_dir) {
    std::error_code ec;
    fs::create_directories(root, ec);
    if (ec) return plat::Error{root + ": " + ec.message()};
    if (auto marked = plat::replace_file_atomically((fs::path(root) / kRootMark).string(), kRootMarkText); !marked)
        return marked;
    const fs::path tree = fs::path(data_dir) / "root";
    if (fs::is_directory(tree)) {
        if (auto copied = copy_tree_sorted(tree, root); !copied) return copied;
    }
    return complete_root(root);
}

}  // namespace

plat::Result<bool> prepare_root(const std::string& root, const std::string& data_dir) {
    std::error_code ec;
    const fs::path folder(root);
    if (fs::exists(fs::symlink_status(folder, ec))) {
        const bool ours = fs::is_regular_file(folder / kRootMark, ec);
        const bool empty = fs::is_directory(fs::symlink_status(folder, ec)) && fs::is_empty(folder, ec) && !ec;
        if (!ours && !empty)
            return plat::Error{root + ": already exists and was not made by a run; it is left as it is (move it "
                                      "away, or give another --out)"};
        fs::remove_all(folder, ec);
        if (ec) return plat::Error{root + ": cannot clear the root of the last run: " + ec.message()};
    }
    return fill_root(root, data_dir);
}

plat::Result<std::string> keep_only_plan(const std::string& root, const std::string& plan,
                                         const std::string& data_dir, const std::string& world_dir) {
    // The plan first, so that a plan that cannot be read leaves the others.
    auto added = add_plan(root, plan, data_dir, world_dir);
    if (!added) return plat::Error{added.error()};
    std::error_code ec;
    const fs::path plans = fs::path(root) / "NavData" / "FlightPlans";
    for (const auto& entry : fs::directory_iterator(plans, ec))
        if (entry.path().extension() == ".pln" && entry.path().filename() != *added) fs::remove(entry.path(), ec);
    return added;
}

plat::Result<std::string> add_plan(const std::string& root, const std::string& plan, const std::string& data_dir,
                                   const std::string& world_dir) {
    std::error_code ec;
    fs::path source = plan;
    if (!fs::is_regular_file(source, ec)) source = fs::path(data_dir) / "root" / "NavData" / "FlightPlans" / plan;
    if (!fs::is_regular_file(source, ec)) return plat::Error{plan + ": no such flight plan"};
    auto imported = import_plan(source.string(), world_dir);
    if (!imported) return plat::Error{imported.error()};
    const fs::path plans = fs::path(root) / "NavData" / "FlightPlans";
    std::ofstream out(plans / imported->name, std::ios::binary);
    out << imported->text;
    if (!out) return plat::cannot_write((plans / imported->name).string());
    return imported->name;
}

plat::Result<bool> prepare_kept_root(const std::string& root, const std::string& data_dir,
                                     const std::string& module_dir) {
    std::error_code ec;
    if (!fs::exists(root, ec)) {
        // The folder beside it is only ever a first use's that was cut short.
        const std::string making = root + ".new";
        fs::remove_all(making, ec);
        if (ec) return plat::Error{making + ": cannot clear: " + ec.message()};
        if (auto made = fill_root(making, data_dir); !made) return made;
        fs::rename(making, root, ec);
        if (ec) return plat::Error{root + ": " + ec.message()};
        return true;
    }
    if (!fs::is_directory(root, ec)) return plat::Error{root + ": not a folder"};
    if (auto done = complete_root(root); !done) return done;
    if (const fs::path tree = fs::path(data_dir) / "root"; fs::is_directory(tree, ec))
        if (auto added = add_missing(tree, root); !added) return added;
    // Roots made before the modules ran from where they are installed hold copies of them; a copy
    // of an older install would be taken for the user's own module, so copies stay up to date.
    for (const auto& entry : fs::directory_iterator(module_dir, ec)) {
        if (entry.path().extension() != ".gau") continue;
        const fs::path copy = fs::path(root) / "Gauges" / entry.path().filename();
        if (!fs::exists(copy, ec)) continue;
        if (auto r = bring_up_to_date(entry.path(), copy); !r) return r;
    }
    return true;
}

plat::Result<bool> install_navdata(const std::string& root, const NavdataSource& source) {
    const fs::path navdata = fs::path(root) / "NavData";
    const fs::path record = navdata / navimport::kSourceRecord;
    std::error_code ec;
    if (source.database.empty()) {
        if (imported_already(navdata, source.world)) return true;
        navimport::Options options;
        options.source = source.world;
        options.out = navdata.string();
        options.quiet = true;
        const navimport::Report report = navimport::run_import(options);
        if (!report.error.empty()) return plat::Error{report.error};
        return true;
    }
    for (const char* name : kNavdataFiles) {
        const fs::path file = fs::path(source.database) / name;
        if (!fs::is_regular_file(file, ec)) continue;
        if (auto r = bring_up_to_date(file, navdata / name); !r) return r;
    }
    // The record of where the files came from goes with them, so that a later import of that source
    // knows whether it is needed.
    if (!source.shipped && fs::is_regular_file(fs::path(source.database) / navimport::kSourceRecord, ec))
        return bring_up_to_date(fs::path(source.database) / navimport::kSourceRecord, record);
    fs::remove(record, ec);
    return true;
}

}  // namespace panelhost
