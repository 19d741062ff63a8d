// What the X-Plane link costs with every subscription live: the panel thread's publish each cycle,
// the worker's reading of one cycle's replies, and the traffic each way at the panel's 18 cycles
// a second (packets and bytes a second, as counters).

#include <benchmark/benchmark.h>

#include <chrono>
#include <thread>

#include "fake_xplane.h"
#include "link_bench_support.h"
#include "simlink/engine/link.h"
#include "simlink/xplane/udp_transport.h"

namespace {

const simlink::Bindings& shipped() {
    static const simlink::Bindings b = simlink::load_bindings(BENCH_SHIPPED_SIM_DIR "/xplane").value();
    return b;
}

struct Linked {
    FakeXPlane x;
    simlink::xp::UdpTransport* transport = nullptr;
    std::unique_ptr<simlink::Link> link;
    explicit Linked(double rate) {
        simlink::xp::UdpOptions u;
        u.host = "127.0.0.1";
        u.port = x.port();
        u.rate_hz = rate;
        auto t = std::make_unique<simlink::xp::UdpTransport>(u);
        transport = t.get();
        simlink::LinkOptions o;
        o.rate_hz = rate;
        link = std::make_unique<simlink::Link>(shipped(), std::move(t), o);
    }
    // Until every subscription has been sent and answered.
    void wait_live(StoreSink& sink) {
        std::size_t all = 0;
        for (bool text : link->index().is_text) all += text ? 8 : 1;
        while (link->answers() < 10 || x.subscriptions() < all) {
            link->publish(sink);
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
};

// A panel cycle's publish: every bound token from the newest snapshot.
void BM_XPlanePublishPerCycle(benchmark::State& state) {
    Linked l(18);
    panelhost::VariableStore store;
    StoreSink sink(store);
    l.wait_live(sink);
    for (auto _ : state) l.link->publish(sink);
    state.counters["subscriptions"] = static_cast<double>(l.x.subscriptions());
}
BENCHMARK(BM_XPlanePublishPerCycle);

// The worker's side of a cycle: one reply for every subscription read and taken into readings.
void BM_XPlaneReadCycleReplies(benchmark::State& state) {
    const simlink::PropertyIndex index = simlink::build_index(shipped());
    std::vector<std::string> packets;
    std::string packet("RREF,", 5);
    std::size_t subscriptions = 0;
    for (bool text : index.is_text) subscriptions += text ? 8 : 1;  // a text: eight bytes
    for (std::size_t i = 0; i < subscriptions; ++i) {
        const std::int32_t k = static_cast<std::int32_t>(i);
        const float v = 1.5f;
        packet.append(reinterpret_cast<const char*>(&k), 4).append(reinterpret_cast<const char*>(&v), 4);
        if ((packet.size() - 5) / 8 == simlink::xp::max_rref_pairs) {
            packets.push_back(packet);
            packet.assign("RREF,", 5);
        }
    }
    packets.push_back(packet);
    simlink::Readings r(index);
    for (auto _ : state) {
        for (const std::string& p : packets) {
            const auto values = simlink::xp::parse_rref_reply(p);
            for (const auto& v : *values)
                if (static_cast<std::size_t>(v.index) < index.paths.size()) r.take_number(static_cast<std::size_t>(v.index), v.value);
        }
        benchmark::DoNotOptimize(r.numbers.data());
    }
    state.counters["packets"] = static_cast<double>(packets.size());
}
BENCHMARK(BM_XPlaneReadCycleReplies);

// Ten seconds linked at 18 cycles a second, subscriptions and all: the traffic each way.
void BM_XPlaneTrafficAt18Hz(benchmark::State& state) {
    for (auto _ : state) {
        Linked l(18);
        panelhost::VariableStore store;
        StoreSink sink(store);
        l.wait_live(sink);
        const auto before = l.transport->counts();
        const auto start = std::chrono::steady_clock::now();
        while (std::chrono::steady_clock::now() - start < std::chrono::seconds(10)) {
            l.link->publish(sink);
            std::this_thread::sleep_for(std::chrono::milliseconds(55));
        }
        const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const auto after = l.transport->counts();
        state.counters["packets_out_per_s"] = static_cast<double>(after.packets_out - before.packets_out) / s;
        state.counters["bytes_out_per_s"] = static_cast<double>(after.bytes_out - before.bytes_out) / s;
        state.counters["packets_in_per_s"] = static_cast<double>(after.packets_in - before.packets_in) / s;
        state.counters["bytes_in_per_s"] = static_cast<double>(after.bytes_in - before.bytes_in) / s;
        state.counters["subscriptions"] = static_cast<double>(l.x.subscriptions());
    }
}
BENCHMARK(BM_XPlaneTrafficAt18Hz)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
