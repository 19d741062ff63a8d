// The navigation display's reader of the published plan: any bytes as the block's contents, zero
// bytes anywhere and no terminator at its end, give the runways and the route points within the
// block.
#include <cstring>

#include "fuzz/fuzz_support.h"
#include "navdisplay/nd_state.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    nd::Route route;
    nd::parse_plan(reinterpret_cast<const char*>(data), size, route);
    for (const nd::RunwayInfo* r : {&route.departure, &route.arrival})
        fuzzsupport::require(std::memchr(r->airport, '\0', sizeof r->airport) &&
                                 std::memchr(r->designator, '\0', sizeof r->designator),
                             "runway texts terminated");
    for (const auto& p : route.points)
        fuzzsupport::require(std::memchr(p.label, '\0', sizeof p.label) != nullptr, "route labels terminated");
    return 0;
}
