// The import run: reads every source, limits what the fixed columns cannot hold, writes the files.

#include "tools/navimport/navimport.h"

#include "tools/navimport/import_state.h"
#include "worlddata/data_file.h"
#include "worlddata/xplane.h"

namespace navimport {

// The record number field holds five digits.
constexpr std::size_t kRecordsPerFile = 100000;
// A whole world's apt.dat unpacks to some hundred megabytes; the import reads it at once.
constexpr std::size_t kLargestSource = std::size_t{1} << 31;

namespace {

void limit_file(Import& im, std::size_t size, const char* what) {
    if (size > kRecordsPerFile) im.error = std::string("more ") + what + " than a record number can count";
}

// Reads one source through the world data's reader and parses it; the rows it could not read are
// counted by the file's name, with the line of the first. Nothing after an error.
template <typename Parse>
auto read_source(Import& im, const std::string& path, const char* name, Parse parse, worlddata::ParseStats& stats,
                 std::string* version = nullptr) -> decltype(parse(std::string_view{}, nullptr)) {
    if (!im.error.empty()) return {};
    auto text = worlddata::read_data_file(path, kLargestSource);
    if (!text) {
        im.error = text.error();
        return {};
    }
    auto rows = parse(*text, &stats);
    if (version) *version = std::string(worlddata::version_line(*text));
    im.skip(std::string(name) + " rows that do not parse (the first at line " +
                std::to_string(stats.first_skipped_line) + ")",
            stats.skipped);
    return rows;
}

}  // namespace

Report run_import(const Options& options) {
    Report report;
    Import im;
    auto source = [&](const char* name) { return worlddata::find_data_file(options.source, name); };
    const std::string nav = source("nav.dat"), fix = source("fix.dat"), apt = source("apt.dat"), awy = source("awy.dat");
    if (nav.empty() || fix.empty() || apt.empty()) {
        report.error = options.source + ": nav.dat, fix.dat and apt.dat (or .gz) are needed";
        return report;
    }
    worlddata::ParseStats nav_stats, awy_stats, fix_stats, apt_stats;
    take_navaids(im, read_source(im, nav, "nav.dat", worlddata::parse_nav, nav_stats, &im.nav_version));
    im.skip("nav.dat rows of other codes", nav_stats.left_out);
    if (!awy.empty()) take_airway_points(im, read_source(im, awy, "awy.dat", worlddata::parse_awy, awy_stats));
    take_fixes(im, read_source(im, fix, "fix.dat", worlddata::parse_fix, fix_stats, &im.fix_version));
    take_airports(im, read_source(im, apt, "apt.dat", worlddata::parse_apt, apt_stats, &im.apt_version));
    im.skip("runways of seaplane bases and heliports", apt_stats.left_out);
    limit_fixes(im, kRecordsPerFile);
    limit_file(im, im.vor.size(), "VOR, ILS and DME stations");
    limit_file(im, im.ndb.size(), "NDBs");
    limit_file(im, im.apt.size(), "runways");
    if (im.error.empty()) write_navdata(im, options.out);
    report.error = im.error;
    report.vor = im.vor.size();
    report.ndb = im.ndb.size();
    report.apt = im.apt.size();
    report.intx = im.intx.size();
    report.idx = report.vor + report.ndb + report.apt + report.intx;
    for (const auto& [why, n] : im.skipped) report.skipped.push_back(std::to_string(n) + " " + why);
    return report;
}

}  // namespace navimport
