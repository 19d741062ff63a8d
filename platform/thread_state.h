#pragma once
// Internal to the platform: the bookkeeping that the clock and the threads share.

#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>

namespace plat::detail {

enum class Phase { active, sleeping, finished };

struct ThreadState {
    std::thread thread;
    std::atomic<bool> stop{false};
    std::atomic<bool> running{true};
    // Guarded by the clock's mutex.
    Phase phase = Phase::active;
    std::uint64_t deadline = 0;
};

// The state of the calling thread, or null on threads the platform did not start.
ThreadState* current_thread_state();
void set_current_thread_state(ThreadState* state);

// Registration with the clock, so simulated time knows which threads to wait for.
void clock_register(const std::shared_ptr<ThreadState>& state);
void clock_thread_finished(ThreadState& state);
// Wakes the thread from a sleep after a stop request.
void clock_wake(ThreadState& state);

}  // namespace plat::detail
