#pragma once
// Helpers for exact pixel checks: small indexed bitmaps whose pixels print as digits, and a font
// with known metrics so text placement can be checked to the pixel.

#include <string>
#include <vector>

#include "platform/canvas/bitmap.h"
#include "platform/canvas/canvas.h"
#include "platform/canvas/font.h"

namespace canvas_test {

// Palette of the test bitmaps: index 0 black ('.'), then the colours below.
inline constexpr plat::ColorRef black = plat::rgb(0, 0, 0);
inline constexpr plat::ColorRef white = plat::rgb(255, 255, 255);
inline constexpr plat::ColorRef red = plat::rgb(255, 0, 0);
inline constexpr plat::ColorRef green = plat::rgb(0, 255, 0);
inline constexpr plat::ColorRef blue = plat::rgb(0, 0, 255);
inline constexpr plat::ColorRef yellow = plat::rgb(255, 255, 0);

// An indexed bitmap with palette black, white, red, green, blue, yellow (indices 0-5).
plat::Bitmap small_bitmap(int width, int height);

// The rows of `area` as text: '.' for index 0, the index digit otherwise (indexed bitmaps only).
std::vector<std::string> rows(const plat::Bitmap& b, plat::Rect area);
std::vector<std::string> rows(const plat::Bitmap& b);

// Pixels whose value differs between two bitmaps of the same size and format.
std::vector<plat::Point> differences(const plat::Bitmap& a, const plat::Bitmap& b);
// Pixels with a value other than `value`.
std::vector<plat::Point> pixels_not(const plat::Bitmap& b, std::uint32_t value);
// Bounding box of the pixels other than `background`.
plat::Rect ink_box(const plat::Bitmap& b, std::uint32_t background = 0);

// Ascent 8, descent 2 (cell 10). Every character advances 6 and inks a 4 x 6 block starting one
// pixel right of the pen and resting on the baseline, except 'g', whose block is 4 x 8 and reaches
// 2 rows below the baseline.
class BoxFont : public plat::Font {
public:
    BoxFont();
    int ascent() const override { return 8; }
    int descent() const override { return 2; }
    const plat::Glyph& glyph(unsigned char ch) override { return ch == 'g' ? descender_ : box_; }
    int text_width(std::string_view text) override { return static_cast<int>(text.size()) * 6; }
    const std::string& file_path() const override { return path_; }

private:
    plat::Glyph box_, descender_;
    std::string path_ = "box-font";
};

}  // namespace canvas_test
