#include "worlddata/xplane.h"

#include <algorithm>
#include <array>
#include <span>

#include "worlddata/line_fields.h"

namespace worlddata {

namespace {

constexpr std::array kNavVersions{810, 1100, 1150, 1200};
constexpr std::array kFixVersions{600, 1100, 1101, 1200};
// Airway files of layout 1101 still say "1100 Version"; both are taken.
constexpr std::array kAwyVersions{640, 1100, 1101};
constexpr std::array kAptVersions{1000, 1100, 1130, 1200};

std::span<const int> versions_of(FileKind kind) {
    switch (kind) {
        case FileKind::nav: return kNavVersions;
        case FileKind::fix: return kFixVersions;
        case FileKind::awy: return kAwyVersions;
        case FileKind::apt: break;
    }
    return kAptVersions;
}

}  // namespace

std::string_view version_line(std::string_view text) {
    std::string_view version;
    int number = 0;
    for_each_line(text, [&](std::string_view line) {
        if (++number == 2) version = line;
    });
    return version;
}

int file_version(std::string_view text) {
    const LineFields f(version_line(text));
    int version = 0;
    // A number of more digits than any version has is no version.
    if (f[0].size() > 6 || !to_number(f[0], version) || version < 0) return 0;
    return version;
}

bool known_version(FileKind kind, int version) {
    const auto known = versions_of(kind);
    return std::find(known.begin(), known.end(), version) != known.end();
}

std::string known_versions(FileKind kind) {
    std::string list;
    for (int v : versions_of(kind)) list += (list.empty() ? "" : ", ") + std::to_string(v);
    return list;
}

const char* file_kind_name(FileKind kind) {
    switch (kind) {
        case FileKind::nav: return "nav.dat";
        case FileKind::fix: return "fix.dat";
        case FileKind::awy: return "awy.dat";
        case FileKind::apt: break;
    }
    return "apt.dat";
}

}  // namespace worlddata
