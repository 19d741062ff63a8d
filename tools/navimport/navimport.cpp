// The import run: reads every source, limits what the fixed columns cannot hold, writes the files.

#include "tools/navimport/navimport.h"

#include "tools/navimport/import_state.h"
#include "tools/navimport/source_files.h"

namespace navimport {

// The record number field holds five digits.
constexpr std::size_t kRecordsPerFile = 100000;

void Import::read(const std::string& path, const std::function<void(std::string_view, std::size_t)>& each) {
    if (!error.empty()) return;
    read_lines(path, each, error);
}

namespace {

void limit_file(Import& im, std::size_t size, const char* what) {
    if (size > kRecordsPerFile) im.error = std::string("more ") + what + " than a record number can count";
}

}  // namespace

Report run_import(const Options& options) {
    Report report;
    Import im;
    const std::string nav = find_source(options.source, "nav.dat"), fix = find_source(options.source, "fix.dat"),
                      apt = find_source(options.source, "apt.dat"), awy = find_source(options.source, "awy.dat");
    if (nav.empty() || fix.empty() || apt.empty()) {
        report.error = options.source + ": nav.dat, fix.dat and apt.dat (or .gz) are needed";
        return report;
    }
    read_navaids(im, nav);
    if (!awy.empty()) read_airways(im, awy);
    read_fixes(im, fix);
    read_airports(im, apt);
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
