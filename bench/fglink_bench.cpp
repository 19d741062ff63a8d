// What the FlightGear link costs the panel thread each cycle (publish into the host's variables,
// with and without a fresh snapshot), a key event, and the worker's parsing of one poll's answers.

#include <benchmark/benchmark.h>

#include <chrono>
#include <thread>

#include "fake_props_server.h"
#include "host/key_events.h"
#include "panelhost/variables.h"
#include "simlink/flightgear/link.h"

namespace event = gauge::event;

namespace {

struct StoreSink : sim::TokenSink {
    panelhost::VariableStore& store;
    explicit StoreSink(panelhost::VariableStore& s) : store(s) {}
    void set_double(int token, double v) override { store.set_double(token, v); }
    void set_int(int token, std::int32_t v) override { store.set_int(token, v); }
    void set_text(int token, std::string_view v) override { store.set_text(token, v); }
};

simlink::fg::LinkOptions options(int port, double rate) {
    simlink::fg::LinkOptions o;
    o.address.port = port;
    o.rate_hz = rate;
    return o;
}

void wait_up(simlink::fg::Link& link, StoreSink& sink) {
    while (link.polls() < 2) {
        link.publish(sink);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

// A panel cycle's publish while the worker polls at 18 Hz: most cycles find the same snapshot.
void BM_PublishPerCycle(benchmark::State& state) {
    FakePropsServer server;
    server.set("/orientation/heading-magnetic-deg", "90");
    simlink::fg::Link link(options(server.port(), 18));
    panelhost::VariableStore store;
    StoreSink sink(store);
    wait_up(link, sink);
    for (auto _ : state) link.publish(sink);
}
BENCHMARK(BM_PublishPerCycle);

// The same with a new snapshot before every publish (the worker polling as fast as it can).
void BM_PublishFreshSnapshot(benchmark::State& state) {
    FakePropsServer server;
    simlink::fg::Link link(options(server.port(), 200));
    panelhost::VariableStore store;
    StoreSink sink(store);
    wait_up(link, sink);
    std::uint64_t seen = link.polls();
    for (auto _ : state) {
        state.PauseTiming();
        while (link.polls() == seen) std::this_thread::yield();
        seen = link.polls();
        state.ResumeTiming();
        link.publish(sink);
    }
}
BENCHMARK(BM_PublishFreshSnapshot)->Iterations(500);

void BM_KeyEvent(benchmark::State& state) {
    FakePropsServer server;
    simlink::fg::Link link(options(server.port(), 18));
    panelhost::VariableStore store;
    StoreSink sink(store);
    wait_up(link, sink);
    for (auto _ : state) link.apply_key_event(event::heading_bug_up, 0);
}
BENCHMARK(BM_KeyEvent);

// The worker's side of one poll: cutting and parsing the answers to every property of the table.
void BM_ParsePollAnswers(benchmark::State& state) {
    std::string batch;
    for (const std::string& p : simlink::fg::property_index().paths) batch += "/> " + p + " = '123.456' (double)\r\n";
    simlink::fg::Readings r;
    std::string line;
    for (auto _ : state) {
        simlink::fg::LineSplitter s;
        s.feed(batch.data(), batch.size());
        while (s.next(line)) {
            const auto a = simlink::fg::parse_answer(line);
            if (!a) continue;
            const int i = simlink::fg::property_index().find(a->path);
            if (i >= 0) r.take(static_cast<std::size_t>(i), *a);
        }
        benchmark::DoNotOptimize(r.numbers.data());
    }
    state.counters["properties"] = static_cast<double>(simlink::fg::property_index().paths.size());
}
BENCHMARK(BM_ParsePollAnswers);

}  // namespace
