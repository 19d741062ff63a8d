// The sixteen drawing colours and the background of a display come from its own art: the first 17
// pixels of the first stored row of bitmap "#4096" index its 256-entry colour table.

#include <cstdint>
#include <span>

#include "platform/message_box.h"
#include "surface/surface_state.h"

namespace surface {
namespace {

constexpr std::size_t kColourTableBytes = 256 * 4;
constexpr std::size_t kKeyPixels = kColourSlots + 1;  // sixteen slots and the background
// 31/255 in single precision, so that 255 packs to 31 and 128 to 15.
constexpr float kFiveBitScale = 0.12156863f;

// Shown when any slot cannot be had; the slots are then white so the display stays legible.
constexpr plat::ColorRef kFallbackInk = plat::rgb(255, 255, 255);

std::uint32_t low_word(const void* p) {
    return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(p));
}

void warn_no_colour_table(const SurfaceSetup& setup, std::FILE* log, const void* resource,
                          const void* loaded) {
    char text[256];
    std::snprintf(text, sizeof text, "%s%s", setup.gauge_name, kColourTableWarning);
    plat::show_message_box("", text, "Warning", plat::MessageIcon::warning);
    if (!log) return;
    std::fprintf(log, "%s\n hMod = %08X  hRc = %08X  hGlobal = %08X\n\n", text, low_word(setup.module),
                 low_word(resource), low_word(loaded));
    note_log_entry();
}

plat::ColorRef table_entry(std::span<const std::uint8_t> table, std::uint8_t index) {
    const std::uint8_t* e = table.data() + std::size_t{index} * 4;  // blue, green, red, reserved
    return plat::rgb(e[2], e[1], e[0]);
}

}  // namespace

std::uint16_t pack_rgb555(plat::ColorRef c) {
    const auto five = [](std::uint8_t v) { return static_cast<unsigned>(static_cast<float>(v) * kFiveBitScale); };
    return static_cast<std::uint16_t>((five(plat::get_r(c)) << 10) + (five(plat::get_g(c)) << 5) +
                                      five(plat::get_b(c)));
}

void load_colour_table(const SurfaceSetup& setup, std::FILE* log, int bytes_per_pixel) {
    DisplaySurface& s = the_surface();
    s.have_colours = false;
    s.colours.fill(kFallbackInk);
    s.colour_table = plat::Bitmap::default_palette();
    s.background = plat::rgb(0, 0, 0);
    s.background_pixel = 0;
    if (!setup.module) {
        warn_no_colour_table(setup, log, nullptr, nullptr);
        return;
    }
    auto resource = plat::find_resource(setup.module, plat::kBitmapResource, kColourTableBitmap);
    if (!resource) {
        warn_no_colour_table(setup, log, nullptr, nullptr);
        return;
    }
    // The header says its own size in its first byte; the table and 17 key pixels must follow.
    const std::span<const std::uint8_t> data = *resource;
    const std::size_t header = data.empty() ? 0 : data[0];
    if (header == 0 || data.size() < header + kColourTableBytes + kKeyPixels) {
        warn_no_colour_table(setup, log, data.data(), nullptr);
        return;
    }
    const std::span<const std::uint8_t> table = data.subspan(header, kColourTableBytes);
    const std::uint8_t* keys = data.data() + header + kColourTableBytes;
    for (std::size_t i = 0; i < 256; ++i) s.colour_table[i] = table_entry(table, static_cast<std::uint8_t>(i));
    for (int i = 0; i < kColourSlots; ++i) s.colours[static_cast<std::size_t>(i)] = table_entry(table, keys[i]);
    s.background = table_entry(table, keys[kColourSlots]);
    s.background_pixel = bytes_per_pixel == 2 ? pack_rgb555(s.background) : keys[kColourSlots];
    s.have_colours = true;
}

}  // namespace surface
