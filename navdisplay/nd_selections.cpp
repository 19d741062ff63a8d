// The crew selections: the NDPassData block the selector panel and the ND switch share with the
// display, and the mode file that carries them from one run to the next.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "navdisplay/nd_state.h"
#include "platform/atomic_file.h"

namespace nd {
namespace {

ndblock::BlockLink block;

void* block_data() { return block.data(); }

void copy_fields_out(void* data) {
    Selections& s = state.sel;
    ndblock::copy_out(s.nd_field, data, ndblock::kNdModeOffset);
    ndblock::copy_out(s.map_field, data, ndblock::kMapModeOffset);
    ndblock::copy_out(s.item_field, data, ndblock::kItemOffset);
    ndblock::copy_out(s.range_field, data, ndblock::kRangeOffset);
}

void copy_fields_in(void* data) {
    const Selections& s = state.sel;
    ndblock::copy_in(data, ndblock::kNdModeOffset, s.nd_field);
    ndblock::copy_in(data, ndblock::kMapModeOffset, s.map_field);
    ndblock::copy_in(data, ndblock::kItemOffset, s.item_field);
    ndblock::copy_in(data, ndblock::kRangeOffset, s.range_field);
}

// One line of the mode file as a decimal integer; false at the end of the file or when the line
// holds no number (the selection then keeps its value).
bool read_line(std::FILE* f, int& out) {
    char line[64];
    if (!std::fgets(line, sizeof line, f)) return false;
    if (!std::strchr(line, '\n') && !std::feof(f)) {
        int c;
        while ((c = std::fgetc(f)) != EOF && c != '\n') {
        }
    }
    char* end = nullptr;
    const long v = std::strtol(line, &end, 10);
    if (end == line || v < -100000 || v > 100000) return false;
    out = static_cast<int>(v);
    return true;
}

void apply_mode_file(std::FILE* f) {
    Selections& s = state.sel;
    int v = 0;
    if (read_line(f, v)) {
        ndblock::format_decimal(s.nd_field, ndblock::kNdModeIndex, v);
        // The block check then sees a difference and lays the display out for this mode.
        s.nd_mode = v == 0 ? 1 : 0;
    }
    if (read_line(f, v)) {
        s.map_mode = v;
        ndblock::format_decimal(s.map_field, ndblock::kMapModeIndex, v);
    }
    if (read_line(f, v)) {
        s.items = static_cast<unsigned>(v) & 0xFFu;
        ndblock::format_hex2(s.item_field, ndblock::kItemIndex, s.items);
    }
    if (read_line(f, v) && v > 0) {
        s.range = static_cast<unsigned>(v);
        ndblock::format_range(s.range_field, s.range);
    }
}

void publish_own_where_unheld(void* data) {
    const Selections& s = state.sel;
    ndblock::publish_unless_held(data, ndblock::kNdModeOffset, s.nd_field, ndblock::kNdModeIndex);
    ndblock::publish_unless_held(data, ndblock::kMapModeOffset, s.map_field, ndblock::kMapModeIndex);
    ndblock::publish_unless_held(data, ndblock::kItemOffset, s.item_field, ndblock::kItemIndex);
    ndblock::publish_unless_held(data, ndblock::kRangeOffset, s.range_field, ndblock::kRangeIndex);
}

}  // namespace

void reset_selections() {
    Selections& s = state.sel;
    s = Selections{};
    ndblock::init_field(s.nd_field, "NDMode=1");
    ndblock::init_field(s.map_field, "MapMode=0");
    ndblock::init_field(s.item_field, "Item=0x1E");
    ndblock::init_field(s.range_field, "Range=320");
}

// The block opened, and the saved selections put in it, at install: before the panel's first
// cycle, so that a selection made from then on is never undone by the file.
void take_up_selections() {
    block.close();
    if (block.open(ndblock::kBlockName, ndblock::kBlockSize)) {
        publish_own_where_unheld(block_data());
    }
    state.selections_taken = true;
    std::FILE* f = std::fopen(kModeFile, "r");
    if (!f) return;
    if (void* data = block_data()) copy_fields_out(data);
    apply_mode_file(f);
    if (void* data = block_data()) copy_fields_in(data);
    std::fclose(f);
}

void first_active_update() { state.search_due = 2; }

// Replaced atomically (platform/atomic_file.h), so the saved selections are never half written.
// A display that was never installed has taken nothing up and leaves the file as it is. False when
// nothing was saved.
bool write_mode_file() {
    if (!state.selections_taken) return false;
    Selections& s = state.sel;
    int nd_mode = s.nd_mode, map_mode = s.map_mode;
    unsigned items = s.items, range = s.range;
    // A display removed within its start-up delay has not taken the block up: the selections are
    // the block's as the display last held it (the saved ones, and any change since).
    if (state.first_active) {
        if (void* data = block_data()) copy_fields_out(data);
        nd_mode = ndblock::parse_decimal(s.nd_field, ndblock::kNdModeIndex);
        map_mode = ndblock::parse_decimal(s.map_field, ndblock::kMapModeIndex);
        ndblock::parse_hex(s.item_field, ndblock::kItemScanIndex, items);
        range = static_cast<unsigned>(ndblock::parse_decimal(s.range_field, ndblock::kRangeIndex));
    }
    char text[64];
    const int n = std::snprintf(text, sizeof text, "%d\n%d\n%d\n%d\n", nd_mode, map_mode, static_cast<int>(items),
                                static_cast<int>(range));
    if (n <= 0 || n >= static_cast<int>(sizeof text)) return false;
    return plat::replace_file_atomically(kModeFile, std::string_view(text, static_cast<std::size_t>(n))).ok();
}

void close_block() { block.close(); }

void publish_nd_mode() {
    ndblock::format_decimal(state.sel.nd_field, ndblock::kNdModeIndex, state.sel.nd_mode);
    if (void* d = block_data()) ndblock::copy_in(d, ndblock::kNdModeOffset, state.sel.nd_field);
}
void publish_map_mode() {
    ndblock::format_decimal(state.sel.map_field, ndblock::kMapModeIndex, state.sel.map_mode);
    if (void* d = block_data()) ndblock::copy_in(d, ndblock::kMapModeOffset, state.sel.map_field);
}
void publish_items() {
    ndblock::format_hex2(state.sel.item_field, ndblock::kItemIndex, state.sel.items);
    if (void* d = block_data()) ndblock::copy_in(d, ndblock::kItemOffset, state.sel.item_field);
}
void publish_range() {
    ndblock::format_range(state.sel.range_field, state.sel.range);
    if (void* d = block_data()) ndblock::copy_in(d, ndblock::kRangeOffset, state.sel.range_field);
}

bool check_block() {
    // The display takes the block up once its start-up delay is over; until then it is only kept.
    void* data = block_data();
    if (!data || state.first_active) return false;
    Selections& s = state.sel;
    // A field nobody has written yet is not a selection: the display's own goes in, so every reader
    // finds one.
    publish_own_where_unheld(data);
    const bool map_modes = s.map_mode != 0;
    ndblock::copy_out(s.nd_field, data, ndblock::kNdModeOffset);
    if (const int v = ndblock::parse_decimal(s.nd_field, ndblock::kNdModeIndex); v != s.nd_mode) {
        s.nd_mode = v;
        compute_geometry();
        state.redraw = true;
        if (map_modes) state.search_due = state.search_due ? state.search_due : 1;
    }
    ndblock::copy_out(s.map_field, data, ndblock::kMapModeOffset);
    if (const int v = ndblock::parse_decimal(s.map_field, ndblock::kMapModeIndex); v != s.map_mode) {
        s.map_mode = v;
        state.redraw = true;
        if (v != 0 && !state.search_due) state.search_due = 1;
    }
    ndblock::copy_out(s.item_field, data, ndblock::kItemOffset);
    unsigned items = s.items;
    // Exactly the two digits at the value's index.
    if (ndblock::hex_digit(s.item_field[ndblock::kItemIndex]) >= 0 &&
        ndblock::hex_digit(s.item_field[ndblock::kItemIndex + 1]) >= 0)
        items = static_cast<unsigned>(ndblock::hex_digit(s.item_field[ndblock::kItemIndex]) * 16 +
                                      ndblock::hex_digit(s.item_field[ndblock::kItemIndex + 1]));
    if (items != s.items) {
        s.items = items;
        if (s.map_mode != 0) state.redraw = true;
    }
    ndblock::copy_out(s.range_field, data, ndblock::kRangeOffset);
    if (const int v = ndblock::parse_decimal(s.range_field, ndblock::kRangeIndex);
        static_cast<unsigned>(v) != s.range && v > 0) {
        s.range = static_cast<unsigned>(v);
        state.redraw = true;
        if (s.map_mode != 0 && !state.search_due) state.search_due = 1;
    }
    return true;
}

}  // namespace nd
