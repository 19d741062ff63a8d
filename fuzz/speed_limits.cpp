// The flight display's speed-limit file beside the module: any text keeps the defaults for every
// key it does not hold and reads the ones it does.
#include "flightdisplay/pfd_state.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = fuzzsupport::write_file("flightdisplay.cfg", data, size);
    pfd::read_or_create_speed_limits(path, pfd::SpeedLimits{});
    return 0;
}
