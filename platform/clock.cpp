#include "platform/clock.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <vector>

#include "platform/thread_state.h"

namespace plat {
namespace {

using steady = std::chrono::steady_clock;

struct ClockState {
    std::mutex mutex;
    std::condition_variable sleepers;  // woken when time moves or a stop is requested
    std::condition_variable idle;      // woken when a thread goes to sleep or finishes
    std::atomic<ClockMode> mode{ClockMode::real};
    std::atomic<std::uint64_t> simulated_now{0};
    // Read by now_ms on any thread without the mutex, like the two above.
    std::atomic<steady::rep> real_start{steady::now().time_since_epoch().count()};
    std::vector<std::weak_ptr<detail::ThreadState>> threads;
};

ClockState& clock_state() {
    static ClockState instance;
    return instance;
}

thread_local detail::ThreadState* tls_state = nullptr;

// Built for ThreadSanitizer, threads run several times slower; the guard must not let the host run
// ahead of a thread that is only slow, or simulated runs stop being repeatable.
#if defined(__SANITIZE_THREAD__)
#define PANEL_SLOW_THREADS 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define PANEL_SLOW_THREADS 1
#endif
#endif
#ifdef PANEL_SLOW_THREADS
constexpr int kIdleGuardSeconds = 20;
#else
constexpr int kIdleGuardSeconds = 2;
#endif
constexpr auto kIdleGuard = std::chrono::seconds(kIdleGuardSeconds);

bool all_threads_idle(ClockState& c) {
    for (const auto& weak : c.threads)
        if (auto t = weak.lock(); t && t->phase == detail::Phase::active) return false;
    return true;
}

void wait_until_idle(ClockState& c, std::unique_lock<std::mutex>& lock) {
    if (!c.idle.wait_for(lock, kIdleGuard, [&] { return all_threads_idle(c); }))
        std::fprintf(stderr, "clock: a thread stayed busy for %d s of a simulated step\n", kIdleGuardSeconds);
}

// The earliest deadline of a sleeping thread that falls at or before target.
bool next_deadline(ClockState& c, std::uint64_t target, std::uint64_t& next) {
    bool found = false;
    for (const auto& weak : c.threads) {
        auto t = weak.lock();
        if (!t || t->phase != detail::Phase::sleeping || t->deadline > target) continue;
        if (!found || t->deadline < next) next = t->deadline;
        found = true;
    }
    return found;
}

void wake_due(ClockState& c, std::uint64_t now) {
    for (const auto& weak : c.threads) {
        auto t = weak.lock();
        // Marked active on the sleeper's behalf, so the advance waits until it has run and slept.
        if (t && t->phase == detail::Phase::sleeping && t->deadline <= now) t->phase = detail::Phase::active;
    }
    c.sleepers.notify_all();
}

}  // namespace

namespace detail {

ThreadState* current_thread_state() { return tls_state; }
void set_current_thread_state(ThreadState* state) { tls_state = state; }

void clock_register(const std::shared_ptr<ThreadState>& state) {
    ClockState& c = clock_state();
    std::lock_guard lock(c.mutex);
    std::erase_if(c.threads, [](const auto& weak) { return weak.expired(); });
    c.threads.push_back(state);
}

void clock_thread_finished(ThreadState& state) {
    ClockState& c = clock_state();
    std::lock_guard lock(c.mutex);
    state.phase = Phase::finished;
    c.idle.notify_all();
}

void clock_wake(ThreadState&) {
    ClockState& c = clock_state();
    std::lock_guard lock(c.mutex);
    c.sleepers.notify_all();
}

}  // namespace detail

void set_clock_mode(ClockMode mode, std::uint64_t start_ms) {
    ClockState& c = clock_state();
    std::lock_guard lock(c.mutex);
    c.mode = mode;
    c.simulated_now = start_ms;
    c.real_start = steady::now().time_since_epoch().count();
    c.sleepers.notify_all();
}

ClockMode clock_mode() { return clock_state().mode; }

std::uint64_t now_ms() {
    ClockState& c = clock_state();
    if (c.mode == ClockMode::simulated) return c.simulated_now;
    auto elapsed = steady::now() - steady::time_point(steady::duration(c.real_start.load()));
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

std::uint32_t now_seconds() { return static_cast<std::uint32_t>(now_ms() / 1000); }

bool sleep_ms(std::uint32_t ms) {
    ClockState& c = clock_state();
    detail::ThreadState* self = tls_state;
    std::unique_lock lock(c.mutex);
    if (c.mode == ClockMode::real) {
        if (!self) {
            lock.unlock();
            std::this_thread::sleep_for(std::chrono::milliseconds(ms));
            return true;
        }
        c.sleepers.wait_for(lock, std::chrono::milliseconds(ms), [&] { return self->stop.load(); });
        return !self->stop;
    }
    if (!self) return true;
    self->deadline = c.simulated_now + ms;
    self->phase = detail::Phase::sleeping;
    c.idle.notify_all();
    c.sleepers.wait(lock, [&] {
        return self->phase == detail::Phase::active || self->stop || c.mode == ClockMode::real;
    });
    self->phase = detail::Phase::active;
    return !self->stop;
}

void advance_clock_ms(std::uint32_t ms) {
    ClockState& c = clock_state();
    std::unique_lock lock(c.mutex);
    if (c.mode != ClockMode::simulated) return;
    const std::uint64_t target = c.simulated_now + ms;
    wait_until_idle(c, lock);
    std::uint64_t next = 0;
    while (next_deadline(c, target, next)) {
        c.simulated_now = std::max<std::uint64_t>(c.simulated_now, next);
        wake_due(c, c.simulated_now);
        wait_until_idle(c, lock);
    }
    c.simulated_now = target;
}

}  // namespace plat
