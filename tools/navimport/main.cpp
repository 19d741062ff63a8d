// navimport SOURCE_DIR OUT_DIR: builds the NavData files from X-Plane-format data.

#include <chrono>
#include <cstdio>
#include <cstring>

#include "install/program_info.h"
#include "tools/navimport/navimport.h"

namespace {

const char* const usage_text =
    "Usage: navimport [--quiet] SOURCE_DIR OUT_DIR\n"
    "\n"
    "Builds the navigation display's database from X-Plane-format world data. SOURCE_DIR holds\n"
    "nav.dat, fix.dat, apt.dat and optionally awy.dat (plain or .gz); OUT_DIR receives idx.dat,\n"
    "vor.dat, ndb.dat, apt.dat and int.dat, the NavData folder of a simulator folder.\n"
    "\n"
    "Options:\n"
    "  --quiet     print nothing but errors (default: the counts of what was imported)\n"
    "  -h, --help  print this text and exit\n"
    "  --version   print the version and exit\n";

}  // namespace

int main(int argc, char** argv) {
    navimport::Options options;
    int positional = 0;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(usage_text, stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            install::print_version("navimport");
            return 0;
        }
    }
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--quiet") == 0) {
            options.quiet = true;
        } else if (positional == 0) {
            options.source = argv[i];
            ++positional;
        } else if (positional == 1) {
            options.out = argv[i];
            ++positional;
        } else {
            positional = 3;
        }
    }
    if (positional != 2) {
        std::fputs("navimport: a SOURCE_DIR and an OUT_DIR are needed\nTry 'navimport --help' for the options.\n",
                   stderr);
        return 2;
    }
    const auto start = std::chrono::steady_clock::now();
    const navimport::Report r = navimport::run_import(options);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!r.error.empty()) {
        std::fprintf(stderr, "navimport: %s\n", r.error.c_str());
        return 1;
    }
    if (!options.quiet) {
        std::printf("navimport: %zu VOR/ILS/DME, %zu NDB, %zu runways, %zu intersections, %zu index records in %.2f s\n",
                    r.vor, r.ndb, r.apt, r.intx, r.idx, seconds);
        for (const std::string& s : r.skipped) std::printf("navimport: skipped %s\n", s.c_str());
    }
    return 0;
}
