#pragma once
// The key events as a binding file directs them: an event the file binds itself is its write or
// command; any other event the aircraft's table answers (sim/key_map.h) moves the settings,
// throttles, gear lever, speed brakes and autopilot switches the file names.

#include <cstdint>
#include <string>
#include <string_view>

#include "simlink/engine/bindings.h"

namespace simlink {

// What a key event may touch in the link.
class Controls {
public:
    virtual ~Controls() = default;
    // The newest value the link knows of a path: a write not yet settled, else the reading.
    virtual double current(std::string_view path) const = 0;
    virtual void write(std::string_view path, std::string value) = 0;
    virtual void command(std::string_view path) = 0;
    virtual void set_switch(SwitchName s, bool on) = 0;
};

enum class KeyResult {
    done,
    unknown,  // no meaning for the event at all
    unbound,  // it moves something the binding file does not name
};

KeyResult apply_key_event(const Bindings& b, Controls& c, std::uint32_t id, std::uint32_t value);

// A number as the link writes it.
std::string format_value(double v);

}  // namespace simlink
