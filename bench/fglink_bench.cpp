// What the FlightGear link costs the panel thread each cycle (publish into the host's variables,
// with and without a fresh snapshot), a key event, and the worker's parsing of one poll's answers.

#include <benchmark/benchmark.h>

#include <chrono>
#include <thread>

#include "fake_props_server.h"
#include "host/key_events.h"
#include "link_bench_support.h"
#include "simlink/engine/link.h"
#include "simlink/flightgear/props_protocol.h"
#include "simlink/flightgear/props_transport.h"

namespace event = gauge::event;

namespace {

const simlink::Bindings& generic() {
    static const simlink::Bindings b = simlink::load_bindings(BENCH_SHIPPED_SIM_DIR "/flightgear-generic").value();
    return b;
}

std::unique_ptr<simlink::Link> make_link(int port, double rate) {
    simlink::fg::PropsOptions p;
    p.port = port;
    simlink::LinkOptions o;
    o.rate_hz = rate;
    return std::make_unique<simlink::Link>(generic(), std::make_unique<simlink::fg::PropsTransport>(p), o);
}

void wait_up(simlink::Link& link, StoreSink& sink) {
    while (link.answers() < 2) {
        link.publish(sink);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

// A panel cycle's publish while the worker polls at 18 Hz: most cycles find the same snapshot.
void BM_PublishPerCycle(benchmark::State& state) {
    FakePropsServer server;
    server.set("/orientation/heading-magnetic-deg", "90");
    auto made = make_link(server.port(), 18);
    simlink::Link& link = *made;
    panelhost::VariableStore store;
    StoreSink sink(store);
    wait_up(link, sink);
    for (auto _ : state) link.publish(sink);
}
BENCHMARK(BM_PublishPerCycle);

// The same with a new snapshot before every publish (the worker polling as fast as it can).
void BM_PublishFreshSnapshot(benchmark::State& state) {
    FakePropsServer server;
    auto made = make_link(server.port(), 200);
    simlink::Link& link = *made;
    panelhost::VariableStore store;
    StoreSink sink(store);
    wait_up(link, sink);
    std::uint64_t seen = link.answers();
    for (auto _ : state) {
        state.PauseTiming();
        while (link.answers() == seen) std::this_thread::yield();
        seen = link.answers();
        state.ResumeTiming();
        link.publish(sink);
    }
}
BENCHMARK(BM_PublishFreshSnapshot)->Iterations(500);

void BM_KeyEvent(benchmark::State& state) {
    FakePropsServer server;
    auto made = make_link(server.port(), 18);
    simlink::Link& link = *made;
    panelhost::VariableStore store;
    StoreSink sink(store);
    wait_up(link, sink);
    for (auto _ : state) link.apply_key_event(event::heading_bug_up, 0);
}
BENCHMARK(BM_KeyEvent);

// The worker's side of one poll: cutting and parsing the answers to every property of the table.
void BM_ParsePollAnswers(benchmark::State& state) {
    std::string batch;
    const simlink::PropertyIndex index = simlink::build_index(generic());
    for (const std::string& p : index.paths) batch += "/> " + p + " = '123.456' (double)\r\n";
    simlink::Readings r(index);
    std::string line;
    for (auto _ : state) {
        simlink::fg::LineSplitter s;
        s.feed(batch.data(), batch.size());
        while (s.next(line)) {
            const auto a = simlink::fg::parse_answer(line);
            if (!a) continue;
            const int i = index.find(a->path);
            if (i < 0) continue;
            if (const auto v = simlink::fg::number_value(*a)) r.take_number(static_cast<std::size_t>(i), *v);
        }
        benchmark::DoNotOptimize(r.numbers.data());
    }
    state.counters["properties"] = static_cast<double>(index.paths.size());
}
BENCHMARK(BM_ParsePollAnswers);

}  // namespace
