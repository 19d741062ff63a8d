// The demo flight on the default panel through the real host, and what a viewer costs: the idle
// cycle and the cruise cycle with a viewer taking the windows every cycle, and one composition of
// the whole default panel.

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>

#include "panelhost/panel.h"
#include "panelhost/screen_frame.h"
#include "panelhost/session.h"

namespace {

namespace fs = std::filesystem;

std::unique_ptr<panelhost::Session> open_panel(const std::string& name, bool demo) {
    fs::remove_all(fs::temp_directory_path() / "panel_bench" / name);
    const auto options = panelhost::panel_options((fs::temp_directory_path() / "panel_bench" / name).string(), demo);
    fs::remove_all(options.out);
    auto s = panelhost::Session::open(options);
    if (!s) return nullptr;
    return std::move(s).value();
}

int pictures_in(const std::string& dir) {
    int n = 0;
    for (const auto& e : fs::directory_iterator(dir)) n += e.path().extension() == ".png";
    return n;
}

// The whole demo, headless, as the main job flies it: simulated seconds per wall second.
void BM_DemoFlight(benchmark::State& state) {
    constexpr double kFlight = 3600;  // the whole demo, to the stop on the runway
    double simulated = 0, wall = 0;
    int pictures = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto s = open_panel("demo", true);
        if (!s) {
            state.SkipWithError("the default panel does not load");
            return;
        }
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        s->run_for(kFlight);
        if (!s->write_outputs()) state.SkipWithError("the outputs were not written");
        wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        simulated += kFlight;
        state.PauseTiming();
        pictures = pictures_in(s->out());
        s.reset();
        state.ResumeTiming();
    }
    state.counters["sim_s_per_wall_s"] = simulated / wall;
    state.counters["pictures"] = pictures;
}
BENCHMARK(BM_DemoFlight)->Unit(benchmark::kSecond)->Iterations(1)->Repetitions(3);

// Nothing changes: the viewer finds nothing to take.
void BM_IdleCycleWithViewer(benchmark::State& state) {
    auto s = open_panel("idle-viewer", false);
    if (!s) {
        state.SkipWithError("the default panel does not load");
        return;
    }
    s->run_for(6);
    panelhost::ScreenFrame frame;
    frame.refresh(s->panel());
    for (auto _ : state) {
        s->step();
        benchmark::DoNotOptimize(frame.refresh(s->panel()));
    }
}
BENCHMARK(BM_IdleCycleWithViewer)->Unit(benchmark::kMicrosecond);

// In cruise with the FMC flying: the displays and the moving readouts change, the rest does not.
void BM_CruiseCycleWithViewer(benchmark::State& state) {
    auto s = open_panel("cruise-viewer", true);
    if (!s) {
        state.SkipWithError("the default panel does not load");
        return;
    }
    s->run_for(600);
    panelhost::ScreenFrame frame;
    frame.refresh(s->panel());
    double area = 0;
    std::int64_t cycles = 0;
    for (auto _ : state) {
        s->step();
        for (const panelhost::Rect& r : frame.refresh(s->panel())) area += double(r.w) * r.h;
        ++cycles;
    }
    state.counters["recomposed_share"] = area / (double(cycles) * frame.width() * frame.height());
}
BENCHMARK(BM_CruiseCycleWithViewer)->Unit(benchmark::kMicrosecond);

void BM_WholeCompositionOfTheDefaultPanel(benchmark::State& state) {
    auto s = open_panel("whole", false);
    if (!s) {
        state.SkipWithError("the default panel does not load");
        return;
    }
    s->run_for(6);
    panelhost::Window& w = *s->panel().windows().at(0);
    for (auto _ : state) {
        for (panelhost::GaugeInstance* g : w.gauges) g->mark_changed();  // every gauge drawn again too
        s->panel().compose_whole(w);
    }
}
BENCHMARK(BM_WholeCompositionOfTheDefaultPanel)->Unit(benchmark::kMicrosecond);

}  // namespace
