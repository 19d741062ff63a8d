#include "panelhost/navdata_source.h"

#include <filesystem>
#include <fstream>

#include "install/install_layout.h"
#include "navimport/navimport.h"
#include "platform/atomic_file.h"
#include "worlddata/world_files.h"

namespace panelhost {
namespace fs = std::filesystem;

namespace {

constexpr const char* kDatabaseFiles[] = {"idx.dat", "vor.dat", "ndb.dat", "apt.dat", "int.dat"};

std::string absolute(const std::string& path) {
    std::error_code ec;
    const fs::path p = fs::absolute(path, ec);
    return ec ? path : p.lexically_normal().string();
}

}  // namespace

bool is_database(const std::string& dir) {
    std::error_code ec;
    for (const char* name : kDatabaseFiles)
        if (!fs::is_regular_file(fs::path(dir) / name, ec)) return false;
    return true;
}

NavdataSource shipped_navdata() { return {install::navdb_dir(), install::world_data_dir(), true, {}}; }

plat::Result<NavdataSource> navdata_source(const std::string& given) {
    if (given == kShippedNavdata) return shipped_navdata();
    const std::string dir = absolute(given);
    NavdataSource source;
    source.shipped = false;
    if (is_database(dir)) {
        source.database = dir;
        // A database says where it came from; without that, plans other than the FMC's own cannot
        // be resolved over it.
        auto recorded = navimport::recorded_source(dir);
        if (!recorded) {
            source.note = recorded.error() + ": plans other than the FMC's own cannot be resolved over it";
        } else if (auto files = worlddata::find_world_files(*recorded); !files) {
            source.note = given + ": the database was imported from " + *recorded + ", which cannot be read now (" +
                          files.error() + "): plans other than the FMC's own cannot be resolved over it";
        } else {
            source.world = *recorded;
        }
        return source;
    }
    auto files = worlddata::find_world_files(dir);
    if (!files)
        return plat::Error{"--navdata " + given + ": not a navigation database (idx.dat, vor.dat, ndb.dat, apt.dat, " +
                           "int.dat) nor a source of world data: " + files.error()};
    source.world = dir;
    return source;
}

plat::Result<std::string> kept_navdata_choice(const std::string& state_file) {
    std::error_code ec;
    if (!fs::exists(state_file, ec)) return std::string(kShippedNavdata);
    std::ifstream in(state_file, std::ios::binary);
    std::string line;
    if (!in || !std::getline(in, line)) return plat::Error{state_file + ": cannot read"};
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) return plat::Error{state_file + ": names no navigation data"};
    return line;
}

plat::Result<bool> keep_navdata_choice(const std::string& state_file, const std::string& choice) {
    std::error_code ec;
    fs::create_directories(fs::path(state_file).parent_path(), ec);
    if (ec) return plat::Error{state_file + ": " + ec.message()};
    const std::string value = choice == kShippedNavdata ? choice : absolute(choice);
    return plat::replace_file_atomically(state_file, value + "\n");
}

}  // namespace panelhost
