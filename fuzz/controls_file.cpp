// A controls file: any bytes are either bindings within the ranges the devices can have (buttons
// sending commands a button may send, axes on a lever with a deadzone of at most half the travel)
// or one fault naming the file and its line.
#include <algorithm>
#include <string>

#include "fuzz/fuzz_support.h"
#include "homeio/controls_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = fuzzsupport::text_of(data, size);
    const auto file = homeio::parse_controls(text, "pad.txt");
    if (!file) {
        fuzzsupport::require(file.error().rfind("pad.txt:", 0) == 0, "a fault names the file and its line");
        return 0;
    }
    const int lines = 1 + static_cast<int>(std::count(text.begin(), text.end(), '\n'));
    for (const auto& b : file->buttons) {
        fuzzsupport::require(b.line >= 1 && b.line <= lines, "a binding knows its line");
        fuzzsupport::require(b.button >= 0 && b.button <= 255, "a button a device can have");
        fuzzsupport::require(!b.device.name.empty() || b.device.index, "a device by name or index");
        const auto v = b.down.verb;
        fuzzsupport::require(v == homeio::Verb::click || v == homeio::Verb::press || v == homeio::Verb::key ||
                                 v == homeio::Verb::event,
                             "only commands a button sends");
        if (v == homeio::Verb::press)
            fuzzsupport::require(b.up && b.up->verb == homeio::Verb::release, "a press is released as the button goes up");
        if (b.up && v == homeio::Verb::key)
            fuzzsupport::require(b.down.down && !b.up->down && b.up->vk == b.down.vk, "a key follows its button");
        if (b.up) fuzzsupport::require(v == homeio::Verb::press || v == homeio::Verb::key, "only what is held goes up");
    }
    for (const auto& a : file->axes) {
        fuzzsupport::require(a.axis >= 0 && a.axis <= 255, "an axis a device can have");
        fuzzsupport::require(a.deadzone >= 0 && a.deadzone <= 0.5, "a deadzone within half the travel");
        for (int raw : {-32768, -1, 0, 1, 32767}) {
            const double p = homeio::lever_position(a, raw);
            const bool centred = a.lever == homeio::Lever::pitch || a.lever == homeio::Lever::roll;
            fuzzsupport::require(p >= (centred ? -1.0 : 0.0) && p <= 1.0, "a lever within its travel");
        }
    }
    return 0;
}
