// The oil and secondary engine readouts: a column of dark green digital windows with their row
// captions. The digits are the gauge's own string elements, drawn over these windows.
#include <array>
#include <string_view>

#include "tools/artwork/art_helpers.h"
#include "tools/artwork/art_registry.h"

namespace art {
namespace {

using plat::Canvas;
using plat::rgb;

constexpr int kWindowW = 19, kWindowH = 10;
constexpr int kLeftX = 21, kRightX = 73, kTopX = 47, kTopY = 10;
constexpr int kCaptionX = 57;  // middle of the gap between the two columns
const plat::ColorRef kWindowFloor = rgb(0, 32, 0);

struct Row {
    int y;
    std::string_view caption;
};
constexpr std::array<Row, 7> kRows = {{
    {27, "HYD"},
    {49, "FF"},
    {71, "OIL P"},
    {93, "OIL T"},
    {115, "OIL Q"},
    {137, "VIB"},
    {159, "HYD Q"},
}};

void window(Canvas& c, int x, int y) {
    recess(c, {x - 2, y - 2, x + kWindowW + 2, y + kWindowH + 2}, kWindowFloor);
    c.fill_rect({x, y, x + kWindowW, y + kWindowH}, kWindowFloor);
}

void face(Canvas& c) {
    panel_plate(c, c.bitmap().bounds());
    screw(c, 6, 6, 35);
    screw(c, 106, 6, -20);
    screw(c, 6, 263, 70);
    screw(c, 106, 263, 10);

    window(c, kTopX, kTopY);
    legend(c, kTopX - 5, kTopY + 1, "PNEU", -7, plat::text_align::right | plat::text_align::top);
    for (const Row& row : kRows) {
        window(c, kLeftX, row.y);
        window(c, kRightX, row.y);
        legend(c, kCaptionX, row.y + 1, row.caption, -7);
    }
    legend(c, kLeftX + kWindowW / 2 + 1, 174, "ENG 1", -7);
    legend(c, kRightX + kWindowW / 2 + 1, 174, "ENG 2", -7);
    c.fill_rect({12, 190, 101, 191}, bevel_dark);
    c.fill_rect({12, 191, 101, 192}, bevel_mid_light);
    legend(c, 57, 200, "SECONDARY", -9);
    legend(c, 57, 213, "ENGINE", -9);
}

constexpr Picture kPictures[] = {
    {4096, 113, 270, face},
};
constexpr Placement kAssembled[] = {{4096, 0, 0}};

}  // namespace

std::span<const Picture> oilgauge_pictures() { return kPictures; }
std::span<const Placement> oilgauge_assembled() { return kAssembled; }

}  // namespace art
