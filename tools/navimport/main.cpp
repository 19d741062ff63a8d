// navimport SOURCE_DIR OUT_DIR: builds the NavData files from X-Plane-format data.

#include <chrono>
#include <cstdio>
#include <cstring>

#include "tools/navimport/navimport.h"

int main(int argc, char** argv) {
    navimport::Options options;
    int positional = 0;
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
        std::fprintf(stderr,
                     "usage: navimport [--quiet] SOURCE_DIR OUT_DIR\n"
                     "  SOURCE_DIR holds nav.dat, fix.dat, apt.dat and optionally awy.dat (plain or .gz) in\n"
                     "  X-Plane format; OUT_DIR receives idx.dat, vor.dat, ndb.dat, apt.dat and int.dat.\n");
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
