// artwork <set> <out_dir> [--expect <id>...]   writes <out_dir>/<id>.bmp for the whole set
// artwork --help                               all of it
// artwork --list <set>                         prints the set's ids
// artwork --sheet <set> <file.png>             renders a contact sheet to look at
// artwork --icon <size> <file.png>             the program's icon for desktop menus
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <set>
#include <string>
#include <string_view>

#include "install/program_info.h"
#include "platform/canvas/png_file.h"
#include "tools/artwork/art_registry.h"
#include "tools/artwork/program_icon.h"

namespace {

const char* const usage_text =
    "Usage: artwork SET OUT_DIR [--expect ID...]\n"
    "  or:  artwork --list SET\n"
    "  or:  artwork --sheet SET FILE.png\n"
    "  or:  artwork --icon SIZE FILE.png\n"
    "\n"
    "Draws the bitmaps a gauge module shows, with the panel's own canvas: the first form writes\n"
    "OUT_DIR/ID.bmp for every picture of SET. A set is named for its module (fmcomputer,\n"
    "airspeed, ...); an unknown set's name lists the known ones.\n"
    "\n"
    "Options:\n"
    "  --expect ID...      refuse unless SET draws exactly these pictures (the build's check)\n"
    "  --list SET          print the ids of the set's pictures\n"
    "  --sheet SET FILE    draw every picture of the set on one PNG contact sheet, to look at\n"
    "  --icon SIZE FILE    draw the panel's icon for desktop menus, SIZE x SIZE pixels (16 to\n"
    "                      1024), as a PNG with see-through corners\n"
    "  -h, --help          print this text and exit\n"
    "  --version           print the version and exit\n";

int usage() {
    std::fputs("artwork: a set and a folder are needed\nTry 'artwork --help' for the options.\n", stderr);
    return 2;
}

const art::ArtSet* set_named(std::string_view name) {
    const art::ArtSet* set = art::find_set(name);
    if (!set) {
        std::fprintf(stderr, "artwork: unknown set '%.*s'; known sets:", int(name.size()), name.data());
        for (const art::ArtSet& s : art::art_sets())
            std::fprintf(stderr, " %.*s", int(s.name.size()), s.name.data());
        std::fprintf(stderr, "\n");
    }
    return set;
}

// The build lists the output files itself; a set that drifted from that list would leave the
// build waiting for files that never come, so refuse instead.
bool ids_match(const art::ArtSet& set, int argc, char** argv, int first) {
    std::set<int> expected, drawn;
    for (int i = first; i < argc; ++i) expected.insert(std::atoi(argv[i]));
    for (const art::Picture& p : set.pictures) drawn.insert(p.id);
    if (expected == drawn) return true;
    std::fprintf(stderr, "artwork: the ids given for set '%.*s' differ from the ids it draws:",
                 int(set.name.size()), set.name.data());
    for (int id : drawn) std::fprintf(stderr, " %d", id);
    std::fprintf(stderr, "\n");
    return false;
}

int run(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(usage_text, stdout);
            return 0;
        }
        if (arg == "--version") {
            install::print_version("artwork");
            return 0;
        }
    }
    if (argc < 3) return usage();
    const std::string_view first = argv[1];
    if (first == "--list") {
        const art::ArtSet* set = set_named(argv[2]);
        if (!set) return 1;
        for (const art::Picture& p : set->pictures) std::printf("%d\n", p.id);
        return 0;
    }
    if (first == "--sheet") {
        if (argc != 4) return usage();
        const art::ArtSet* set = set_named(argv[2]);
        if (!set) return 1;
        if (auto error = plat::write_png(argv[3], art::contact_sheet(*set))) {
            std::fprintf(stderr, "artwork: %s\n", error->message.c_str());
            return 1;
        }
        return 0;
    }
    if (first == "--icon") {
        char* end = nullptr;
        const long size = std::strtol(argv[2], &end, 10);
        if (argc != 4 || *end != '\0' || size < 16 || size > 1024) {
            std::fputs("artwork: --icon takes a size of 16 to 1024 pixels and a PNG file\n", stderr);
            return 2;
        }
        if (auto error = art::write_program_icon(static_cast<int>(size), argv[3])) {
            std::fprintf(stderr, "artwork: %s\n", error->c_str());
            return 1;
        }
        return 0;
    }
    const art::ArtSet* set = set_named(first);
    if (!set) return 1;
    if (argc > 3) {
        if (std::string_view(argv[3]) != "--expect") return usage();
        if (!ids_match(*set, argc, argv, 4)) return 1;
    }
    if (auto error = art::write_set(*set, argv[2])) {
        std::fprintf(stderr, "artwork: %s\n", error->c_str());
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return run(argc, argv);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "artwork: %s\n", e.what());
        return 1;
    }
}
