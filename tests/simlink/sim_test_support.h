#pragma once
// What the link's tests share: a sink that records the tokens, the shipped binding files, and
// publishing as the panel does until something holds.

#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <string>
#include <thread>

#include "sim/aircraft.h"
#include "simlink/engine/bindings.h"
#include "simlink/engine/link.h"

struct RecordingSink : sim::TokenSink {
    std::map<int, double> d;
    std::map<int, std::int32_t> i;
    std::map<int, std::string> t;
    void set_double(int token, double v) override { d[token] = v; }
    void set_int(int token, std::int32_t v) override { i[token] = v; }
    void set_text(int token, std::string_view v) override { t[token] = std::string(v); }
};

// A binding file shipped under share/cockpit-panel/sim/ ("flightgear-generic", "xplane").
inline simlink::Bindings shipped_bindings(const std::string& name) {
    auto b = simlink::load_bindings(std::string(SHIPPED_SIM_DIR) + "/" + name);
    if (!b) ADD_FAILURE() << b.error();
    return b ? std::move(b).value() : simlink::Bindings{};
}

// Publishes every few milliseconds, as the panel would, until the condition holds (or 10 s pass).
template <class F>
bool publish_until(simlink::Link& link, RecordingSink& sink, F done) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < end) {
        link.publish(sink);
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}
