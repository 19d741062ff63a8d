#pragma once
// The state of the two fire handles, written by the panel's clicks and read by its pictures.
// Every field holds 0 or 1 and starts at 0. Panel thread only.

namespace fire {

struct HandleState {
    double pulled = 0;
    double turned_left = 0;   // bottle 1
    double turned_right = 0;  // bottle 2
};

extern HandleState engine1;
extern HandleState engine2;

void reset_handles();
// A pulled handle is pushed back in; anything else is pulled.
void toggle_pulled(HandleState& handle);

}  // namespace fire
