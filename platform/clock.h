#pragma once
// The host's clock. Modules read time and sleep through it, never through the system directly, so
// that a headless host can run in simulated time: the host advances the clock one panel cycle per
// step, and a worker thread sleeping 200 ms wakes once the host has advanced 200 ms. Such runs are
// fast and repeatable, because each advance waits until every platform thread is asleep again.

#include <cstdint>

namespace plat {

enum class ClockMode { real, simulated };

// Chosen by the host before it starts modules. Simulated time starts at start_ms.
void set_clock_mode(ClockMode mode, std::uint64_t start_ms = 0);
ClockMode clock_mode();

// Milliseconds since the host started (or since the simulated start).
std::uint64_t now_ms();
// Whole seconds of the same clock.
std::uint32_t now_seconds();

// Sleeps until the clock has passed now + ms. Returns false early when the calling platform thread
// has been asked to stop. In simulated time a thread that the platform did not start does not wait:
// only the host moves that clock.
bool sleep_ms(std::uint32_t ms);

// Simulated time only: moves the clock forward by ms, waking each sleeper at its own deadline in
// order, and returns once every platform thread sleeps or has finished (or after a wall-clock guard
// of two seconds, twenty in a ThreadSanitizer build, so a thread blocked elsewhere cannot hang the
// host).
void advance_clock_ms(std::uint32_t ms);

}  // namespace plat
