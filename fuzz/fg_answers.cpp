// The FlightGear property server's answers: the byte stream cut into lines in pieces of any size,
// each line taken apart and its value read as a number and as a text, the answers for the link's
// properties (the shipped generic binding's) taken into its readings, and every token written from
// them as a panel cycle does.
#include <string>

#include "fuzz/fuzz_support.h"
#include "fuzz/token_sink.h"
#include "simlink/flightgear/props_protocol.h"
#include "simlink/engine/readings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    // The first byte sets the size of the pieces the socket hands over.
    const std::size_t piece = data[0] % 64 + 1;
    ++data;
    --size;
    static const simlink::Bindings bindings = [] {
        auto b = simlink::load_bindings(FUZZ_SHIPPED_BINDINGS);
        fuzzsupport::require(b.ok(), "the shipped binding file reads");
        return std::move(b).value();
    }();
    static const simlink::PropertyIndex index = simlink::build_index(bindings);
    simlink::Readings readings(index);
    simlink::fg::LineSplitter splitter;
    std::string line;
    for (std::size_t at = 0; at < size; at += piece) {
        splitter.feed(reinterpret_cast<const char*>(data) + at, std::min(piece, size - at));
        while (splitter.next(line)) {
            fuzzsupport::require(line.size() <= simlink::fg::max_line_bytes, "line within the longest answer");
            const auto answer = simlink::fg::parse_answer(line);
            if (!answer) continue;
            if (const auto number = simlink::fg::number_value(*answer))
                fuzzsupport::require(*number == *number && *number - *number == 0, "number is finite");
            if (const auto text = simlink::fg::text_value(*answer))
                fuzzsupport::require(text->size() <= simlink::max_text_bytes, "text within its length");
            const int i = index.find(answer->path);
            if (i < 0) continue;
            const auto k = static_cast<std::size_t>(i);
            if (index.is_text[k]) {
                if (auto t = simlink::fg::text_value(*answer)) readings.take_text(k, std::move(*t));
            } else if (auto v = simlink::fg::number_value(*answer)) {
                readings.take_number(k, *v);
            }
        }
    }
    // With the autopilot master on and every hold asked for, so the locks are read too.
    const simlink::LinkIntent intent{true, true, true, true, true};
    fuzzsupport::TokenSink sink;
    simlink::publish_tokens(bindings, index, readings, intent, sink);
    return 0;
}
