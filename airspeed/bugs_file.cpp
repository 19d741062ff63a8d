#include "airspeed/bugs_file.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "platform/atomic_file.h"

namespace airspeed {
namespace {

constexpr long kLowestBug = 1;
constexpr long kHighestBug = 449;
// The line is short; anything past this is not one the gauge wrote.
constexpr std::size_t kReadLimit = 512;

// The "%d" fields take a double's integer part; a value an int cannot hold is pinned to its
// range (and a NaN to 0) rather than converted with undefined results.
int whole(double v) {
    if (std::isnan(v)) return 0;
    if (v >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (v <= static_cast<double>(INT_MIN)) return INT_MIN;
    return static_cast<int>(v);
}

}  // namespace

void read_bugs_file(const char* path, SpeedBugs& bugs) {
    std::FILE* f = std::fopen(path, "r");
    if (!f) return;
    char text[kReadLimit + 1];
    const std::size_t n = std::fread(text, 1, kReadLimit, f);
    std::fclose(f);
    text[n] = '\0';
    const char* p = text;
    for (int i = 0; i < kBugCount; ++i) {
        char* end = nullptr;
        errno = 0;
        const long v = std::strtol(p, &end, 10);
        if (end == p) return;  // the line ends or holds no number here: the rest keep theirs
        p = end;
        if (errno == 0 && v >= kLowestBug && v <= kHighestBug) bugs.speed[i] = static_cast<double>(v);
    }
}

bool write_bugs_file(const char* path, const SpeedBugs& bugs, const SavedTimers& timers) {
    // Room for the longest line: two doubles printed whole at their largest take about 620 bytes.
    char line[1024];
    const int n = std::snprintf(line, sizeof line, "%d %d %d %d %d %lf %lf %d %d %d\r\n", whole(bugs.speed[0]),
                                whole(bugs.speed[1]), whole(bugs.speed[2]), whole(bugs.speed[3]),
                                whole(bugs.speed[4]), timers.elapsed_time, timers.chrono_time,
                                whole(timers.elapsed_run), whole(timers.chrono_run), whole(timers.decision_height));
    if (n <= 0 || n >= static_cast<int>(sizeof line)) return false;
    return plat::replace_file_atomically(path, std::string_view(line, static_cast<std::size_t>(n))).ok();
}

}  // namespace airspeed
