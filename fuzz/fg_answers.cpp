// The FlightGear property server's answers: the byte stream cut into lines in pieces of any size,
// each line taken apart and its value read as a number and as a text, the answers for the link's
// properties taken into its readings, and every token written from them as a panel cycle does.
#include <string>

#include "fuzz/fuzz_support.h"
#include "sim/flightgear/props_protocol.h"
#include "sim/flightgear/token_map.h"

namespace {

class Sink : public sim::TokenSink {
public:
    void set_double(int, double) override {}
    void set_int(int, std::int32_t) override {}
    void set_text(int, std::string_view text) override {
        fuzzsupport::require(text.size() <= sim::fg::max_text_bytes, "token text within its length");
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    // The first byte sets the size of the pieces the socket hands over.
    const std::size_t piece = data[0] % 64 + 1;
    ++data;
    --size;
    const sim::fg::PropertyIndex& index = sim::fg::property_index();
    sim::fg::Readings readings;
    sim::fg::LineSplitter splitter;
    std::string line;
    for (std::size_t at = 0; at < size; at += piece) {
        splitter.feed(reinterpret_cast<const char*>(data) + at, std::min(piece, size - at));
        while (splitter.next(line)) {
            fuzzsupport::require(line.size() <= sim::fg::max_line_bytes, "line within the longest answer");
            const auto answer = sim::fg::parse_answer(line);
            if (!answer) continue;
            if (const auto number = sim::fg::number_value(*answer))
                fuzzsupport::require(*number == *number && *number - *number == 0, "number is finite");
            if (const auto text = sim::fg::text_value(*answer))
                fuzzsupport::require(text->size() <= sim::fg::max_text_bytes, "text within its length");
            if (const int i = index.find(answer->path); i >= 0) readings.take(static_cast<std::size_t>(i), *answer);
        }
    }
    // With the autopilot master on and every hold asked for, so the locks are read too.
    const sim::fg::LinkIntent intent{true, true, true, true, true};
    Sink sink;
    sim::fg::publish_tokens(readings, intent, sink);
    return 0;
}
