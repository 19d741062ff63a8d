#pragma once
// One line of the protocol as a command, or why it is not one. The protocol's commands:
//
//   token TEXT                  the connection's first line when the host asks for a token
//   click WINDOW X Y            a left click at the window's pixel
//   press WINDOW X Y, release   the left button held down, then let go (repeating areas repeat)
//   key NAME down|up            a key of the keyboard (TAB, F5, G, PRIOR...)
//   event NAME|NUMBER [VALUE]   a key event to the simulator, as a module sends it
//   watch GAUGE ELEMENT         the element's value now and at every change ("value ..." lines)
//   watch token NAME|NUMBER     the same for a simulator variable
//   unwatch ...                 the same words as the watch it ends
//   windows                     the panel's windows ("window N "TITLE" W H" lines)

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace homeio {

enum class Verb { token, click, press, release, key, event, watch, unwatch, windows };

// What a watch follows: a gauge's element (GAUGE as the panel file names it, blanks as '_', or its
// module; ELEMENT numbered in drawing order, as the panel's dumps number them) or a variable.
struct WatchTarget {
    bool is_token = false;
    std::string gauge;
    int element = 0;
    std::int32_t token = 0;
    // The words the "value" lines carry: "GAUGE ELEMENT" or "token NAME" as the client wrote them.
    std::string label;
    bool operator==(const WatchTarget& o) const {
        return is_token == o.is_token && token == o.token && (is_token || (gauge == o.gauge && element == o.element));
    }
};

struct Command {
    Verb verb = Verb::windows;
    int window = 0, x = 0, y = 0;  // click, press
    int vk = 0;                    // key
    bool down = false;             // key
    std::uint32_t event = 0, value = 0;
    WatchTarget target;            // watch, unwatch
    std::string text;              // token
};

// Pixels and window numbers beyond these are no panel's.
inline constexpr int kMaxPixel = 99999;

std::optional<Command> parse_command(std::string_view line, std::string& why);

}  // namespace homeio
