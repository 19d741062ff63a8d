#include "web/server_state.h"

#include <algorithm>

namespace web {

bool ServerState::knows_window(int number) const {
    return std::any_of(feeds.begin(), feeds.end(), [&](const auto& f) { return f->number == number; });
}

std::int64_t steady_ms() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now().time_since_epoch()).count();
}

}  // namespace web
