// The import run: reads the source through the world data's reader, limits what the fixed columns
// cannot hold, writes the files and the record of their source.

#include "navimport/navimport.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "navimport/import_state.h"
#include "platform/atomic_file.h"
#include "worlddata/world_data.h"

namespace navimport {

// The record number field holds five digits.
constexpr std::size_t kRecordsPerFile = 100000;

namespace {

void limit_file(Import& im, std::size_t size, const char* what) {
    if (size > kRecordsPerFile) im.error = std::string("more ") + what + " than a record number can count";
}

// The rows a file's parser could not read, counted by the file's name with the line of the first.
void count_skipped(Import& im, const worlddata::FileReport& file) {
    if (file.stats.skipped == 0) return;
    std::string name = std::filesystem::path(file.path).filename().string();
    if (name.ends_with(".gz")) name.resize(name.size() - 3);
    im.skip(name + " rows that do not parse (the first at line " + std::to_string(file.stats.first_skipped_line) + ")",
            file.stats.skipped);
}

}  // namespace

Report run_import(const Options& options) {
    Report report;
    Import im;
    auto files = worlddata::find_world_files(options.source, options.layout);
    if (!files) {
        report.error = files.error();
        return report;
    }
    auto data = worlddata::load_world_data(*files);
    if (!data) {
        report.error = data.error();
        return report;
    }
    for (const worlddata::FileReport* f : {&data->nav, &data->fix, &data->awy, &data->apt})
        if (!f->path.empty())
            report.read.push_back(f->path + ", version " + std::to_string(f->version));
    im.nav_version = data->nav.version_line;
    im.fix_version = data->fix.version_line;
    im.apt_version = data->apt.version_line;
    take_navaids(im, data->navaids);
    count_skipped(im, data->nav);
    im.skip("nav.dat rows of other codes", data->nav.stats.left_out);
    take_airway_points(im, data->airways);
    count_skipped(im, data->awy);
    im.skip("airway segments whose ends are in neither the fix nor the nav file", data->unplaced_segments);
    take_fixes(im, data->fixes);
    count_skipped(im, data->fix);
    take_airports(im, data->airports);
    count_skipped(im, data->apt);
    im.skip("runways of seaplane bases and heliports", data->apt.stats.left_out);
    limit_fixes(im, kRecordsPerFile);
    limit_file(im, im.vor.size(), "VOR, ILS and DME stations");
    limit_file(im, im.ndb.size(), "NDBs");
    limit_file(im, im.apt.size(), "runways");
    if (im.error.empty() && write_navdata(im, options.out)) {
        std::error_code ec;
        const std::string source = std::filesystem::absolute(options.source, ec).lexically_normal().string();
        const std::string record = (std::filesystem::path(options.out) / kSourceRecord).string();
        if (auto written = plat::replace_file_atomically(record, source + "\n"); !written) im.error = written.error();
    }
    report.error = im.error;
    report.vor = im.vor.size();
    report.ndb = im.ndb.size();
    report.apt = im.apt.size();
    report.intx = im.intx.size();
    report.idx = report.vor + report.ndb + report.apt + report.intx;
    for (const auto& [why, n] : im.skipped) report.skipped.push_back(std::to_string(n) + " " + why);
    return report;
}

plat::Result<std::string> recorded_source(const std::string& database) {
    const std::string path = (std::filesystem::path(database) / kSourceRecord).string();
    std::ifstream in(path, std::ios::binary);
    if (!in) return plat::Error{database + ": the database records no source folder (no " + kSourceRecord + ")"};
    std::string line;
    std::getline(in, line);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) return plat::Error{path + ": names no folder"};
    return line;
}

}  // namespace navimport
