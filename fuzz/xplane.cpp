// The X-Plane-format world data readers; FUZZ_XPLANE_PARSER names the one this target drives. Every
// row is either taken or counted as skipped, and a taken row holds a position on the earth.
#include <cmath>

#include "fuzz/fuzz_support.h"
#include "worlddata/xplane.h"

namespace {

bool on_earth(double lat, double lon) { return std::fabs(lat) <= 90.0 && std::fabs(lon) <= 180.0; }

void check(const std::vector<worlddata::Navaid>& rows) {
    for (const auto& n : rows) fuzzsupport::require(on_earth(n.lat, n.lon), "navaid on the earth");
}
void check(const std::vector<worlddata::Fix>& rows) {
    for (const auto& f : rows) fuzzsupport::require(on_earth(f.lat, f.lon), "fix on the earth");
}
void check(const std::vector<worlddata::AirwaySegment>& rows) {
    for (const auto& s : rows)
        fuzzsupport::require(on_earth(s.from_lat, s.from_lon) && on_earth(s.to_lat, s.to_lon), "segment on the earth");
}
void check(const std::vector<worlddata::Airport>& rows) {
    for (const auto& a : rows) {
        fuzzsupport::require(!a.ends.empty() && a.ends.size() % 2 == 0, "runways in pairs");
        fuzzsupport::require(on_earth(a.lat, a.lon), "airport on the earth");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    worlddata::ParseStats stats;
    check(worlddata::FUZZ_XPLANE_PARSER(fuzzsupport::text_of(data, size), &stats));
    return 0;
}
