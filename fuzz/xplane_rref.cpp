// X-Plane's RREF and RPOS replies: each datagram read as X-Plane's reply, its values taken into the
// readings of the shipped X-Plane binding as the link takes them, and every token written from
// them as a panel cycle does.
#include <cmath>
#include <string>

#include "fuzz/fuzz_support.h"
#include "fuzz/token_sink.h"
#include "simlink/engine/readings.h"
#include "simlink/xplane/packets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const simlink::Bindings bindings = [] {
        auto b = simlink::load_bindings(FUZZ_SHIPPED_BINDINGS);
        fuzzsupport::require(b.ok(), "the shipped binding file reads");
        return std::move(b).value();
    }();
    static const simlink::PropertyIndex index = simlink::build_index(bindings);
    const std::string_view packet = fuzzsupport::text_of(data, size);
    simlink::Readings readings(index);
    if (const auto values = simlink::xp::parse_rref_reply(packet)) {
        fuzzsupport::require(values->size() <= simlink::xp::max_rref_pairs, "pairs within a packet's");
        fuzzsupport::require(values->size() * 8 + 5 == size, "every byte of the reply in a pair");
        for (const auto& v : *values)
            if (v.index >= 0 && static_cast<std::size_t>(v.index) < index.paths.size())
                readings.take_number(static_cast<std::size_t>(v.index), v.value);
    }
    if (const auto p = simlink::xp::parse_rpos_reply(packet)) {
        fuzzsupport::require(std::abs(p->latitude) <= 90 && std::abs(p->longitude) <= 180, "a position on the earth");
        fuzzsupport::require(std::isfinite(p->elevation_m), "a finite elevation");
    }
    for (double n : readings.numbers) fuzzsupport::require(std::isfinite(n), "readings stay finite");
    fuzzsupport::TokenSink sink;
    simlink::publish_tokens(bindings, index, readings, simlink::LinkIntent{true, true, true, true, true}, sink);
    return 0;
}
