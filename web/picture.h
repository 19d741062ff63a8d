#pragma once
// Window pictures as the browser server handles them: 0x..RRGGBB pixels (the top byte ignored),
// row after row. The panel lends a window's picture for a moment; the server keeps a copy of its own.

#include <cstdint>
#include <span>
#include <vector>

namespace web {

// A rectangle of window pixels: x, y of its top left corner, its width and height.
struct Area {
    int x = 0, y = 0, w = 0, h = 0;
    bool empty() const { return w <= 0 || h <= 0; }
    Area intersect(const Area& o) const;
    bool operator==(const Area&) const = default;
};

// A picture borrowed from its owner, valid until the owner changes it.
struct PictureView {
    int width = 0, height = 0;
    std::span<const std::uint32_t> pixels;  // width * height
    const std::uint32_t* row(int y) const { return pixels.data() + std::size_t(y) * width; }
};

// A picture of the server's own.
struct Picture {
    int width = 0, height = 0;
    std::vector<std::uint32_t> pixels;

    Picture() = default;
    Picture(int w, int h) : width(w), height(h), pixels(std::size_t(w) * h) {}
    explicit Picture(PictureView v) : width(v.width), height(v.height), pixels(v.pixels.begin(), v.pixels.end()) {}
    std::uint32_t* row(int y) { return pixels.data() + std::size_t(y) * width; }
    PictureView view() const { return {width, height, pixels}; }
};

// Copies the area of src into dst at the same place (both of one size).
void copy_area(Picture& dst, PictureView src, const Area& area);

}  // namespace web
