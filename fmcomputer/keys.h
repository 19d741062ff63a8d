#pragma once
// The FMC's keys: twelve line select keys and ten function keys, each a mouse callback that
// returns 0 and adds one to the redraw counter (PREV and NEXT PAGE over the details page excepted).

#include <cstdint>

#include "host/records.h"

namespace fmc {

int key_line_select_left(int n);   // L1..L6
int key_line_select_right(int n);  // R1..R6
int key_menu(gauge::Point*, std::uint32_t);
int key_route(gauge::Point*, std::uint32_t);
int key_legs(gauge::Point*, std::uint32_t);
int key_prev_page(gauge::Point*, std::uint32_t);
int key_next_page(gauge::Point*, std::uint32_t);
int key_progress(gauge::Point*, std::uint32_t);
int key_exec(gauge::Point*, std::uint32_t);
int key_hrz(gauge::Point*, std::uint32_t);
int key_vrt(gauge::Point*, std::uint32_t);
int key_spd(gauge::Point*, std::uint32_t);

template <int N>
int key_left(gauge::Point*, std::uint32_t) {
    return key_line_select_left(N);
}
template <int N>
int key_right(gauge::Point*, std::uint32_t) {
    return key_line_select_right(N);
}

// EXEC switched on (the key, or the state restored at install): letters, line 13, start.
void switch_exec_on();

}  // namespace fmc
