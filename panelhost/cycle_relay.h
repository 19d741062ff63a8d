#pragma once
// Hands the session's cycles on to a listener of another library's kind (the browser server's, the
// line protocol's: anything with before_cycle and after_cycle), taking part in the cycles only while
// a listener is set.

#include "panelhost/session.h"

namespace panelhost {

template <typename Listener>
class CycleRelay final : private CycleHook {
public:
    explicit CycleRelay(Session& session) : session_(session) {}
    ~CycleRelay() override { set(nullptr); }
    CycleRelay(const CycleRelay&) = delete;
    CycleRelay& operator=(const CycleRelay&) = delete;

    void set(Listener* listener) {
        if (listener && !listener_) session_.add_cycle_hook(this);
        if (!listener && listener_) session_.remove_cycle_hook(this);
        listener_ = listener;
    }

private:
    void before_cycle() override { listener_->before_cycle(); }
    void after_cycle() override { listener_->after_cycle(); }

    Session& session_;
    Listener* listener_ = nullptr;
};

}  // namespace panelhost
