#pragma once
// One client of the line protocol as the panel thread sees it: its commands applied to the panel,
// what it watches and the values it was last told, and what it holds down (a pressed button, keys),
// let go when it leaves. No sockets here: the server (io_server.h) carries the lines.

#include <cstdint>
#include <string>
#include <vector>

#include "homeio/command.h"
#include "homeio/io_panel.h"

namespace homeio {

// More watches than this on one connection is not a board but a flood: the server closes it.
inline constexpr std::size_t kMaxWatches = 256;

class ProtocolClient {
public:
    // Applies a command; its answers ("value", "window", "error" lines) are appended to `out`.
    // False when the client went past a limit and is to be closed (the reason is in `out`).
    bool apply(const Command& command, IoPanel& panel, std::string& out);
    // After a cycle: a "value" line for every watch whose value changed since it was last told.
    void report_changes(IoPanel& panel, std::string& out);
    // Lets go of the button and the keys the client holds (it left).
    void release_all(IoPanel& panel);

    std::size_t watches() const { return watches_.size(); }
    bool pressing() const { return pressing_; }

private:
    struct Watch {
        WatchTarget target;
        const void* element = nullptr;  // found at the panel load `found_at`
        std::uint64_t found_at = 0;
        bool told = false;
        bool last_is_text = false;
        double last_number = 0;
        std::string last_text;  // kept: the panel lends its text only until the next cycle
    };
    // The watch's value now; false when its element is not on the panel (any more). `loads` is the
    // panel's count of loads.
    bool read(Watch& w, IoPanel& panel, std::uint64_t loads, Reading& now);
    void tell(Watch& w, IoPanel& panel, std::uint64_t loads, std::string& out, bool always);

    std::vector<Watch> watches_;
    std::vector<int> keys_down_;
    bool pressing_ = false;
};

// "value LABEL V": V a number as short as it reads back exactly, or a text in double quotes
// (" and \ escaped by \, other control characters as \xHH).
void append_value_line(std::string& out, const std::string& label, const Reading& value);

}  // namespace homeio
