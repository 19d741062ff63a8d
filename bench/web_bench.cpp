// What the browser server sends one page of the default panel's main window, paced at the panel's
// rate as `panelhost run --web` runs: bytes per second idle (the goal is none), in cruise, and with
// the flight and navigation displays drawn again every cycle; the time from a click received to
// the changed picture handed to the connection (the goal is under one panel cycle); and what 1, 8
// and 24 pages of the main window cost the host's processor in the demo's climb (run under
// `taskset -c 0` for a small board's single core: the share of each cycle the host then uses); and
// the rectangles a page is sent in cruise encoded with each filter and compression level, to choose.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <atomic>
#include <ctime>
#include <filesystem>
#include <png.h>
#include <pthread.h>
#include <thread>

#include "panelhost/panel.h"
#include "panelhost/session.h"
#include "tests/web/ws_client.h"
#include "panelhost/browser_source.h"
#include "platform/canvas/png_file.h"
#include "web/panel_server.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr double kRate = 18.0;
constexpr double kMeasured = 5.0;  // wall seconds per measurement

struct Rig {
    std::unique_ptr<panelhost::Session> session;
    std::unique_ptr<web::PanelWebServer> server;
    std::unique_ptr<webtest::WsClient> page;
};

Rig open_rig(const std::string& name, bool demo, double warm_up) {
    Rig r;
    fs::remove_all(fs::temp_directory_path() / "panel_bench" / name);
    const auto options = panelhost::panel_options((fs::temp_directory_path() / "panel_bench" / name).string(), demo);
    fs::remove_all(options.out);
    auto s = panelhost::Session::open(options);
    if (!s) return r;
    r.session = std::move(s).value();
    r.session->run_for(warm_up);
    auto server = panelhost::serve_in_browser(*r.session, web::WebOptions{});
    if (!server) return Rig{};
    r.server = std::move(server).value();
    r.page = std::make_unique<webtest::WsClient>(r.server->port(), "/ws/0");
    return r;
}

// Cycles at the panel's rate for the time, the page reading all it is sent; the bytes it read.
// `between` is called once between each cycle and the next, `share` of the way from one to the
// other: where a page's input arrives while the panel thread waits.
std::uint64_t paced(Rig& r, double seconds, const std::function<void(int cycle)>& between = {},
                    const std::function<double(int cycle)>& share = {}) {
    std::uint64_t bytes = 0;
    const auto start = Clock::now();
    const auto period = std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(1.0 / kRate));
    const int cycles = static_cast<int>(seconds * kRate);
    for (int i = 0; i < cycles; ++i) {
        r.session->step();
        const auto next = start + period * (i + 1);
        auto input_at = next - period + std::chrono::duration_cast<Clock::duration>(period * (share ? share(i) : 0.0));
        bool input_done = !between;
        while (true) {
            const auto until = input_done ? next : std::min(next, input_at);
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now()).count();
            auto m = r.page->receive(static_cast<int>(std::max<long long>(left, 0)));
            if (m) bytes += m->data.size();
            if (!input_done && Clock::now() >= input_at) {
                between(i);
                input_done = true;
            }
            if (!m && input_done && Clock::now() >= next) break;
        }
    }
    return bytes;
}

void stream(benchmark::State& state, const std::string& name, bool demo, double warm_up, bool redraw_displays) {
    Rig r = open_rig(name, demo, warm_up);
    if (!r.page || !r.page->open()) {
        state.SkipWithError("the panel or its server did not start");
        return;
    }
    paced(r, 1.0);  // the whole window first, which every page is sent once
    std::uint64_t bytes = 0;
    double seconds = 0;
    for (auto _ : state) {
        std::function<void(int)> redraw;
        if (redraw_displays)
            redraw = [&](int) {
                for (auto& g : r.session->panel().gauges())
                    if (g->placement.module == "flightdisplay" || g->placement.module == "navdisplay") g->mark_changed();
            };
        bytes += paced(r, kMeasured, redraw);
        seconds += kMeasured;
    }
    state.counters["bytes_per_s"] = double(bytes) / seconds;
    state.counters["frames_sent"] = double(r.server->stats().frames_sent);
    r.server.reset();
}

void BM_IdleBytesPerSecond(benchmark::State& state) { stream(state, "web-idle", false, 6, false); }
BENCHMARK(BM_IdleBytesPerSecond)->Unit(benchmark::kSecond)->Iterations(1)->Repetitions(3);

void BM_CruiseBytesPerSecond(benchmark::State& state) { stream(state, "web-cruise", true, 600, false); }
BENCHMARK(BM_CruiseBytesPerSecond)->Unit(benchmark::kSecond)->Iterations(1)->Repetitions(3);

void BM_DisplaysRedrawnEveryCycleBytesPerSecond(benchmark::State& state) {
    stream(state, "web-displays", true, 600, true);
}
BENCHMARK(BM_DisplaysRedrawnEveryCycleBytesPerSecond)->Unit(benchmark::kSecond)->Iterations(1)->Repetitions(3);

// The FMC's MENU key and L1 in turn, twice a second, each arriving at another moment between two
// cycles: each click changes the FMC's page.
void BM_ClickToChangedFrame(benchmark::State& state) {
    Rig r = open_rig("web-click", false, 6);
    if (!r.page || !r.page->open()) {
        state.SkipWithError("the panel or its server did not start");
        return;
    }
    paced(r, 1.0);
    panelhost::GaugeInstance* fmc = r.session->panel().find_gauge("fmcomputer");
    if (!fmc) {
        state.SkipWithError("no FMC on the panel");
        return;
    }
    const int x0 = fmc->placement.x, y0 = fmc->placement.y;
    for (auto _ : state) {
        paced(r, kMeasured * 2, [&](int cycle) {
            if (cycle % 9 != 0) return;
            const bool menu = (cycle / 9) % 2 == 1;
            const int x = x0 + (menu ? 45 : 16), y = y0 + (menu ? 234 : 43);
            r.page->send_text("press " + std::to_string(x) + " " + std::to_string(y));
            r.page->send_text("release");
        }, [](int cycle) { return ((cycle / 9) % 10) / 10.0; });
    }
    std::vector<double> ms = r.server->stats().click_to_frame_ms;
    if (ms.empty()) {
        state.SkipWithError("no click changed the picture");
        return;
    }
    std::sort(ms.begin(), ms.end());
    state.counters["clicks"] = double(ms.size());
    state.counters["median_ms"] = ms[ms.size() / 2];
    state.counters["max_ms"] = ms.back();
    state.counters["cycle_ms"] = 1000.0 / kRate;
    r.server.reset();
}
BENCHMARK(BM_ClickToChangedFrame)->Unit(benchmark::kSecond)->Iterations(1)->Repetitions(3);

double cpu_seconds_of(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// Pages that read all they are sent on threads of their own, whose processor time is not the
// host's and is taken out of the process's.
class Readers {
public:
    Readers(int port, int count) {
        for (int i = 0; i < count; ++i) pages_.push_back(std::make_unique<webtest::WsClient>(port, "/ws/0"));
        for (auto& p : pages_)
            threads_.emplace_back([this, page = p.get()] {
                while (!stop_.load() && page->open())
                    if (auto m = page->receive(20)) bytes_ += m->data.size();
            });
    }
    ~Readers() {
        stop_ = true;
        for (auto& t : threads_) t.join();
    }
    bool open() const {
        return std::all_of(pages_.begin(), pages_.end(), [](const auto& p) { return p->open(); });
    }
    double cpu_seconds() {
        double sum = 0;
        for (auto& t : threads_) {
            clockid_t clock{};
            if (pthread_getcpuclockid(t.native_handle(), &clock) == 0) sum += cpu_seconds_of(clock);
        }
        return sum;
    }
    std::uint64_t bytes() const { return bytes_.load(); }

private:
    std::vector<std::unique_ptr<webtest::WsClient>> pages_;
    std::vector<std::thread> threads_;
    std::atomic<bool> stop_{false};
    std::atomic<std::uint64_t> bytes_{0};
};

// The host's processor time (the panel's cycles, the mirror, the encoding and the sending) with
// that many pages of the main window open in the climb, as a share of one core and of the cycle.
void BM_PagesInTheClimb(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    Rig r = open_rig("web-pages", true, 240);
    if (!r.page || !r.page->open()) {
        state.SkipWithError("the panel or its server did not start");
        return;
    }
    r.page.reset();
    Readers readers(r.server->port(), count);
    if (!readers.open()) {
        state.SkipWithError("a page did not open");
        return;
    }
    const auto period = std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(1.0 / kRate));
    auto cycles = [&](int n) {
        auto next = Clock::now();
        for (int i = 0; i < n; ++i) {
            r.session->step();
            next += period;
            std::this_thread::sleep_until(next);
        }
    };
    cycles(static_cast<int>(kRate));  // the whole window first, which every page is sent once
    double host = 0, wall = 0;
    int measured = 0;
    const std::uint64_t bytes_before = readers.bytes();
    for (auto _ : state) {
        const double process0 = cpu_seconds_of(CLOCK_PROCESS_CPUTIME_ID), readers0 = readers.cpu_seconds();
        const auto start = Clock::now();
        const int n = static_cast<int>(kMeasured * kRate);
        cycles(n);
        wall += std::chrono::duration<double>(Clock::now() - start).count();
        host += (cpu_seconds_of(CLOCK_PROCESS_CPUTIME_ID) - process0) - (readers.cpu_seconds() - readers0);
        measured += n;
    }
    state.counters["core_share"] = host / wall;
    state.counters["cycle_share"] = host / measured * kRate;
    state.counters["bytes_per_s_per_page"] = double(readers.bytes() - bytes_before) / wall / count;
    r.server.reset();
}
BENCHMARK(BM_PagesInTheClimb)->Arg(1)->Arg(4)->Arg(8)->Arg(24)->Unit(benchmark::kSecond)->Iterations(1)->Repetitions(3);

}  // namespace

namespace {

// The rectangles (decoded) of the picture messages a page was sent in three seconds of cruise.
std::vector<web::PicturePiece> cruise_pieces() {
    Rig r = open_rig("web-encode", true, 600);
    std::vector<web::PicturePiece> out;
    if (!r.page || !r.page->open()) return out;
    paced(r, 1.0);
    std::vector<std::vector<std::uint8_t>> messages;
    for (int i = 0; i < static_cast<int>(3 * kRate); ++i) {
        r.session->step();
        while (auto m = r.page->receive(20))
            if (m->opcode == 2) messages.push_back(m->data);
    }
    r.server.reset();
    for (const auto& m : messages) {
        auto u16 = [&](std::size_t at) { return m[at] | m[at + 1] << 8; };
        std::size_t at = 8;
        for (int i = 0; i < u16(2); ++i) {
            const std::size_t n = m[at + 8] | m[at + 9] << 8 | m[at + 10] << 16 | std::size_t(m[at + 11]) << 24;
            png_image image{};
            image.version = PNG_IMAGE_VERSION;
            if (png_image_begin_read_from_memory(&image, m.data() + at + 12, n)) {
                image.format = PNG_FORMAT_BGRA;
                web::PicturePiece piece{{u16(at), u16(at + 2), u16(at + 4), u16(at + 6)}, {}};
                piece.pixels.resize(std::size_t(image.width) * image.height);
                if (png_image_finish_read(&image, nullptr, piece.pixels.data(), 0, nullptr)) out.push_back(std::move(piece));
            }
            at += 12 + n;
        }
    }
    return out;
}

// Bytes and time per second of cruise with a zlib level (first argument) and a row filter
// (second: none, sub, up, paeth, adaptive).
void BM_EncodeCruiseWindow(benchmark::State& state) {
    static const std::vector<web::PicturePiece> pieces = cruise_pieces();
    if (pieces.empty()) {
        state.SkipWithError("no rectangles were sent in cruise");
        return;
    }
    const plat::PngCompression how{static_cast<int>(state.range(0)), static_cast<plat::PngFilter>(state.range(1))};
    std::size_t bytes = 0;
    for (auto _ : state) {
        bytes = 0;
        for (const auto& p : pieces) {
            auto png = plat::encode_png_xrgb(p.area.w, p.area.h, p.pixels, static_cast<std::size_t>(p.area.w), how);
            bytes += png ? png->size() : 0;
        }
    }
    state.counters["bytes_per_s"] = double(bytes) / 3.0;
    state.counters["pieces"] = double(pieces.size());
}
BENCHMARK(BM_EncodeCruiseWindow)->ArgsProduct({{1, 3, 4, 5, 6, 9}, {0, 1, 2, 3, 4}})->Unit(benchmark::kMillisecond);

}  // namespace
