#pragma once
// Pictures as the host composes them: 32-bit pixels 0xAARRGGBB, where alpha 0 means "nothing drawn
// here" so a gauge's picture can be laid over its window with the untouched pixels left out.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/module.h"
#include "platform/result.h"
#include "web/picture.h"

namespace panelhost {

// A rectangle of pixels: x, y of its top left corner, its width and height. The browser server's
// own, so a window's changed areas pass to it as they are.
using Rect = web::Area;

struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    Image() = default;
    Image(int w, int h, std::uint32_t fill = 0) : width(w), height(h), pixels(std::size_t(w) * h, fill) {}
    std::uint32_t* row(int y) { return pixels.data() + std::size_t(y) * width; }
    const std::uint32_t* row(int y) const { return pixels.data() + std::size_t(y) * width; }
    bool empty() const { return width <= 0 || height <= 0; }
};

inline constexpr std::uint32_t kOpaque = 0xFF000000u;
inline bool is_black(std::uint32_t p) { return (p & 0x00FFFFFFu) == 0; }

// A bitmap resource of a module, decoded to opaque pixels.
plat::Result<Image> load_bitmap_resource(plat::ModuleHandle module, int id);
// A BMP file's bytes (with or without the file header) decoded the same way.
plat::Result<Image> decode_bitmap(std::span<const std::uint8_t> bytes, const std::string& what);

// Draws src over dst at (x, y); pixels with alpha 0 are skipped, and black ones too when transparent.
void draw_image(Image& dst, const Image& src, int x, int y, bool transparent);
// Scales src (nearest neighbour) into the box (x, y, w, h) of dst, skipping alpha-0 pixels. With a
// clip, only the pixels inside it are drawn, each exactly as the unclipped drawing draws it.
void draw_scaled(Image& dst, const Image& src, int x, int y, int w, int h);
void draw_scaled(Image& dst, const Image& src, int x, int y, int w, int h, const Rect& clip);
// Copies the area of src into dst at the same place (both of one size).
void copy_area(Image& dst, const Image& src, const Rect& area);
void fill_rect(Image& dst, int x, int y, int w, int h, std::uint32_t colour);

plat::Result<bool> write_png(const Image& image, const std::string& path);

}  // namespace panelhost
