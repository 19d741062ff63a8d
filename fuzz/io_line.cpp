// A line protocol connection's bytes: cut into lines in reads of any size (the input's first byte
// chooses it), each line either a command in range or a reason, never anything in between; nothing
// longer than a line or not text gets through, and the reads' cut never changes the lines.
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "homeio/command.h"
#include "homeio/line_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::size_t step = 1 + data[0] % 64;
    const std::string_view bytes = fuzzsupport::text_of(data + 1, size - 1);

    homeio::LineReader whole, pieces;
    std::vector<std::string> lines, cut_lines;
    const homeio::LineFault fault = whole.feed(bytes, lines);
    homeio::LineFault cut_fault = homeio::LineFault::none;
    for (std::size_t at = 0; at < bytes.size(); at += step) cut_fault = pieces.feed(bytes.substr(at, step), cut_lines);
    fuzzsupport::require(lines == cut_lines && fault == cut_fault, "the same lines however the bytes arrive");
    fuzzsupport::require(whole.pending() <= homeio::kMaxLine + 1, "no more than a line waits");

    for (const std::string& line : lines) {
        fuzzsupport::require(line.size() <= homeio::kMaxLine, "no long line is taken");
        fuzzsupport::require(homeio::is_protocol_text(line), "only text is taken");
        std::string why;
        const auto c = homeio::parse_command(line, why);
        fuzzsupport::require(c.has_value() == why.empty(), "a command, or why not");
        if (!c) continue;
        fuzzsupport::require(c->window >= 0 && c->x >= 0 && c->y >= 0 && c->window <= homeio::kMaxPixel &&
                                 c->x <= homeio::kMaxPixel && c->y <= homeio::kMaxPixel,
                             "pixels in range");
        if (c->verb == homeio::Verb::watch || c->verb == homeio::Verb::unwatch)
            fuzzsupport::require(c->target.is_token || !c->target.gauge.empty(), "a watch names what it follows");
    }
    return 0;
}
