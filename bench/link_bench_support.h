#pragma once
// What the simulator links' benchmarks share: the host's variables as the tokens' sink.

#include "panelhost/variables.h"
#include "sim/aircraft.h"

struct StoreSink : sim::TokenSink {
    panelhost::VariableStore& store;
    explicit StoreSink(panelhost::VariableStore& s) : store(s) {}
    void set_double(int token, double v) override { store.set_double(token, v); }
    void set_int(int token, std::int32_t v) override { store.set_int(token, v); }
    void set_text(int token, std::string_view v) override { store.set_text(token, v); }
};
