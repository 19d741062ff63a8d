// BMP images, as module resources and files give them: any bytes either decode to a bitmap or give
// an error naming the image.
#include <span>

#include "fuzz/fuzz_support.h"
#include "platform/canvas/bmp_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto bitmap = plat::read_bmp(std::span(data, size), "fuzz.bmp");
    if (!bitmap) fuzzsupport::require(bitmap.error().rfind("fuzz.bmp", 0) == 0, "error names the image");
    return 0;
}
