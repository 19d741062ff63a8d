#pragma once
// The five pilot-set speed bugs, kept in ascending order at least 2 kt apart by pushing the
// neighbours along when one is moved, and the autopilot speed the marker needle follows.

namespace airspeed {

inline constexpr int kBugCount = 5;

struct SpeedBugs {
    double speed[kBugCount];
};

inline constexpr SpeedBugs kDefaultBugs = {{153, 158, 164, 200, 240}};

// Bug `index` (0 for bug 1) one knot up, to at most 442 for bug 1 rising by 2 per bug to 450 for
// bug 5; every higher bug then closer than 2 kt to the one below it moves up a knot.
void bug_up(SpeedBugs& bugs, int index);
// One knot down, to at least 60 for bug 1 up to 68 for bug 5, pushing the lower bugs likewise.
void bug_down(SpeedBugs& bugs, int index);

inline constexpr double kDefaultAutopilotSpeed = 250;
inline constexpr double kAutopilotSpeedMax = 450;
inline constexpr double kAutopilotSpeedMin = 100;

}  // namespace airspeed
