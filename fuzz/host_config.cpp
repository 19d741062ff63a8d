// The simulator's configuration file as two displays read it: the flight display's FD key after
// "PANEL_8=" and the navigation display's mode key after "PANEL_9=".
#include "flightdisplay/pfd_state.h"
#include "fuzz/fuzz_support.h"
#include "navdisplay/nd_state.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzzsupport::InScratchFolder here;
    // Both look for this name among theirs.
    fuzzsupport::write_file("Fltsim98.cfg", data, size);
    pfd::read_shortcut_key();
    nd::read_hot_key();
    return 0;
}
