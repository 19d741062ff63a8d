#pragma once
// Fonts for the raster canvas: a face requested by its Windows name and GDI height, resolved through
// fontconfig to an installed font and rasterised by FreeType without anti-aliasing (8-bit palette
// surfaces cannot blend). Glyphs are cached per font, so drawing the same text again costs no
// rasterisation.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace plat {

// What a module asks for, in GDI's terms (LOGFONT's height, weight and face name).
struct FontSpec {
    std::string face;  // "Arial", "Courier New", "Quartz", or any installed family
    int height = 0;    // < 0: character (em) height in pixels; > 0: cell height (ascent + descent); 0: 12
    int weight = 0;    // 0 = regular (400); 600 and above bold
};

// One rasterised glyph: a coverage mask of 0 (no ink) or 1 (ink), one byte per pixel.
struct Glyph {
    int advance = 0;  // pen advance in pixels
    int left = 0;     // mask's left edge relative to the pen position
    int top = 0;      // mask's top edge in pixels above the baseline
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> mask;  // width * height, row-major
};

// A face at one size. Shared by every canvas that selects it; not thread-safe for concurrent use of
// the same font object (each display draws on its own thread).
class Font {
public:
    // Resolves the face (Arial -> Liberation Sans, Courier New -> Liberation Mono, Quartz -> DSEG7 Classic,
    // otherwise fontconfig's best match). Returns null and fills *error when no font file can be opened.
    static std::shared_ptr<Font> open(const FontSpec& spec, std::string* error = nullptr);

    virtual ~Font() = default;

    virtual int ascent() const = 0;   // pixels above the baseline of the cell
    virtual int descent() const = 0;  // pixels below the baseline of the cell
    int cell_height() const { return ascent() + descent(); }

    // The glyph of one character of text, which is Windows-1252 encoded like the modules' strings.
    virtual const Glyph& glyph(unsigned char ch) = 0;
    // Sum of the advances of the text.
    virtual int text_width(std::string_view text) = 0;

    virtual const std::string& file_path() const = 0;  // the resolved font file
};

}  // namespace plat
