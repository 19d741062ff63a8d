// One panel cycle of the default panel through the real host: idle (nothing changes, so nothing
// is redrawn) and busy (every control's picture changes each cycle, and with them both displays).

#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>

#include "panelhost/session.h"
#include "platform/shared_block.h"

namespace {

std::unique_ptr<panelhost::Session> open_default_panel(const char* name) {
    panelhost::SessionOptions options;
    options.out = (std::filesystem::temp_directory_path() / "panel_bench" / name).string();
    std::filesystem::remove_all(options.out);
    // Nothing moves unless the benchmark moves it: the host's own aircraft stays out.
    options.own_aircraft = false;
    auto session = panelhost::Session::open(options);
    if (!session) return nullptr;
    auto s = std::move(session).value();
    s->run_for(1);  // past every start-up delay
    return s;
}

void write_field(void* block, std::size_t offset, const char* text) {
    char field[10] = {};
    std::snprintf(field, sizeof field, "%s", text);
    std::memcpy(static_cast<char*>(block) + offset, field, sizeof field);
}

void BM_PanelCycleIdle(benchmark::State& state) {
    auto s = open_default_panel("idle");
    if (!s) {
        state.SkipWithError("the default panel does not load");
        return;
    }
    for (auto _ : state) s->step();
}
BENCHMARK(BM_PanelCycleIdle);

void BM_PanelCycleEverythingChanging(benchmark::State& state) {
    auto s = open_default_panel("busy");
    auto nd = plat::SharedBlock::open_existing("NDPassData");
    auto fd = plat::SharedBlock::open_existing("PassData");
    if (!s || !nd || !fd) {
        state.SkipWithError("the default panel does not load");
        return;
    }
    auto nd_view = nd->map(plat::Access::read_write);
    auto fd_view = fd->map(plat::Access::read_write);
    bool flip = false;
    for (auto _ : state) {
        flip = !flip;
        // As the displays would: every knob, lamp and switch moves.
        write_field(nd_view->data(), 0, flip ? "NDMode=0" : "NDMode=1");
        write_field(nd_view->data(), 10, flip ? "MapMode=2" : "MapMode=0");
        write_field(nd_view->data(), 20, flip ? "Item=0x01" : "Item=0x1E");
        write_field(nd_view->data(), 30, flip ? "Range=010" : "Range=640");
        write_field(fd_view->data(), 0, flip ? "FDMode=2" : "FDMode=0");
        s->step();
    }
}
BENCHMARK(BM_PanelCycleEverythingChanging);

}  // namespace
