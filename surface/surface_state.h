#pragma once
// The module's one display surface, shared by the files of the surface library (not part of the
// displays' contract: they use display_surface.h).

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/canvas/bitmap.h"
#include "platform/canvas/canvas.h"
#include "surface/display_surface.h"

namespace surface {

// One host image of the display element as creation found it.
struct HostImageDesc {
    int bytes_per_pixel = 0;
    int width = 0;
    int height = 0;
    int pitch = 0;
    std::size_t byte_size = 0;
    std::uint8_t* pixels = nullptr;
};

struct DisplaySurface {
    const char* gauge_name = "";
    // Driver objects: the device and its second interface have no state of their own here.
    bool device = false;
    bool device2 = false;
    std::unique_ptr<plat::Bitmap> pixels;  // the surface and its third interface
    bool pixels_queried = false;
    std::unique_ptr<plat::Canvas> context;
    std::unique_ptr<plat::Bitmap> mask;  // 16-bit only: every pixel 0x8000
    bool mask_queried = false;
    std::unique_ptr<plat::Canvas> mask_context;
    bool palette = false;

    HostImageDesc first;  // picture 0 of the display element: the one the host shows
    HostImageDesc fifth;  // picture 1: the second image of the same picture
    int surface_pitch = 0;

    bool failed = false;    // never cleared
    bool row_copy = false;  // never cleared

    bool have_colours = false;
    std::array<plat::ColorRef, kColourSlots> colours{};
    std::array<plat::ColorRef, 256> colour_table{};
    plat::ColorRef background = 0;
    std::uint32_t background_pixel = 0;
};

DisplaySurface& the_surface();

// Reads the colour table, the sixteen slots and the background from bitmap "#4096"; shows the
// warning and logs it when the bitmap cannot be had.
void load_colour_table(const SurfaceSetup& setup, std::FILE* log, int bytes_per_pixel);

// The 1-5-5-5 pixel of a colour, as the surface packs the background.
std::uint16_t pack_rgb555(plat::ColorRef colour);

// Error log bookkeeping: whether anything was written to the log during this creation.
void note_log_entry();
int log_entries_written();
void reset_log_entries();

}  // namespace surface
