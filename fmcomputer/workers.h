#pragma once
// The heading and vertical worker threads: they step the autopilot's settings by paced key
// events on the host's clock (200 ms per heading degree; 100 ms per knot, 200 ms per vertical
// speed or altitude step). They share only these atomics with the panel thread.

#include <atomic>

namespace fmc {

extern std::atomic<bool> heading_busy;
extern std::atomic<bool> heading_stop;
extern std::atomic<bool> vertical_stop;
extern std::atomic<int> speed_steps;
extern std::atomic<int> vertical_speed_steps;
extern std::atomic<double> altitude_target_ft;

// Starts a thread unless one of its kind still runs; false when one does.
bool start_heading_thread(int turn);
bool start_vertical_thread(int altitude_steps);
bool heading_running();
bool vertical_running();
// Kill: asks both threads to stop and waits until they have ended.
void stop_workers_and_wait();

}  // namespace fmc
