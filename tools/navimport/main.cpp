// navimport [--xplane | --flightgear] SOURCE_DIR OUT_DIR: builds the NavData files from
// X-Plane-format world data as it lies in a world data folder, an X-Plane folder or FlightGear's.

#include <chrono>
#include <cstdio>
#include <cstring>

#include "install/program_info.h"
#include "navimport/navimport.h"

namespace {

const char* const usage_text =
    "Usage: navimport [--quiet] SOURCE_DIR OUT_DIR\n"
    "  or:  navimport [--quiet] --xplane XPLANE_DIR OUT_DIR\n"
    "  or:  navimport [--quiet] --flightgear FG_ROOT OUT_DIR\n"
    "\n"
    "Builds the navigation display's database from X-Plane-format world data. OUT_DIR receives\n"
    "idx.dat, vor.dat, ndb.dat, apt.dat and int.dat, the NavData folder of a simulator folder, and\n"
    "source.txt, the source folder they came from.\n"
    "\n"
    "SOURCE_DIR is any of the folders below, told by what it holds. A world data folder holds\n"
    "nav.dat, fix.dat, apt.dat and optionally awy.dat (plain or .gz). With --xplane, XPLANE_DIR is\n"
    "an X-Plane 11 or 12 folder: earth_nav.dat, earth_fix.dat and earth_awy.dat are taken from\n"
    "'Custom Data' when all three are there (a current cycle), else from 'Resources/default data';\n"
    "apt.dat from 'Global Scenery/Global Airports/Earth nav data' (X-Plane 12) or 'Resources/default\n"
    "scenery/default apt dat/Earth nav data' (X-Plane 11). With --flightgear, FG_ROOT is FlightGear's\n"
    "data folder: Navaids/nav.dat.gz, fix.dat.gz, awy.dat.gz and Airports/apt.dat.gz. Versions read:\n"
    "nav.dat 810, 1100, 1150, 1200; fix.dat 600, 1100, 1101, 1200; awy.dat 640, 1100; apt.dat 1000,\n"
    "1100, 1130, 1200. A file of another version is refused.\n"
    "\n"
    "Options:\n"
    "  --xplane         SOURCE_DIR must be an X-Plane folder\n"
    "  --flightgear     SOURCE_DIR must be a FlightGear data folder\n"
    "  --quiet          print nothing but errors (default: the counts of what was imported)\n"
    "  -h, --help       print this text and exit\n"
    "  --version        print the version and exit\n";

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
        } else if (std::strcmp(argv[i], "--xplane") == 0 || std::strcmp(argv[i], "--flightgear") == 0) {
            if (options.layout != worlddata::SourceLayout::any) {
                std::fputs("navimport: --xplane and --flightgear go one at a time\n", stderr);
                return 2;
            }
            options.layout = argv[i][2] == 'x' ? worlddata::SourceLayout::xplane : worlddata::SourceLayout::flightgear;
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
        for (const std::string& s : r.read) std::printf("navimport: read %s\n", s.c_str());
        std::printf("navimport: %zu VOR/ILS/DME, %zu NDB, %zu runways, %zu intersections, %zu index records in %.2f s\n",
                    r.vor, r.ndb, r.apt, r.intx, r.idx, seconds);
        for (const std::string& s : r.skipped) std::printf("navimport: skipped %s\n", s.c_str());
    }
    return 0;
}
