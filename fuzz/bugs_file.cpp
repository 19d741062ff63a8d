// The airspeed indicator's bugs file: any text either replaces a bug with a speed in 1 .. 449 or
// leaves it as it was.
#include "airspeed/bugs_file.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = fuzzsupport::write_file(airspeed::kBugsFile, data, size);
    airspeed::SpeedBugs bugs{};
    for (double& s : bugs.speed) s = -1.0;
    airspeed::read_bugs_file(path.c_str(), bugs);
    for (const double s : bugs.speed)
        fuzzsupport::require(s == -1.0 || (s >= 1.0 && s <= 449.0), "a bug is its old value or a speed in range");
    return 0;
}
