// Building, filling, presenting and releasing the display surface.

#include "surface/display_surface.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <string>

#include "host/binding.h"
#include "surface/surface_state.h"

namespace surface {
namespace {

DisplaySurface surface_state;

// Picture n of an element as the host offers it; all zero when the host has no such image.
HostImageDesc describe(gauge::Element* element, int picture) {
    HostImageDesc d;
    gauge::ElementImage image{};
    gauge::PanelServices* services = gauge::services();
    if (!element || !services || !services->element_image || !services->element_image(element, picture, &image))
        return d;
    if (!image.pixels || image.width <= 0 || image.height <= 0 || image.pitch <= 0) return d;
    d.bytes_per_pixel = image.bits_per_pixel / 8;
    d.width = image.width;
    d.height = image.height;
    d.pitch = image.pitch;
    d.byte_size = static_cast<std::size_t>(image.pitch) * static_cast<std::size_t>(image.height);
    d.pixels = image.pixels;
    return d;
}

std::string error_log_path(const char* gauge_name) { return std::string("Gauges/") + gauge_name + ".err"; }

// A creation step's driver result goes to the report; false when it was refused.
bool step(std::FILE* log, int number, plat::SurfaceResult result) {
    return ReportSurfaceError(result, log, number);
}

plat::SurfaceResult make_bitmap(std::unique_ptr<plat::Bitmap>& out, int width, int height, plat::PixelFormat format) {
    try {
        out = std::make_unique<plat::Bitmap>(width, height, format);
    } catch (const std::exception&) {
        return plat::kSurfaceOutOfMemory;
    }
    return plat::kSurfaceOk;
}

void build_device(std::FILE* log) {
    DisplaySurface& s = surface_state;
    // The device is always asked for again, even after an earlier failure.
    if (!step(log, 1, plat::surface_step_result(1))) return;
    s.device = true;
    if (s.failed || !step(log, 2, plat::surface_step_result(2))) return;
    if (!step(log, 3, plat::surface_step_result(3))) return;
    s.device2 = true;
}

plat::PixelFormat format_of(int bytes_per_pixel) {
    return bytes_per_pixel == 1 ? plat::PixelFormat::indexed8 : plat::PixelFormat::rgb555;
}

void build_surface(std::FILE* log) {
    DisplaySurface& s = surface_state;
    if (s.failed) return;
    const int bpp = s.first.bytes_per_pixel;
    if (bpp != 1 && bpp != 2) {
        step(log, 10, 1);
        return;
    }
    plat::SurfaceResult made = plat::surface_step_result(4);
    if (made == plat::kSurfaceOk) made = make_bitmap(s.pixels, s.first.width, s.first.height, format_of(bpp));
    if (!step(log, 4, made)) return;
    if (!step(log, 5, plat::surface_step_result(5))) return;
    s.pixels_queried = true;
    if (!step(log, 6, plat::surface_step_result(6))) return;
    s.surface_pitch = s.pixels->pitch();
    if (s.surface_pitch != s.first.pitch || (s.fifth.pixels && s.fifth.pitch != s.first.pitch)) s.row_copy = true;
    if (bpp == 1) {
        if (!step(log, 7, plat::surface_step_result(7))) return;
        s.palette = true;
        if (!step(log, 8, plat::surface_step_result(8))) return;
        s.pixels->set_palette(s.colour_table);
    }
    if (!step(log, 9, plat::surface_step_result(9))) return;
    s.context = std::make_unique<plat::Canvas>(*s.pixels);
}

// 16-bit pictures reach the host with bit 15 in every pixel, OR-ed in from this mask.
void build_bitmask(std::FILE* log) {
    DisplaySurface& s = surface_state;
    if (s.failed || s.first.bytes_per_pixel != 2) return;
    plat::SurfaceResult made = plat::surface_step_result(11);
    if (made == plat::kSurfaceOk) made = make_bitmap(s.mask, s.first.width, s.first.height, plat::PixelFormat::rgb555);
    if (!step(log, 11, made)) return;
    if (!step(log, 12, plat::surface_step_result(12))) return;
    s.mask_queried = true;
    if (!step(log, 13, plat::surface_step_result(13))) return;
    plat::Bitmap& m = *s.mask;
    for (int y = 0; y < m.height(); ++y) {
        std::uint8_t* row = m.scanline(y);
        for (int x = 0; x < m.width(); ++x) {
            row[2 * x] = 0x00;
            row[2 * x + 1] = 0x80;
        }
    }
    if (!step(log, 14, plat::surface_step_result(14))) return;
    s.mask_context = std::make_unique<plat::Canvas>(m);
}

// The background bitmap's bottom row holds the colour keys; its first row covers them.
void hide_colour_keys(gauge::Element* background) {
    const HostImageDesc b = describe(background, 0);
    if (!b.pixels || b.height < 2) return;
    const std::size_t row_bytes = std::min<std::size_t>(static_cast<std::size_t>(b.pitch),
                                                        static_cast<std::size_t>(b.width) * std::max(b.bytes_per_pixel, 1));
    std::memcpy(b.pixels + static_cast<std::size_t>(b.height - 1) * b.pitch, b.pixels, row_bytes);
}

bool inside(std::size_t offset, std::size_t length, std::size_t size) {
    return offset <= size && length <= size - offset;
}

void copy_whole(const DisplaySurface& s) {
    const plat::Bitmap& src = *s.pixels;
    const std::size_t surface_bytes = static_cast<std::size_t>(src.pitch()) * static_cast<std::size_t>(src.height());
    if (!inside(0, s.first.byte_size, surface_bytes)) return;
    std::memcpy(s.first.pixels, src.scanline(0), s.first.byte_size);
    if (s.fifth.pixels && inside(0, s.fifth.byte_size, s.first.byte_size))
        std::memcpy(s.fifth.pixels, s.first.pixels, s.fifth.byte_size);
}

void copy_rows(const DisplaySurface& s) {
    const plat::Bitmap& src = *s.pixels;
    const std::size_t bpp = static_cast<std::size_t>(s.first.bytes_per_pixel);
    const std::size_t surface_row = static_cast<std::size_t>(src.width()) * bpp;
    const std::size_t first_row = static_cast<std::size_t>(s.first.width) * bpp;
    const std::size_t fifth_row = static_cast<std::size_t>(s.fifth.width) * bpp;
    for (int r = 0; r < s.first.height && r < src.height(); ++r) {
        const std::uint8_t* from = src.scanline(r);
        const std::size_t ur = static_cast<std::size_t>(r);
        if (first_row <= surface_row && inside(ur * s.first.pitch, first_row, s.first.byte_size))
            std::memcpy(s.first.pixels + ur * s.first.pitch, from, first_row);
        if (s.fifth.pixels && r < s.fifth.height && fifth_row <= surface_row &&
            inside(ur * s.fifth.pitch, fifth_row, s.fifth.byte_size))
            std::memcpy(s.fifth.pixels + ur * s.fifth.pitch, from, fifth_row);
    }
}

}  // namespace

DisplaySurface& the_surface() { return surface_state; }

void CreateDisplaySurface(const SurfaceSetup& setup) {
    ReleaseDisplaySurface();
    DisplaySurface& s = surface_state;
    s.gauge_name = setup.gauge_name ? setup.gauge_name : "";
    s.first = describe(setup.display, 0);
    s.fifth = describe(setup.display, 1);

    const std::string log_path = error_log_path(s.gauge_name);
    std::FILE* log = std::fopen(log_path.c_str(), "w");
    reset_log_entries();

    load_colour_table(setup, log, s.first.bytes_per_pixel);
    build_device(log);
    build_surface(log);
    build_bitmask(log);

    if (log) {
        std::fclose(log);
        if (log_entries_written() == 0) std::remove(log_path.c_str());
    }
    hide_colour_keys(setup.background);
}

void ReleaseDisplaySurface() {
    DisplaySurface& s = surface_state;
    s.mask_context.reset();
    s.mask_queried = false;
    s.mask.reset();
    s.context.reset();
    s.pixels_queried = false;
    s.pixels.reset();
    s.palette = false;
    s.device2 = false;
    s.device = false;
    s.first = {};
    s.fifth = {};
    s.surface_pitch = 0;
}

void FillSurfaceRect(int left, int top, int right, int bottom) {
    DisplaySurface& s = surface_state;
    if (s.failed || !s.pixels) return;
    s.pixels->fill({left, top, right, bottom}, s.background_pixel);
}

void PresentSurface() {
    DisplaySurface& s = surface_state;
    if (s.failed || !s.pixels || !s.first.pixels) return;
    if (s.first.bytes_per_pixel == 2) {
        if (!s.context || !s.mask) return;
        s.context->blit(0, 0, s.first.width, s.first.height, *s.mask, 0, 0, plat::Rop::src_paint);
    }
    if (s.row_copy)
        copy_rows(s);
    else
        copy_whole(s);
}

plat::Canvas* SurfaceContext() { return surface_state.failed ? nullptr : surface_state.context.get(); }
int SurfaceWidth() { return surface_state.pixels ? surface_state.pixels->width() : 0; }
int SurfaceHeight() { return surface_state.pixels ? surface_state.pixels->height() : 0; }
plat::ColorRef SurfaceColour(int slot) {
    return slot >= 0 && slot < kColourSlots ? surface_state.colours[static_cast<std::size_t>(slot)] : plat::rgb(0, 0, 0);
}
plat::Pen SurfacePen(int slot) { return plat::Pen::solid(SurfaceColour(slot)); }
plat::Brush SurfaceBrush(int slot) { return plat::Brush::solid(SurfaceColour(slot)); }
plat::ColorRef SurfaceBackground() { return surface_state.background; }
std::uint32_t SurfaceBackgroundPixel() { return surface_state.background_pixel; }
bool SurfaceFailed() { return surface_state.failed; }
int SurfaceBytesPerPixel() { return surface_state.first.bytes_per_pixel; }

}  // namespace surface
