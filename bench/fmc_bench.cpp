// The FMC's guidance cycle with the 13-waypoint plan loaded and EXEC engaged with HRZ, VRT and
// SPD: once with the aircraft moving every cycle (the full computation and the PROGRESS page),
// once standing still (the change test alone). Run with
//   fmc_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <map>

#include "fmcomputer/guidance.h"
#include "fmcomputer/plan.h"
#include "fmcomputer/simvars.h"
#include "fmcomputer/state.h"
#include "fmcomputer/workers.h"
#include "host/binding.h"
#include "host/tokens.h"

namespace token = gauge::token;

namespace {

std::map<int, double> values;
std::atomic<long> events_sent{0};

void lookup_var(gauge::VariableRecord* r) {
    auto it = values.find(r->token);
    r->value.d = it == values.end() ? 0.0 : it->second;
}
void send_key_event(std::uint32_t, std::uint32_t) { ++events_sent; }

gauge::PanelServices make_services() {
    gauge::PanelServices s{};
    s.lookup_var = lookup_var;
    s.initialize_var = lookup_var;
    s.send_key_event = send_key_event;
    return s;
}
gauge::PanelServices services = make_services();

gauge::GaugeHeader bench_header = {610,     "fmc_bench", nullptr, nullptr, nullptr, nullptr, nullptr,
                                   nullptr, nullptr,     nullptr, 0,       nullptr, nullptr, nullptr};

// A root of its own with the one plan, loaded and engaged as a pilot would.
void set_up() {
    static bool done = false;
    if (done) return;
    done = true;
    namespace fs = std::filesystem;
    const fs::path root = fs::temp_directory_path() / "fmc_bench_root";
    fs::create_directories(root / "NavData" / "FlightPlans");
    fs::copy_file(FMC_BENCH_PLAN, root / "NavData" / "FlightPlans" / "thirteen.pln",
                  fs::copy_options::overwrite_existing);
    if (::chdir(root.c_str()) != 0) std::perror("chdir");
    values = {{71, -33.9461 / 8.998425275576774e-06}, {72, 151.1772 / 1.2789770768341246e-12},
              {73, 3000.0}, {61, 250.0}, {103, 1.0}, {123, 1.0}, {107, 168.0}, {109, 35000.0},
              {116, 280.0}, {3, 10.0}, {4, 20.0}};
    fmc::init_vars();
    fmc::build_plan_list();
    fmc::load_plan(0);
    fmc::current_page = fmc::page_progress;
    fmc::exec_on = true;
    fmc::build_exec_line();
    fmc::engage_exec();
}

void BM_GuidanceChanged(benchmark::State& state) {
    set_up();
    double lat = values[token::latitude];
    bool flip = false;
    for (auto _ : state) {
        values[token::latitude] = lat + (flip ? 150.0 : 0.0);  // across the change test's step
        flip = !flip;
        fmc::lookup_vars();
        fmc::guidance_cycle();
    }
    values[token::latitude] = lat;
}
BENCHMARK(BM_GuidanceChanged);

void BM_GuidanceUnchanged(benchmark::State& state) {
    set_up();
    fmc::lookup_vars();
    fmc::guidance_cycle();
    for (auto _ : state) {
        fmc::lookup_vars();
        fmc::guidance_cycle();
    }
}
BENCHMARK(BM_GuidanceUnchanged);

}  // namespace

GAUGE_MODULE(bench_header)

int main(int argc, char** argv) {
    ImportTable.panels.table = &services;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    fmc::stop_workers_and_wait();
    fmc::unpublish_plan();
    benchmark::Shutdown();
    return 0;
}
