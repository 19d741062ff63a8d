// The navigation display's mode file Gauges/NDmode.tmp as the display takes it up on its first
// active update: the selections read into the NDPassData block, then adopted from the block as the
// map-element check does it, and written back at the end.
#include <cstring>

#include "fuzz/fuzz_support.h"
#include "navdisplay/nd_state.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzzsupport::InScratchFolder here;
    fuzzsupport::make_folder("Gauges");
    fuzzsupport::write_file(nd::kModeFile, data, size);
    nd::reset_selections();
    nd::first_active_update();
    nd::check_block();
    const nd::Selections& s = nd::state.sel;
    fuzzsupport::require(s.items <= 0xFF, "overlay bits within a byte");
    fuzzsupport::require(s.range > 0, "a range");
    nd::write_mode_file();
    nd::close_block();
    nd::state.selections_taken = false;
    return 0;
}
