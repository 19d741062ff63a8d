#include "platform/thread.h"

#include <pthread.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <exception>

#include "platform/thread_state.h"

namespace plat {
namespace {

void apply_priority(ThreadPriority priority) {
    // Per-thread niceness is how Linux expresses a background thread; failure only loses the hint.
    if (priority == ThreadPriority::lowest) (void)::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), 19);
}

void run_body(detail::ThreadState* state, const std::function<void()>& body, const std::string& name) {
    detail::set_current_thread_state(state);
    try {
        body();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "thread %s: stopped by an error: %s\n", name.c_str(), e.what());
    } catch (...) {
        std::fprintf(stderr, "thread %s: stopped by an unknown error\n", name.c_str());
    }
    state->running = false;
    detail::clock_thread_finished(*state);
}

}  // namespace

Thread Thread::start(std::function<void()> body, ThreadPriority priority, std::string name) {
    Thread t;
    t.state_ = std::make_shared<detail::ThreadState>();
    detail::clock_register(t.state_);
    detail::ThreadState* raw = t.state_.get();
    raw->thread = std::thread([raw, priority, body = std::move(body), name = std::move(name)] {
        if (!name.empty()) {
            char short_name[16];
            std::snprintf(short_name, sizeof short_name, "%s", name.c_str());
            pthread_setname_np(pthread_self(), short_name);
        }
        apply_priority(priority);
        run_body(raw, body, name);
    });
    return t;
}

Thread::Thread(Thread&& other) noexcept : state_(std::move(other.state_)) {}

Thread& Thread::operator=(Thread&& other) noexcept {
    if (this != &other) {
        stop_and_join();
        state_ = std::move(other.state_);
    }
    return *this;
}

Thread::~Thread() { stop_and_join(); }

bool Thread::running() const { return state_ && state_->running; }

void Thread::request_stop() {
    if (!state_) return;
    state_->stop = true;
    detail::clock_wake(*state_);
}

void Thread::join() {
    if (!state_ || !state_->thread.joinable()) return;
    if (state_->thread.get_id() == std::this_thread::get_id()) return;
    state_->thread.join();
}

bool stop_requested() {
    detail::ThreadState* self = detail::current_thread_state();
    return self && self->stop;
}

}  // namespace plat
