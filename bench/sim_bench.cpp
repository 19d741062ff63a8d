// The host's aircraft alone, at the panel's 18 cycles a second: how many simulated seconds it flies
// per wall second, in cruise, in a climbing turn under the autopilot, and over the world data
// (nearest VOR and airport looked up as it moves).

#include <benchmark/benchmark.h>

#include "host/key_events.h"
#include "sim/aircraft.h"

namespace event = gauge::event;

namespace {

constexpr double cycle_s = 1.0 / 18.0;

class NullSink : public sim::TokenSink {
public:
    void set_double(int, double v) override { benchmark::DoNotOptimize(v); }
    void set_int(int, std::int32_t v) override { benchmark::DoNotOptimize(v); }
    void set_text(int, std::string_view) override {}
};

sim::Aircraft airborne(bool manoeuvre) {
    sim::Aircraft a;
    a.log = nullptr;
    sim::Placement p;
    p.lat = 37.0, p.lon = -122.0, p.altitude_ft = 10000, p.ias_kt = 280, p.heading_deg = 150, p.on_ground = false;
    a.place(p);
    if (manoeuvre) {
        for (std::uint32_t id : {65792u, 65807u, 65860u, 66112u}) a.apply_key_event(id, 0);
        for (int i = 0; i < 250; ++i) a.apply_key_event(event::altitude_up, 0);
        for (int i = 0; i < 25; ++i) a.apply_key_event(event::vertical_speed_up, 0);
        a.apply_key_event(event::altitude_hold_on, 0);
    }
    return a;
}

void fly(benchmark::State& state, sim::Aircraft& a, bool manoeuvre) {
    NullSink sink;
    std::int64_t cycles = 0;
    for (auto _ : state) {
        if (manoeuvre && cycles % 360 == 0) a.apply_key_event(cycles % 720 == 0 ? event::heading_bug_up : event::heading_bug_down, 0);
        a.step(cycle_s);
        a.publish(sink);
        ++cycles;
    }
    state.counters["sim_s_per_wall_s"] = benchmark::Counter(static_cast<double>(cycles) * cycle_s, benchmark::Counter::kIsRate);
}

void BM_Cruise(benchmark::State& state) {
    sim::Aircraft a = airborne(false);
    fly(state, a, false);
}

void BM_ClimbingTurnOnAutopilot(benchmark::State& state) {
    sim::Aircraft a = airborne(true);
    fly(state, a, true);
}

void BM_OverTheWorldData(benchmark::State& state) {
    auto world = sim::World::load_shared(PANEL_NAVDATA_DIR);
    if (!world) {
        state.SkipWithError("no world data");
        return;
    }
    sim::Aircraft a = airborne(true);
    a.use_world(world);
    fly(state, a, true);
}

}  // namespace

BENCHMARK(BM_Cruise);
BENCHMARK(BM_ClimbingTurnOnAutopilot);
BENCHMARK(BM_OverTheWorldData);
