#pragma once
// What the line protocol and the controls need of a panel, and all they know of one: its windows,
// the mouse and the keyboard as the window viewer and the browser pages work them, key events as a
// module sends them, the values of elements and variables, and the host aircraft's levers. The panel
// host adapts its session to this; every call is made on the panel thread, around its cycles.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace homeio {

struct IoWindow {
    int number = 0;
    std::string title;
    int width = 0, height = 0;
    bool open = true;
};

// A value as a watch reports it: a number, or a string element's text (lent until the next cycle).
struct Reading {
    bool is_text = false;
    double number = 0;
    std::string_view text;
    bool operator==(const Reading& o) const {
        return is_text == o.is_text && (is_text ? text == o.text : number == o.number);
    }
};

// The host aircraft's controls an axis can move.
enum class Lever { throttle, pitch, roll, speedbrake, flaps };

// Told of every panel cycle: input is applied before it, values are read after it.
class IoListener {
public:
    virtual ~IoListener() = default;
    virtual void before_cycle() = 0;
    virtual void after_cycle() = 0;
};

class IoPanel {
public:
    virtual ~IoPanel() = default;

    // Counts the panel's loads: when it changes, elements found before are gone.
    virtual std::uint64_t panel_loads() = 0;
    virtual std::vector<IoWindow> windows() = 0;

    // Window pixels; false when nothing there takes a click (or the window is not open).
    virtual bool click(int window, int x, int y) = 0;
    virtual bool press(int window, int x, int y) = 0;
    virtual void release() = 0;
    // A key going down or up (a Windows virtual-key code), the host's own keys included.
    virtual void key(int vk, bool down) = 0;
    virtual void send_event(std::uint32_t id, std::uint32_t value) = 0;

    // An element by gauge (as the panel file names it, blanks as '_', or its module) and number;
    // an opaque handle, valid until panel_loads() changes; null when there is none.
    virtual const void* find_element(const std::string& gauge, int element) = 0;
    virtual Reading read_element(const void* element) = 0;
    virtual Reading read_token(std::int32_t token) = 0;

    // An axis's position to the host aircraft's lever: 0 to 1 (throttle, speedbrake, flaps) or -1 to 1
    // (pitch: nose up positive; roll: right positive). False when the aircraft is another
    // simulator's, whose own controls move it.
    virtual bool move_lever(Lever lever, double position) = 0;

    // The listener is told of every cycle until set to null; it must outlive that.
    virtual void listen(IoListener* listener) = 0;
};

}  // namespace homeio
