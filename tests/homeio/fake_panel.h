#pragma once
// A panel for the protocol's tests: two windows, a few elements and variables whose values a test
// sets, and a record of every click, key, event and lever the protocol gave it.

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "homeio/io_panel.h"

namespace homeio::testing {

// A value the fake panel keeps, lent out as a Reading.
struct Value {
    bool is_text = false;
    double number = 0;
    std::string text;
    Reading reading() const { return {is_text, number, text}; }
};

class FakePanel : public IoPanel {
public:
    std::uint64_t loads = 1;
    std::vector<IoWindow> window_list{{1, "FMC", 282, 280, true}, {4, "Overhead \"40\"", 200, 150, false}};
    // Elements by "gauge element"; a key there is an element the panel has.
    std::map<std::string, Value> elements{{"fmcomputer 2", {true, 0, "MENU"}},
                                            {"geartalk 2", {false, 1, {}}},
                                            {"firepanel_by_Dunmore 0", {false, 0, {}}}};
    std::map<std::int32_t, Value> tokens;
    std::vector<std::string> calls;  // "click 1 16 43", "press ...", "release", "key 9 down", "event 65570 0"
    int held = 0;                    // presses not yet released
    bool own_aircraft = true;
    std::vector<std::pair<Lever, double>> levers;
    IoListener* listener = nullptr;

    std::uint64_t panel_loads() override { return loads; }
    std::vector<IoWindow> windows() override { return window_list; }
    bool click(int w, int x, int y) override {
        calls.push_back("click " + std::to_string(w) + " " + std::to_string(x) + " " + std::to_string(y));
        return true;
    }
    bool press(int w, int x, int y) override {
        calls.push_back("press " + std::to_string(w) + " " + std::to_string(x) + " " + std::to_string(y));
        ++held;
        return true;
    }
    void release() override {
        calls.push_back("release");
        held = 0;
    }
    void key(int vk, bool down) override { calls.push_back("key " + std::to_string(vk) + (down ? " down" : " up")); }
    void send_event(std::uint32_t id, std::uint32_t value) override {
        calls.push_back("event " + std::to_string(id) + " " + std::to_string(value));
    }
    const void* find_element(const std::string& gauge, int element) override {
        auto it = elements.find(gauge + " " + std::to_string(element));
        return it == elements.end() ? nullptr : &it->second;
    }
    Reading read_element(const void* element) override { return static_cast<const Value*>(element)->reading(); }
    Reading read_token(std::int32_t token) override { return tokens[token].reading(); }
    bool move_lever(Lever lever, double position) override {
        if (!own_aircraft) return false;
        levers.emplace_back(lever, position);
        return true;
    }
    void listen(IoListener* l) override { listener = l; }

    // One panel cycle as the host runs it around the protocol.
    void cycle() {
        if (listener) listener->before_cycle();
        if (listener) listener->after_cycle();
    }
};

}  // namespace homeio::testing
