// What a line protocol client's watches cost the panel's cycle: the server's work on the panel
// thread (the commands taken before the cycle, the watched values compared and the changes handed
// to the sockets' thread after it), timed inside the real cycle of the demo's flight, with a client
// reading on its own thread. Timed in the panel thread's own processor time, so that other programs
// on a busy machine do not count. The goal: a watch of 100 elements under 20 us a cycle.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <ctime>
#include <filesystem>
#include <thread>
#include <vector>

#include "homeio/io_server.h"
#include "panelhost/io_source.h"
#include "panelhost/session.h"

namespace {

namespace fs = std::filesystem;

double thread_seconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Stamps the time as the cycle's hooks pass it: one before the server's hooks, one after.
class Stopwatch final : public panelhost::CycleHook {
public:
    explicit Stopwatch(double& mark) : mark_(mark) {}
    void before_cycle() override { mark_ = thread_seconds(); }
    void after_cycle() override { mark_ = thread_seconds(); }

private:
    double& mark_;
};

// A cycle's server work: from the first stopwatch to the second, before and after the cycle.
class Span final : public panelhost::CycleHook {
public:
    Span(double& start, double& seconds) : start_(start), seconds_(seconds) {}
    void before_cycle() override { seconds_ += thread_seconds() - start_; }
    void after_cycle() override { seconds_ += thread_seconds() - start_; }

private:
    double& start_;
    double& seconds_;
};

int connect_to(int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<std::uint16_t>(port));
    inet_pton(AF_INET, "127.0.0.1", &addr.sin_addr);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// The argument: how many elements are watched; -1 every element of the panel.
void BM_WatchCostPerCycle(benchmark::State& state) {
    int watches = static_cast<int>(state.range(0));
    const auto out = fs::temp_directory_path() / "panel_bench" / ("homeio" + std::to_string(watches));
    fs::remove_all(out);
    auto opened = panelhost::Session::open(panelhost::panel_options(out.string(), true));
    if (!opened) {
        state.SkipWithError(opened.error().c_str());
        return;
    }
    panelhost::Session& session = *opened.value();
    session.run_for(60);  // off the ground, so that the instruments move

    double mark = 0;
    double seconds = 0;
    Stopwatch start(mark);
    Span span(mark, seconds);
    session.add_cycle_hook(&start);
    auto panel = panelhost::io_panel(session, true);
    auto server = homeio::IoServer::start(*panel, {});
    if (!server) {
        state.SkipWithError(server.error().c_str());
        return;
    }
    session.add_cycle_hook(&span);

    const int fd = connect_to(server.value()->port());
    std::string lines;
    int listed = 0;
    for (auto& g : session.panel().gauges())
        for (std::size_t i = 0; i < g->elements.size() && (watches < 0 || listed < watches); ++i, ++listed)
            lines += "watch " + g->placement.module + " " + std::to_string(i) + "\n";
    if (watches < 0) watches = listed;
    if (listed < watches) {
        state.SkipWithError("the panel has fewer elements than asked for");
        return;
    }
    if (!lines.empty() && ::send(fd, lines.data(), lines.size(), 0) < 0) state.SkipWithError("cannot send");
    std::atomic<bool> done{false};
    std::atomic<std::uint64_t> received{0};
    std::thread reader([&] {
        char buffer[65536];
        while (!done) {
            pollfd p{fd, POLLIN, 0};
            if (::poll(&p, 1, 50) > 0) {
                const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
                if (n <= 0) break;
                received += static_cast<std::uint64_t>(n);
            }
        }
    });
    session.run_for(2);  // the watches taken and told once

    std::uint64_t cycles = 0;
    const std::uint64_t received_before = received;
    std::vector<double> each;
    for (auto _ : state) {
        seconds = 0;
        session.step();
        state.SetIterationTime(seconds);
        each.push_back(seconds);
        ++cycles;
    }
    done = true;
    reader.join();
    ::close(fd);
    session.remove_cycle_hook(&span);
    server.value().reset();
    session.remove_cycle_hook(&start);
    state.counters["watches"] = watches;
    // The typical cycle, apart from the few a busy machine's other programs slow down.
    std::sort(each.begin(), each.end());
    state.counters["median_us"] = each.empty() ? 0.0 : each[each.size() / 2] * 1e6;
    state.counters["bytes_per_cycle"] = static_cast<double>(received - received_before) / static_cast<double>(cycles);
}
BENCHMARK(BM_WatchCostPerCycle)->Arg(0)->Arg(100)->Arg(-1)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(1800);

}  // namespace
