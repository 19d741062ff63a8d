#include "canvas_test_support.h"

#include <algorithm>

namespace canvas_test {

plat::Bitmap small_bitmap(int width, int height) {
    plat::Bitmap b(width, height, plat::PixelFormat::indexed8);
    const plat::ColorRef palette[] = {black, white, red, green, blue, yellow};
    b.set_palette(palette);
    return b;
}

std::vector<std::string> rows(const plat::Bitmap& b, plat::Rect area) {
    std::vector<std::string> out;
    for (int y = area.top; y < area.bottom; ++y) {
        std::string row;
        for (int x = area.left; x < area.right; ++x) {
            const std::uint32_t v = b.pixel(x, y);
            row += v == 0 ? '.' : v < 10 ? static_cast<char>('0' + v) : '?';
        }
        out.push_back(row);
    }
    return out;
}

std::vector<std::string> rows(const plat::Bitmap& b) { return rows(b, b.bounds()); }

std::vector<plat::Point> differences(const plat::Bitmap& a, const plat::Bitmap& b) {
    std::vector<plat::Point> out;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y)) out.push_back({x, y});
    return out;
}

std::vector<plat::Point> pixels_not(const plat::Bitmap& b, std::uint32_t value) {
    std::vector<plat::Point> out;
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x)
            if (b.pixel(x, y) != value) out.push_back({x, y});
    return out;
}

plat::Rect ink_box(const plat::Bitmap& b, std::uint32_t background) {
    plat::Rect box{b.width(), b.height(), 0, 0};
    for (const plat::Point p : pixels_not(b, background)) {
        box.left = std::min(box.left, p.x);
        box.top = std::min(box.top, p.y);
        box.right = std::max(box.right, p.x + 1);
        box.bottom = std::max(box.bottom, p.y + 1);
    }
    return box.empty() ? plat::Rect{} : box;
}

BoxFont::BoxFont() {
    box_ = {6, 1, 6, 4, 6, std::vector<std::uint8_t>(24, 1)};
    descender_ = {6, 1, 6, 4, 8, std::vector<std::uint8_t>(32, 1)};
}

}  // namespace canvas_test
