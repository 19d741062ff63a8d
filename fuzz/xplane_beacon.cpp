// X-Plane's beacon: a datagram read as a BECN packet, and what it gives written again and read back.
#include <string>

#include "fuzz/fuzz_support.h"
#include "simlink/xplane/packets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto b = simlink::xp::parse_beacon(fuzzsupport::text_of(data, size));
    if (!b) return 0;
    fuzzsupport::require(b->port != 0, "a port to reach X-Plane at");
    fuzzsupport::require(b->computer.size() <= 255, "a computer name of a packet's length");
    for (char c : b->computer) fuzzsupport::require(c >= ' ' && c < 0x7F, "a printable computer name");
    const auto again = simlink::xp::parse_beacon(simlink::xp::beacon_packet(*b));
    fuzzsupport::require(again && again->port == b->port && again->computer == b->computer &&
                             again->version == b->version,
                         "a beacon written again reads the same");
    return 0;
}
