// Starting the navaid search and the worker that runs it: one worker at a time, its result lists
// published as a whole under the lists lock. At kill the worker is asked to stop and waited for;
// it never dies while it may hold the lock.

#include <cstring>
#include <exception>

#include "navdisplay/nd_state.h"

namespace nd {
namespace {

plat::Thread worker;
// Only the worker touches the grid, and one worker ends before the next begins.
navsearch::Grid grid;

void add_trail_point(double lat0, double lon0) {
    plat::LockGuard hold(lists_lock);
    TrailEntry& e = shared.trail[static_cast<std::size_t>(shared.trail_index)];
    e = TrailEntry{static_cast<float>(lat0), static_cast<float>(lon0), 0, 0};
    shared.trail_index = shared.trail_index == 0 ? kTrailSize - 1 : shared.trail_index - 1;
}

void search_worker(navsearch::Request request) {
    navsearch::Lists work;
    double k = 0;
    try {
        add_trail_point(request.lat0, request.lon0);
        k = navsearch::east_west_scale(request.lat0);
        navsearch::search(state.db, grid, request, work, nullptr, [] { return plat::stop_requested(); });
    } catch (const std::exception&) {
        // What the lists hold so far is still published.
    }
    if (plat::stop_requested()) return;
    plat::LockGuard hold(lists_lock);
    shared.lists = work;
    shared.east_west_scale = k;
    state.searching = false;
    state.redraw = true;
}

}  // namespace

void start_search_if_due() {
    if (!state.search_due || state.db.status != 0) return;
    if (worker.running()) return;
    worker.join();
    Variable& lat = variables[kLatitude];
    Variable& lon = variables[kLongitude];
    lat.previous = lat.record.value;
    lon.previous = lon.record.value;
    navsearch::Request request;
    request.lat0 = navsearch::latitude_degrees(value(kLatitude));
    request.lon0 = navsearch::longitude_degrees(value(kLongitude));
    request.range = state.sel.range;
    const char* ident = text(kNav1Ident);
    const std::size_t len = strnlen(ident, sizeof state.searched_ident);
    std::memset(state.searched_ident, 0, sizeof state.searched_ident);
    std::memcpy(state.searched_ident, ident, len);
    std::memcpy(request.nav1_ident, state.searched_ident, sizeof state.searched_ident);
    state.searching = true;
    const auto priority = state.search_due == 1 ? plat::ThreadPriority::lowest : plat::ThreadPriority::normal;
    worker = plat::Thread::start([request] { search_worker(request); }, priority, "navaid search");
    state.search_due = 0;
}

void stop_search() {
    worker.stop_and_join();
    worker = plat::Thread{};
    grid = navsearch::Grid{};
}

}  // namespace nd
