#include "panelhost/process_stats.h"

#include <dirent.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include "platform/shared_block.h"

namespace panelhost {
namespace {

long resident_kb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.compare(0, 6, "VmRSS:") == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
    return -1;
}

// The descriptor that reads the folder is not counted: it is closed again at once.
int open_descriptors() {
    DIR* dir = ::opendir("/proc/self/fd");
    if (!dir) return -1;
    const int own = ::dirfd(dir);
    int count = 0;
    while (const dirent* entry = ::readdir(dir)) {
        if (entry->d_name[0] == '.') continue;
        if (std::atoi(entry->d_name) != own) ++count;
    }
    ::closedir(dir);
    return count;
}

int mappings() {
    std::ifstream maps("/proc/self/maps");
    if (!maps) return -1;
    int count = 0;
    std::string line;
    while (std::getline(maps, line)) ++count;
    return count;
}

}  // namespace

ProcessStats read_process_stats() {
    ProcessStats s;
    s.rss_kb = resident_kb();
    s.fds = open_descriptors();
    s.maps = mappings();
    s.blocks = static_cast<int>(plat::list_shared_blocks().size());
    return s;
}

std::string format_process_stats(const ProcessStats& s) {
    char text[128];
    std::snprintf(text, sizeof text, "rss_kb=%ld fds=%d maps=%d blocks=%d", s.rss_kb, s.fds, s.maps, s.blocks);
    return text;
}

}  // namespace panelhost
