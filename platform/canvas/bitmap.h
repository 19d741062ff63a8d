#pragma once
// Pixel storage that a canvas draws into and that blits read from.

#include <array>
#include <cstdint>
#include <span>
#include <unordered_map>
#include <vector>

#include "platform/canvas/color.h"
#include "platform/canvas/geometry.h"
#include "platform/canvas/pixel_format.h"

namespace plat {

namespace detail {
struct PixelOps;
}

// A width x height picture in one pixel format, rows top-down `pitch` bytes apart. It either owns
// its pixels or wraps memory that someone else owns (a host image), which must outlive it.
// Indexed bitmaps carry a 256-entry palette. Not thread-safe: one thread draws into a bitmap.
class Bitmap {
public:
    using Palette = std::array<ColorRef, 256>;

    Bitmap() : Bitmap(0, 0, PixelFormat::xrgb32) {}
    // Owned pixels, zero-filled, rows packed to width * bytes per pixel. An indexed bitmap starts
    // with default_palette(). Throws std::invalid_argument on a negative or absurd size.
    Bitmap(int width, int height, PixelFormat format);
    // Wraps external pixels without owning them; pitch >= width * bytes per pixel and the memory
    // holds height rows of pitch bytes. Throws std::invalid_argument when the layout does not fit.
    static Bitmap wrap(std::span<std::uint8_t> memory, int width, int height, int pitch,
                       PixelFormat format);

    Bitmap(Bitmap&& other) noexcept;
    Bitmap& operator=(Bitmap&& other) noexcept;
    Bitmap(const Bitmap&) = delete;
    Bitmap& operator=(const Bitmap&) = delete;
    // A deep copy that owns its pixels, whatever this bitmap does.
    Bitmap clone() const;

    int width() const { return width_; }
    int height() const { return height_; }
    int pitch() const { return pitch_; }
    PixelFormat format() const { return format_; }
    Rect bounds() const { return {0, 0, width_, height_}; }
    bool owns_pixels() const { return owned_; }

    std::uint8_t* scanline(int y) { return pixels_ + static_cast<std::ptrdiff_t>(y) * pitch_; }
    const std::uint8_t* scanline(int y) const {
        return pixels_ + static_cast<std::ptrdiff_t>(y) * pitch_;
    }

    // Raw pixel values, limited to the bitmap: outside it reads give 0 and writes do nothing.
    std::uint32_t pixel(int x, int y) const;
    void set_pixel(int x, int y, std::uint32_t value);
    // A raw pixel value over a rectangle cut to the bitmap, as a DirectDraw colour fill.
    void fill(const Rect& r, std::uint32_t value);

    // The palette of an indexed bitmap (unused, all black, for the other formats).
    const Palette& palette() const { return palette_; }
    void set_palette(std::span<const ColorRef> colors);  // missing entries become black
    // Changes whenever the palette does, so that holders of mapped colours know to map again.
    std::uint32_t palette_serial() const { return palette_serial_; }

    // The pixel value a colour is drawn with: the nearest palette entry by squared RGB distance
    // (the first of equals wins), or the packed colour of a direct format.
    std::uint32_t map_color(ColorRef c) const;
    // The colour a pixel value shows.
    ColorRef color_of(std::uint32_t value) const;

    const detail::PixelOps& ops() const { return *ops_; }

    // 16 VGA colours, a 6 x 6 x 6 colour cube and 24 greys.
    static const Palette& default_palette();

private:
    int width_ = 0;
    int height_ = 0;
    int pitch_ = 0;
    PixelFormat format_ = PixelFormat::xrgb32;
    const detail::PixelOps* ops_ = nullptr;
    std::uint8_t* pixels_ = nullptr;
    bool owned_ = true;
    std::vector<std::uint8_t> storage_;
    Palette palette_{};
    std::uint32_t palette_serial_ = 0;
    mutable std::unordered_map<ColorRef, std::uint8_t> nearest_;  // palette look-ups made so far
    // The latest look-ups by a hash of the colour: a display picks the same few colours for every
    // symbol and text, and the map's hashing was a cost of its own.
    struct RecentColor {
        ColorRef color = 0xFFFFFFFF;  // no colour has its top byte set
        std::uint8_t index = 0;
    };
    mutable std::array<RecentColor, 16> recent_{};
};

}  // namespace plat
