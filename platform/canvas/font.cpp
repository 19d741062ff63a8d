#include "platform/canvas/font.h"

#include <algorithm>
#include <atomic>
#include <array>
#include <cmath>
#include <cstdio>
#include <map>
#include <mutex>
#include <optional>
#include <utility>

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

namespace plat {
namespace {

constexpr int default_char_height = 12;
constexpr int bold_weight = 600;
// Beyond this a font's 256 cached glyphs would take hundreds of megabytes; no panel display is that large.
constexpr int max_pixel_size = 512;

// Windows-1252's 0x80-0x9F block. The five unassigned bytes keep their C1 code points, as Windows'
// own conversion table does, so they fall to the font's missing-glyph shape.
constexpr std::array<char32_t, 32> cp1252_high = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char32_t code_point(unsigned char ch) {
    return ch >= 0x80 && ch <= 0x9F ? cp1252_high[ch - 0x80] : char32_t{ch};
}

// The faces the modules name, mapped to metric-compatible free fonts so text lays out as it did
// on Windows. Quartz is a seven-segment display face; fontconfig alone would fall back to a
// proportional sans.
constexpr std::array<std::pair<std::string_view, std::string_view>, 4> face_aliases = {{
    {"arial", "Liberation Sans"},
    {"courier new", "Liberation Mono"},
    {"times new roman", "Liberation Serif"},
    {"quartz", "DSEG7 Classic"},
}};

std::string lower_case(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) {
        return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    });
    return out;
}

std::string family_for(std::string_view face) {
    const std::string key = lower_case(face);
    for (const auto& [windows_name, family] : face_aliases) {
        if (key == windows_name) return std::string(family);
    }
    return std::string(face);
}

void set_error(std::string* error, std::string message) {
    if (error) *error = std::move(message);
}

// FreeType allows one library to serve many threads as long as creating and destroying faces is
// serialised; rendering into different faces needs no lock.
struct FtLibrary {
    FT_Library handle = nullptr;
    std::mutex face_mutex;

    FtLibrary() = default;
    FtLibrary(const FtLibrary&) = delete;
    FtLibrary& operator=(const FtLibrary&) = delete;
    ~FtLibrary() {
        if (handle) FT_Done_FreeType(handle);
    }
};

// Holds the library alive as long as any face exists, so a font that outlives the cache (a module's
// static, say) is still released against a valid library.
struct FaceCloser {
    std::shared_ptr<FtLibrary> library;
    void operator()(FT_Face face) const {
        std::lock_guard lock(library->face_mutex);
        FT_Done_Face(face);
    }
};
using FacePtr = std::unique_ptr<FT_FaceRec_, FaceCloser>;

struct PatternDestroyer {
    void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
using PatternPtr = std::unique_ptr<FcPattern, PatternDestroyer>;

struct ResolvedFace {
    std::string file;
    int index = 0;
    bool bold = false;  // the file itself is a bold face; otherwise bold is synthesised
};

std::optional<ResolvedFace> match_face(const std::string& family, bool bold) {
    PatternPtr pattern(FcPatternCreate());
    if (!pattern) return std::nullopt;
    if (!family.empty()) {
        FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    }
    FcPatternAddInteger(pattern.get(), FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern.get(), FC_SLANT, FC_SLANT_ROMAN);
    FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
    if (!FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern)) return std::nullopt;
    FcDefaultSubstitute(pattern.get());

    FcResult result = FcResultNoMatch;
    PatternPtr match(FcFontMatch(nullptr, pattern.get(), &result));
    if (!match) return std::nullopt;
    FcChar8* file = nullptr;
    if (FcPatternGetString(match.get(), FC_FILE, 0, &file) != FcResultMatch || !file) return std::nullopt;

    ResolvedFace resolved;
    resolved.file = reinterpret_cast<const char*>(file);
    FcPatternGetInteger(match.get(), FC_INDEX, 0, &resolved.index);
    int weight = FC_WEIGHT_REGULAR;
    FcPatternGetInteger(match.get(), FC_WEIGHT, 0, &weight);
    resolved.bold = weight >= FC_WEIGHT_DEMIBOLD;
    return resolved;
}

struct CellMetrics {
    int ascent = 0;
    int descent = 0;
};

// GDI's mapping from a LOGFONT height to a size: the Windows ascent and descent of the OS/2 table
// define the cell; a negative height fixes the em, a positive one fixes the cell.
int effective_height(int height) {
    if (height == 0) return -default_char_height;
    return std::clamp(height, -max_pixel_size, max_pixel_size);
}

std::optional<CellMetrics> apply_size(FT_Face face, int height) {

    if (!FT_IS_SCALABLE(face)) {
        if (face->num_fixed_sizes <= 0) return std::nullopt;
        const int wanted = std::abs(height);
        int best = 0;
        for (int i = 1; i < face->num_fixed_sizes; ++i) {
            if (std::abs(face->available_sizes[i].height - wanted) <
                std::abs(face->available_sizes[best].height - wanted)) {
                best = i;
            }
        }
        if (FT_Select_Size(face, best) != 0) return std::nullopt;
        return CellMetrics{static_cast<int>(face->size->metrics.ascender >> 6),
                           static_cast<int>(-face->size->metrics.descender >> 6)};
    }

    double win_ascent = face->ascender;
    double win_descent = -static_cast<double>(face->descender);
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
        win_ascent = os2->usWinAscent;
        win_descent = os2->usWinDescent;
    }
    const double units_per_em = face->units_per_EM > 0 ? face->units_per_EM : 1.0;
    const double cell_units = std::max(1.0, win_ascent + win_descent);

    int pixels_per_em = 0;
    CellMetrics metrics;
    if (height < 0) {
        pixels_per_em = -height;
        metrics.ascent = static_cast<int>(std::lround(win_ascent * pixels_per_em / units_per_em));
        metrics.descent = static_cast<int>(std::lround(win_descent * pixels_per_em / units_per_em));
    } else {
        pixels_per_em = std::max(1, static_cast<int>(std::lround(height * units_per_em / cell_units)));
        metrics.ascent = static_cast<int>(std::lround(win_ascent * height / cell_units));
        metrics.descent = height - metrics.ascent;
    }
    if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixels_per_em)) != 0) return std::nullopt;
    return metrics;
}

FT_UInt glyph_index(FT_Face face, unsigned char ch) {
    FT_UInt index = FT_Get_Char_Index(face, code_point(ch));
    // Symbol fonts put their characters in the private-use page, where Windows looks for them too.
    if (index == 0 && face->charmap && face->charmap->encoding == FT_ENCODING_MS_SYMBOL) {
        index = FT_Get_Char_Index(face, 0xF000u | ch);
    }
    return index;
}

const std::uint8_t* bitmap_row(const FT_Bitmap& bitmap, unsigned row) {
    const unsigned stride = static_cast<unsigned>(std::abs(bitmap.pitch));
    // An upward-flowing bitmap stores its bottom row first.
    const unsigned stored = bitmap.pitch >= 0 ? row : bitmap.rows - 1 - row;
    return bitmap.buffer + static_cast<std::size_t>(stored) * stride;
}

std::optional<Glyph> render_glyph(FT_Face face, unsigned char ch, bool embolden) {
    if (FT_Load_Glyph(face, glyph_index(face, ch), FT_LOAD_DEFAULT | FT_LOAD_TARGET_MONO) != 0) {
        return std::nullopt;
    }
    FT_GlyphSlot slot = face->glyph;
    if (embolden && slot->format == FT_GLYPH_FORMAT_OUTLINE) FT_GlyphSlot_Embolden(slot);
    if (slot->format != FT_GLYPH_FORMAT_BITMAP && FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) != 0) {
        return std::nullopt;
    }

    Glyph glyph;
    glyph.advance = static_cast<int>((slot->advance.x + 32) >> 6);
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    const FT_Bitmap& bitmap = slot->bitmap;
    if (!bitmap.buffer || bitmap.width == 0 || bitmap.rows == 0) return glyph;

    glyph.width = static_cast<int>(bitmap.width);
    glyph.height = static_cast<int>(bitmap.rows);
    glyph.mask.assign(static_cast<std::size_t>(glyph.width) * glyph.height, 0);
    for (unsigned y = 0; y < bitmap.rows; ++y) {
        const std::uint8_t* src = bitmap_row(bitmap, y);
        std::uint8_t* dst = glyph.mask.data() + static_cast<std::size_t>(y) * bitmap.width;
        for (unsigned x = 0; x < bitmap.width; ++x) {
            switch (bitmap.pixel_mode) {
                case FT_PIXEL_MODE_MONO: dst[x] = (src[x >> 3] >> (7 - (x & 7))) & 1; break;
                case FT_PIXEL_MODE_GRAY: dst[x] = src[x] >= 128 ? 1 : 0; break;
                case FT_PIXEL_MODE_BGRA: dst[x] = src[4 * x + 3] >= 128 ? 1 : 0; break;
                default: break;
            }
        }
    }
    return glyph;
}

class FontImpl final : public Font {
public:
    FontImpl(FacePtr face, std::string path, CellMetrics metrics, bool embolden)
        : face_(std::move(face)), path_(std::move(path)), metrics_(metrics), embolden_(embolden) {}

    int ascent() const override { return metrics_.ascent; }
    int descent() const override { return metrics_.descent; }
    const std::string& file_path() const override { return path_; }

    const Glyph& glyph(unsigned char ch) override {
        // call_once costs a library call and thread-local stores on every glyph of every text.
        if (!ready_.load(std::memory_order_acquire)) std::call_once(rendered_, [this] { render_all(); });
        const auto& slot = glyphs_[ch];
        return slot ? *slot : missing_;
    }

    int text_width(std::string_view text) override {
        int width = 0;
        for (char c : text) width += glyph(static_cast<unsigned char>(c)).advance;
        return width;
    }

private:
    // The whole Windows-1252 set is rasterised at once: a font is shared by every display that uses
    // it, and afterwards lookups are plain reads, safe from any thread, and the face can go.
    void render_all() {
        for (int ch = 0; ch < 256; ++ch) {
            glyphs_[ch] = render_glyph(face_.get(), static_cast<unsigned char>(ch), embolden_);
        }
        face_.reset();
        ready_.store(true, std::memory_order_release);
    }

    FacePtr face_;
    std::string path_;
    CellMetrics metrics_;
    bool embolden_;
    std::once_flag rendered_;
    std::atomic<bool> ready_{false};
    std::array<std::optional<Glyph>, 256> glyphs_;
    const Glyph missing_{};
};

// Every font opened in the process, so that modules re-creating their fonts at each initialisation
// get the already rasterised ones back.
class FontCache {
public:
    static FontCache& instance() {
        static FontCache cache;
        return cache;
    }

    std::shared_ptr<Font> open(const FontSpec& spec, std::string* error) {
        const bool bold = spec.weight >= bold_weight;
        std::lock_guard lock(mutex_);
        if (!library_ && !init_library(error)) return nullptr;

        const ResolvedFace* resolved = resolve(spec.face, bold);
        if (!resolved) {
            set_error(error, "no installed font matches face \"" + spec.face + "\"");
            return nullptr;
        }

        const int height = effective_height(spec.height);
        const FontKey key{resolved->file, resolved->index, height, bold};
        if (auto it = fonts_.find(key); it != fonts_.end()) return it->second;

        FT_Face raw = nullptr;
        FT_Error rc = 0;
        {
            std::lock_guard face_lock(library_->face_mutex);
            rc = FT_New_Face(library_->handle, resolved->file.c_str(), resolved->index, &raw);
        }
        if (rc != 0 || !raw) {
            char code[32];
            std::snprintf(code, sizeof code, "%d", rc);
            set_error(error, "cannot open font file \"" + resolved->file + "\" for face \"" + spec.face +
                                 "\" (FreeType error " + code + ")");
            return nullptr;
        }
        FacePtr face(raw, FaceCloser{library_});
        const auto metrics = apply_size(face.get(), height);
        if (!metrics) {
            set_error(error, "font file \"" + resolved->file + "\" for face \"" + spec.face +
                                 "\" has no usable size");
            return nullptr;
        }
        std::shared_ptr<Font> font =
            std::make_shared<FontImpl>(std::move(face), resolved->file, *metrics, bold && !resolved->bold);
        fonts_.emplace(key, font);
        return font;
    }

private:
    struct FontKey {
        std::string file;
        int index;
        int height;
        bool bold;
        auto operator<=>(const FontKey&) const = default;
    };

    FontCache() = default;

    bool init_library(std::string* error) {
        auto library = std::make_shared<FtLibrary>();
        if (const FT_Error rc = FT_Init_FreeType(&library->handle); rc != 0) {
            library->handle = nullptr;
            char message[64];
            std::snprintf(message, sizeof message, "FreeType initialisation failed (error %d)", rc);
            set_error(error, message);
            return false;
        }
        library_ = std::move(library);
        return true;
    }

    // Face names are case-insensitive in GDI; matching is remembered per name so that fontconfig
    // is asked once.
    const ResolvedFace* resolve(const std::string& face, bool bold) {
        auto request = std::make_pair(lower_case(face), bold);
        if (auto it = resolved_.find(request); it != resolved_.end()) return &it->second;
        auto match = match_face(family_for(face), bold);
        if (!match) return nullptr;
        return &resolved_.emplace(std::move(request), std::move(*match)).first->second;
    }

    std::mutex mutex_;
    std::shared_ptr<FtLibrary> library_;
    std::map<std::pair<std::string, bool>, ResolvedFace> resolved_;
    std::map<FontKey, std::shared_ptr<Font>> fonts_;
};

}  // namespace

#if defined(__SANITIZE_ADDRESS__)
// fontconfig 2.14 loses a few bytes while parsing its configuration, once per process, in frames
// without frame pointers, so only the library as a whole can be named. Our own patterns are all
// owned by PatternPtr. Defined here rather than in each test so every program using fonts is covered.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
#endif

std::shared_ptr<Font> Font::open(const FontSpec& spec, std::string* error) {
    return FontCache::instance().open(spec, error);
}

}  // namespace plat
