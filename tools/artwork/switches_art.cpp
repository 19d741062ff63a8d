// Rotary mode switches: the flight director switch (OFF / 1 / 2) and the ND switch (ARC / CTR).
#include <string_view>

#include "tools/artwork/art_helpers.h"
#include "tools/artwork/art_registry.h"

namespace art {
namespace {

using plat::Canvas;

// The lever picture goes at (24, 34) and turns about (27, 15) within it: the boss centre.
constexpr int kLeverX = 24, kLeverY = 34, kLeverAxisX = 27, kLeverAxisY = 15;
constexpr int kAxisX = kLeverX + kLeverAxisX, kAxisY = kLeverY + kLeverAxisY;
constexpr int kHubRadius = 8;
constexpr double kNose = 14.5;

struct Positions {
    std::string_view title;
    std::string_view left, top, right;  // empty: the switch has no such position
};

void plate(Canvas& c, const Positions& p) {
    panel_plate(c, c.bitmap().bounds());
    screw(c, 6, 6, 40);
    screw(c, 93, 6, -15);
    screw(c, 6, 83, 10);
    screw(c, 93, 83, 65);

    const PointF axis{kAxisX + 0.5, kAxisY + 0.5};
    boss(c, kAxisX, kAxisY, kHubRadius + 6);
    if (!p.left.empty()) {
        index_mark(c, axis, 17.5, 21.5, -90);
        legend(c, 29, 45, p.left, -10, plat::text_align::right | plat::text_align::top);
    }
    if (!p.top.empty()) {
        index_mark(c, axis, 17.5, 25.5, 0);
        legend(c, kAxisX + 1, 2, p.top, -11);
    }
    if (!p.right.empty()) {
        index_mark(c, axis, 17.5, 21.5, 90);
        legend(c, 75, 44, p.right, -11, plat::text_align::left | plat::text_align::top);
    }
    legend(c, kAxisX + 1, 70, p.title, -12);
}

template <int Angle>
void lever(Canvas& c) {
    lever_knob(c, kLeverAxisX, kLeverAxisY, kHubRadius, kNose, Angle);
}

void fd_plate(Canvas& c) { plate(c, {"FD", "OFF", "1", "2"}); }
void nd_plate(Canvas& c) { plate(c, {"ND", "ARC", "CTR", ""}); }

constexpr Picture kFdPictures[] = {
    {1000, 100, 90, fd_plate},
    {2000, 54, 32, lever<-90>},
    {2003, 54, 32, lever<0>},
    {2006, 54, 32, lever<90>},
};
constexpr Picture kNdPictures[] = {
    {1000, 100, 90, nd_plate},
    {2000, 54, 32, lever<-90>},
    {2003, 54, 32, lever<0>},
};
constexpr Placement kAssembled[] = {{1000, 0, 0}, {2003, kLeverX, kLeverY}};

}  // namespace

std::span<const Picture> fdswitch_pictures() { return kFdPictures; }
std::span<const Placement> fdswitch_assembled() { return kAssembled; }
std::span<const Picture> ndswitch_pictures() { return kNdPictures; }
std::span<const Placement> ndswitch_assembled() { return kAssembled; }

}  // namespace art
