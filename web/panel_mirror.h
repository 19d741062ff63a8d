#pragma once
// The panel thread's side of the browser server: before each cycle it hands the panel the pages'
// input, in order; after it, it takes the changed rectangles of the windows some page watches into
// the server's mirror and tells those pages what to send.

#include <map>

#include "web/panel_source.h"
#include "web/server_state.h"

namespace web {

class PanelMirror {
public:
    PanelMirror(PanelSource& source, ServerState& state) : source_(source), state_(state) {}

    // Follows the panel's windows: a panel loaded again starts every page over.
    void follow_windows();
    void apply_input();
    void take_pictures();

private:
    void mirror_window(std::size_t index);
    void hand_to_pages(const Feed& feed, std::optional<Clock::time_point> click);

    PanelSource& source_;
    ServerState& state_;
    std::uint64_t loads_seen_ = 0;
    bool followed_ = false;
    // Clicks whose window has not changed since, by window number.
    std::map<int, Clock::time_point> clicks_waiting_;
};

}  // namespace web
