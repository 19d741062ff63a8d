#include "fmcomputer/workers.h"

#include <cmath>

#include "fmcomputer/guidance.h"
#include "fmcomputer/simvars.h"
#include "fmcomputer/state.h"
#include "host/binding.h"
#include "platform/clock.h"
#include "platform/thread.h"

namespace fmc {

std::atomic<bool> heading_busy{false};
std::atomic<bool> heading_stop{false};
std::atomic<bool> vertical_stop{false};
std::atomic<int> speed_steps{0};
std::atomic<int> vertical_speed_steps{0};
std::atomic<double> altitude_target_ft{0.0};

namespace {

plat::Thread heading_thread;
plat::Thread vertical_thread;

// The heading thread defers nothing to others; it only waits for its own stop flag.
bool heading_stopped() { return heading_stop.load() || plat::stop_requested(); }
bool vertical_stopped() { return vertical_stop.load() || plat::stop_requested(); }

void turn_heading(int n) {
    heading_busy = true;
    if (n > 0) {
        do {
            if (heading_stopped()) break;
            --n;
            gauge::send_key_event(event::heading_bug_up);
            plat::sleep_ms(200);
        } while (n > 0);
    } else {
        while (n < 0 && !heading_stopped()) {
            gauge::send_key_event(event::heading_bug_down);
            plat::sleep_ms(200);
            ++n;
        }
    }
    heading_stop = false;
    heading_busy = false;
    plat::sleep_ms(1000);
}

// Near the altitude setting (within 2000) the speed and vertical-speed stepping stops.
bool near_altitude_setting() {
    const double delta = shared_ap_altitude.load() - shared_altitude_m.load() / units_factor;
    return std::fabs(std::round(delta)) < 2000.0;
}

// Steps a shared count towards zero, one event each; false when stopped (the flag cleared).
bool step_count(std::atomic<int>& count, unsigned up_event, unsigned down_event, unsigned pause_ms) {
    while (count.load() > 0) {
        if (vertical_stopped()) return false;
        gauge::send_key_event(up_event);
        plat::sleep_ms(pause_ms);
        if (near_altitude_setting()) break;
        --count;
    }
    while (count.load() < 0) {
        if (vertical_stopped()) return false;
        gauge::send_key_event(down_event);
        plat::sleep_ms(pause_ms);
        if (near_altitude_setting()) break;
        ++count;
    }
    return true;
}

void step_altitude(int s) {
    const double target = altitude_target_ft.load() / units_factor * 0.3048;
    if (s < 0) {
        while (!vertical_stopped()) {
            gauge::send_key_event(event::altitude_down);
            plat::sleep_ms(200);
            if (shared_ap_altitude.load() < target || ++s == 0) break;
        }
    } else if (s > 0) {
        while (!vertical_stopped()) {
            gauge::send_key_event(event::altitude_up);
            plat::sleep_ms(200);
            if (target < shared_ap_altitude.load() || --s < 1) break;
        }
    }
}

void step_vertical(int s) {
    plat::sleep_ms(1000);
    // Waits on the host's clock in short steps while a turn is being dialled in.
    while (heading_busy.load() && !plat::stop_requested()) plat::sleep_ms(10);
    bool running = true;
    if (spd_on) running = step_count(speed_steps, event::speed_up, event::speed_down, 100);
    if (running) running = step_count(vertical_speed_steps, event::vertical_speed_up, event::vertical_speed_down, 200);
    if (running) step_altitude(s);
    vertical_stop = false;
}

}  // namespace

bool heading_running() { return heading_thread.running(); }
bool vertical_running() { return vertical_thread.running(); }

bool start_heading_thread(int turn) {
    if (heading_running()) return false;
    heading_thread.join();
    // A stop asked of a thread that has ended since has nobody left to stop.
    heading_stop = false;
    heading_thread = plat::Thread::start([turn] { turn_heading(turn); }, plat::ThreadPriority::normal, "fmc heading");
    return true;
}

bool start_vertical_thread(int altitude_steps) {
    if (vertical_running()) return false;
    vertical_thread.join();
    vertical_stop = false;
    vertical_thread =
        plat::Thread::start([altitude_steps] { step_vertical(altitude_steps); }, plat::ThreadPriority::normal,
                            "fmc vertical");
    return true;
}

void stop_workers_and_wait() {
    heading_stop = true;
    heading_thread.stop_and_join();
    heading_thread = plat::Thread();
    vertical_stop = true;
    vertical_thread.stop_and_join();
    vertical_thread = plat::Thread();
    heading_stop = false;
    vertical_stop = false;
    heading_busy = false;
}

}  // namespace fmc
