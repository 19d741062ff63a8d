// The FlightGear property server's answers: the byte stream cut into lines in pieces of any size,
// each line taken apart and its value read as a number and as a text, the answers for the link's
// properties taken into its readings, and every token written from them as a panel cycle does.
#include <string>

#include "fuzz/fuzz_support.h"
#include "simlink/flightgear/props_protocol.h"
#include "simlink/flightgear/token_map.h"

namespace {

class Sink : public sim::TokenSink {
public:
    void set_double(int, double) override {}
    void set_int(int, std::int32_t) override {}
    void set_text(int, std::string_view text) override {
        fuzzsupport::require(text.size() <= simlink::fg::max_text_bytes, "token text within its length");
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    // The first byte sets the size of the pieces the socket hands over.
    const std::size_t piece = data[0] % 64 + 1;
    ++data;
    --size;
    const simlink::fg::PropertyIndex& index = simlink::fg::property_index();
    simlink::fg::Readings readings;
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
                fuzzsupport::require(text->size() <= simlink::fg::max_text_bytes, "text within its length");
            if (const int i = index.find(answer->path); i >= 0) readings.take(static_cast<std::size_t>(i), *answer);
        }
    }
    // With the autopilot master on and every hold asked for, so the locks are read too.
    const simlink::fg::LinkIntent intent{true, true, true, true, true};
    Sink sink;
    simlink::fg::publish_tokens(readings, intent, sink);
    return 0;
}
