#pragma once
// The tokens as a simulator link writes them, for the link's fuzz targets: a text must be one the
// panel can show.

#include "fuzz/fuzz_support.h"
#include "sim/aircraft.h"
#include "simlink/engine/readings.h"

namespace fuzzsupport {

class TokenSink : public sim::TokenSink {
public:
    void set_double(int, double) override {}
    void set_int(int, std::int32_t) override {}
    void set_text(int, std::string_view text) override {
        require(simlink::acceptable_text(text), "token text printable and within its length");
    }
};

}  // namespace fuzzsupport
