#include "airspeed/speed_bugs.h"

namespace airspeed {
namespace {

constexpr double kClosest = 2.0;

// Bug k of 1 .. 5 stops at 2k + 440 going up and 2k + 58 going down.
double top_of(int index) { return 2.0 * (index + 1) + 440.0; }
double bottom_of(int index) { return 2.0 * (index + 1) + 58.0; }

}  // namespace

void bug_up(SpeedBugs& bugs, int index) {
    if (index < 0 || index >= kBugCount) return;
    if (bugs.speed[index] < top_of(index)) bugs.speed[index] += 1.0;
    for (int j = index + 1; j < kBugCount; ++j)
        if (bugs.speed[j] - bugs.speed[j - 1] < kClosest) bugs.speed[j] += 1.0;
}

void bug_down(SpeedBugs& bugs, int index) {
    if (index < 0 || index >= kBugCount) return;
    if (bugs.speed[index] > bottom_of(index)) bugs.speed[index] -= 1.0;
    for (int j = index - 1; j >= 0; --j)
        if (bugs.speed[j + 1] - bugs.speed[j] < kClosest) bugs.speed[j] -= 1.0;
}

}  // namespace airspeed
