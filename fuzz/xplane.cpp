// The X-Plane-format world data readers; FUZZ_XPLANE_PARSER names the one this target drives and
// FUZZ_XPLANE_VERSION the file version it reads the rows as (apt.dat's rows are the same in every
// version). Every row is either taken or counted as skipped, and a taken row holds a position on the
// earth; 1100 airway segments are then placed on the fixes and navaids the input also holds.
#include <cmath>
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "worlddata/xplane.h"

namespace {

bool on_earth(double lat, double lon) { return std::fabs(lat) <= 90.0 && std::fabs(lon) <= 180.0; }

[[maybe_unused]] void check(const std::vector<worlddata::Navaid>& rows) {
    for (const auto& n : rows) fuzzsupport::require(on_earth(n.lat, n.lon), "navaid on the earth");
}
[[maybe_unused]] void check(const std::vector<worlddata::Fix>& rows) {
    for (const auto& f : rows) fuzzsupport::require(on_earth(f.lat, f.lon), "fix on the earth");
}
[[maybe_unused]] void check(const std::vector<worlddata::AirwaySegment>& rows) {
    for (const auto& s : rows)
        fuzzsupport::require(on_earth(s.from_lat, s.from_lon) && on_earth(s.to_lat, s.to_lon), "segment on the earth");
}
[[maybe_unused]] void check(const std::vector<worlddata::Airport>& rows) {
    for (const auto& a : rows) {
        fuzzsupport::require(!a.ends.empty() && a.ends.size() % 2 == 0, "runways in pairs");
        fuzzsupport::require(on_earth(a.lat, a.lon), "airport on the earth");
    }
}

template <typename Parse>
auto parse(Parse reader, std::string_view text, worlddata::ParseStats& stats) -> decltype(reader(text, 0, &stats)) {
    return reader(text, FUZZ_XPLANE_VERSION, &stats);
}

[[maybe_unused]] std::vector<worlddata::Airport> parse(decltype(&worlddata::parse_apt) reader, std::string_view text,
                                      worlddata::ParseStats& stats) {
    return reader(text, &stats);
}

// Segments placed on the same text read as fix and nav rows, which gives their ends something to
// be found among; the other rows need no placing.
[[maybe_unused]] void place(std::vector<worlddata::AirwaySegment>& segments, std::string_view text) {
    const auto fixes = worlddata::parse_fix(text, 1200);
    const auto navaids = worlddata::parse_nav(text, 1200);
    const std::size_t before = segments.size();
    fuzzsupport::require(worlddata::place_airways(segments, fixes, navaids) + segments.size() == before,
                         "every segment kept or counted");
    check(segments);
}

template <typename Rows>
void place(const Rows&, std::string_view) {}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    worlddata::ParseStats stats;
    const std::string_view text = fuzzsupport::text_of(data, size);
    auto rows = parse(&worlddata::FUZZ_XPLANE_PARSER, text, stats);
    check(rows);
    place(rows, text);
    return 0;
}
