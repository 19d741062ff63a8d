#include "worlddata/world_data.h"

#include "worlddata/data_file.h"

namespace worlddata {

namespace {

// The file's text once its version is one the parser of its kind reads.
plat::Result<std::string> read_versioned(const std::string& path, FileKind kind, const LoadOptions& options,
                                         FileReport& report, int& version) {
    report.path = path;
    auto text = read_data_file(path, options.largest_file);
    if (!text) return plat::Error{text.error()};
    version = report.version = file_version(*text);
    report.version_line = std::string(version_line(*text));
    if (version == 0)
        return plat::Error{path + ": no version on its second line (a " + file_kind_name(kind) + " of version " +
                           known_versions(kind) + " is read)"};
    if (!known_version(kind, version))
        return plat::Error{path + ": version " + std::to_string(version) + " is not one this reader knows (" +
                           file_kind_name(kind) + " versions " + known_versions(kind) + ")"};
    return text;
}

}  // namespace

plat::Result<WorldData> load_world_data(const WorldFiles& files, const LoadOptions& options) {
    WorldData w;
    int version = 0;
    {
        auto text = read_versioned(files.nav, FileKind::nav, options, w.nav, version);
        if (!text) return plat::Error{text.error()};
        w.navaids = parse_nav(*text, version, &w.nav.stats);
    }
    {
        auto text = read_versioned(files.apt, FileKind::apt, options, w.apt, version);
        if (!text) return plat::Error{text.error()};
        w.airports = parse_apt(*text, &w.apt.stats);
    }
    if (!options.fixes_and_airways) return w;
    {
        auto text = read_versioned(files.fix, FileKind::fix, options, w.fix, version);
        if (!text) return plat::Error{text.error()};
        w.fixes = parse_fix(*text, version, &w.fix.stats);
    }
    if (!files.awy.empty()) {
        auto text = read_versioned(files.awy, FileKind::awy, options, w.awy, version);
        if (!text) return plat::Error{text.error()};
        w.airways = parse_awy(*text, version, &w.awy.stats);
        w.unplaced_segments = place_airways(w.airways, w.fixes, w.navaids);
    }
    return w;
}

plat::Result<WorldData> load_world_data(const std::string& dir, const LoadOptions& options) {
    auto files = find_world_files(dir);
    if (!files) return plat::Error{files.error()};
    return load_world_data(*files, options);
}

}  // namespace worlddata
