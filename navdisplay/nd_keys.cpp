// The display's keyboard: the fixed Shift / Shift+Ctrl rows for range, map mode and overlays, and
// the ND-mode hot key the simulator's configuration gives its ninth panel window.

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "navdisplay/nd_state.h"
#include "platform/keyboard.h"

namespace nd {
namespace {

constexpr int kShift = 1, kCtrl = 2;

bool modifiers_match(int flags) {
    const bool shift = plat::key_down(plat::vk::shift), ctrl = plat::key_down(plat::vk::control);
    return shift == ((flags & kShift) != 0) && ctrl == ((flags & kCtrl) != 0);
}

void search_due_in_map_modes() {
    if (state.sel.map_mode != 0 && !state.search_due) state.search_due = 1;
}

void change_range(bool up) {
    Selections& s = state.sel;
    if (up ? s.range >= ndblock::kRangeMax : s.range <= ndblock::kRangeMin) return;
    s.range = up ? s.range * 2 : s.range / 2;
    publish_range();
    state.redraw = true;
    search_due_in_map_modes();
}

void set_map_mode(int mode) {
    state.sel.map_mode = mode;
    publish_map_mode();
    state.redraw = true;
}

void toggle_item(unsigned bit) {
    state.sel.items ^= bit;
    publish_items();
    state.redraw = true;
}

// The value after "PANEL_9=": the key code, then the flags after the first comma.
void parse_hot_key_line(const char* value, HotKey& key) {
    key.key = std::atoi(value);
    if (const char* comma = std::strchr(value, ',')) key.flags = std::atoi(comma + 1);
}

}  // namespace

HotKey read_hot_key() {
    HotKey key;
    std::FILE* f = nullptr;
    for (const char* name : {"FS2002.cfg", "FS2000.cfg", "Fltsim98.cfg"})
        if ((f = std::fopen(name, "r"))) break;
    if (!f) return key;
    char line[512];
    while (std::fgets(line, sizeof line, f)) {
        if (std::strncmp(line, "PANEL_9=", 8) == 0) {
            parse_hot_key_line(line + 8, key);
            break;
        }
    }
    std::fclose(f);
    return key;
}

void check_keyboard() {
    // Each key is asked once: a query clears what it reports, so one answer serves every row.
    if (plat::key_pressed_since_last_query('G')) {
        if (modifiers_match(kShift)) change_range(true);
        else if (modifiers_match(kShift | kCtrl)) change_range(false);
    }
    const bool v = plat::key_pressed_since_last_query('V');
    if (v && modifiers_match(kShift | kCtrl)) set_map_mode(0);
    if (plat::key_pressed_since_last_query('M') && modifiers_match(kShift | kCtrl)) set_map_mode(1);
    if (plat::key_pressed_since_last_query('P') && modifiers_match(kShift | kCtrl)) set_map_mode(2);
    if (plat::key_pressed_since_last_query('X') && modifiers_match(kShift)) toggle_item(ndblock::kItemRoute);
    if (plat::key_pressed_since_last_query('W') && modifiers_match(kShift)) toggle_item(ndblock::kItemIntersections);
    if (v && modifiers_match(kShift)) toggle_item(ndblock::kItemVor);
    if (plat::key_pressed_since_last_query('N') && modifiers_match(kShift)) toggle_item(ndblock::kItemNdb);
    if (plat::key_pressed_since_last_query('A') && modifiers_match(kShift)) toggle_item(ndblock::kItemAirports);
}

bool hot_key_pressed() {
    return plat::key_pressed_since_last_query(state.hot_key.key) && modifiers_match(state.hot_key.flags);
}

void toggle_nd_mode() {
    state.sel.nd_mode = state.sel.nd_mode == 1 ? 0 : 1;
    compute_geometry();
    publish_nd_mode();
    state.redraw = true;
}

}  // namespace nd
