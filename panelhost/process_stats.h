#pragma once
// What the panel process holds at a moment: its resident memory and its open handles. A scenario's
// "stats" command logs them, so a long run shows whether memory grows and whether a reload gives
// back every file, mapping and shared block the modules took.

#include <string>

namespace panelhost {

struct ProcessStats {
    long rss_kb = -1;  // resident set (VmRSS), -1 when the system does not say
    int fds = -1;      // open file descriptors
    int maps = -1;     // memory mappings (lines of the process's map list)
    int blocks = 0;    // named shared blocks alive
};

ProcessStats read_process_stats();

// "rss_kb=<n> fds=<n> maps=<n> blocks=<n>"
std::string format_process_stats(const ProcessStats& stats);

}  // namespace panelhost
