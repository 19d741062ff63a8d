// Binding files: any text read as the user's --sim-bindings file (a "base" line may name the
// shipped generic file); a file taken binds each token once within its sources' limit, names only
// paths of its simulator's form, and publishes every token from readings never answered.
#include <set>
#include <string>

#include "fuzz/fuzz_support.h"
#include "fuzz/token_sink.h"
#include "simlink/engine/readings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string generic = std::string(FUZZ_SHIPPED_SIM_DIR) + "/flightgear-generic";
    const simlink::BaseLoader base = [](std::string_view name) -> plat::Result<simlink::Bindings> {
        if (name != "flightgear-generic") return plat::Error{"no such file"};
        static const auto b = simlink::load_bindings(generic);
        return b;
    };
    auto b = simlink::parse_bindings(fuzzsupport::text_of(data, size), "fuzz", base);
    if (!b) {
        fuzzsupport::require(b.error().rfind("fuzz", 0) == 0, "an error names the file");
        return 0;
    }
    std::set<int> tokens;
    for (const auto& t : b->tokens) {
        fuzzsupport::require(tokens.insert(t.token).second, "each token bound once");
        fuzzsupport::require(t.sources.size() <= simlink::max_sources, "sources within the limit");
        fuzzsupport::require(t.form == simlink::Form::text || t.convert, "a conversion for every number");
        for (const auto& s : t.sources)
            fuzzsupport::require(simlink::valid_sim_path(b->simulator, s.path), "paths of the simulator's form");
    }
    const simlink::PropertyIndex index = simlink::build_index(*b);
    const simlink::Readings readings(index);
    fuzzsupport::TokenSink sink;
    simlink::publish_tokens(*b, index, readings, simlink::LinkIntent{true, true, true, true, true}, sink);
    return 0;
}
