// The gross weight window: a sunk dark glass the six lit digits are drawn on.
#include "tools/artwork/art_helpers.h"
#include "tools/artwork/art_registry.h"

namespace art {
namespace {

using plat::rgb;

void window(plat::Canvas& c) {
    recess(c, c.bitmap().bounds(), rgb(14, 16, 14));
    c.fill_rect({2, 2, 78, 18}, rgb(14, 16, 14));
}

constexpr Picture kPictures[] = {{1000, 80, 20, window}};
constexpr Placement kAssembled[] = {{1000, 0, 0}};

}  // namespace

std::span<const Picture> grossweight_pictures() { return kPictures; }
std::span<const Placement> grossweight_assembled() { return kAssembled; }

}  // namespace art
