#pragma once
// Worker threads for the modules (the navaid search, the FMC's autopilot pacing). A thread is
// stopped cooperatively: request_stop() wakes it from any sleep_ms and stop_requested() tells its
// body to return; the owner then waits for it. Killing a thread that may hold a lock is never done.

#include <functional>
#include <memory>
#include <mutex>
#include <string>

namespace plat {

enum class ThreadPriority { lowest, normal };

namespace detail {
struct ThreadState;
}

class Thread {
public:
    // Starts body on a new thread. The priority is a hint to the scheduler.
    static Thread start(std::function<void()> body, ThreadPriority priority = ThreadPriority::normal,
                        std::string name = {});

    Thread() = default;
    Thread(Thread&&) noexcept;
    Thread& operator=(Thread&&) noexcept;
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;
    // Asks the thread to stop and waits for it.
    ~Thread();

    bool started() const { return state_ != nullptr; }
    // True until the body has returned.
    bool running() const;
    void request_stop();
    // Waits for the body to return. Called from the thread itself it returns at once.
    void join();
    void stop_and_join() {
        request_stop();
        join();
    }

private:
    std::shared_ptr<detail::ThreadState> state_;
};

// For the body of a platform thread: has its owner asked it to stop? False on other threads.
bool stop_requested();

// A lock that the same thread may take again, as the modules' critical sections allow.
using Lock = std::recursive_mutex;
using LockGuard = std::lock_guard<std::recursive_mutex>;

}  // namespace plat
