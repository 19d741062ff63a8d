// One fixed 256 x 256 picture drawn by the canvas in the display formats, and its lines, circles
// and strings drawn by cairo (aliased, like the canvas) for comparison. Run with
//   canvas_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

#include <benchmark/benchmark.h>
#include <cairo.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/canvas/canvas.h"

namespace {

using namespace plat;

constexpr int picture_size = 256;

// A fixed pseudo-random sequence (64-bit LCG), so every run draws the same picture on every
// machine, independent of the standard library's distributions.
class Sequence {
public:
    int below(int n) {
        state_ = state_ * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<int>((state_ >> 33) % static_cast<std::uint64_t>(n));
    }

private:
    std::uint64_t state_ = 0x5EED;
};

constexpr std::array<ColorRef, 8> colours = {rgb(255, 255, 255), rgb(255, 0, 0),   rgb(0, 255, 0),
                                            rgb(0, 0, 255),     rgb(255, 255, 0), rgb(0, 255, 255),
                                            rgb(255, 0, 255),   rgb(255, 128, 0)};

struct LineOp { Point a, b; ColorRef colour; };
struct CircleOp { Point centre; int radius; ColorRef colour; };
struct TextOp { Point at; int font; ColorRef colour; std::string text; };

struct Scene {
    std::vector<LineOp> lines;
    std::vector<CircleOp> circles;
    std::vector<TextOp> strings;
};

const Scene& scene() {
    static const Scene s = [] {
        Scene out;
        Sequence r;
        for (int i = 0; i < 500; ++i)
            out.lines.push_back({{r.below(picture_size), r.below(picture_size)},
                                 {r.below(picture_size), r.below(picture_size)},
                                 colours[static_cast<std::size_t>(r.below(8))]});
        for (int i = 0; i < 50; ++i)
            out.circles.push_back({{r.below(picture_size), r.below(picture_size)}, 5 + r.below(36),
                                   colours[static_cast<std::size_t>(r.below(8))]});
        const std::string letters = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
        for (int i = 0; i < 100; ++i) {
            std::string text;
            for (int n = 4 + r.below(5); n > 0; --n)
                text +=
                    letters[static_cast<std::size_t>(r.below(static_cast<int>(letters.size())))];
            out.strings.push_back({{r.below(picture_size - 40), 14 + r.below(picture_size - 16)},
                                   i % 2, colours[static_cast<std::size_t>(r.below(8))], text});
        }
        return out;
    }();
    return s;
}

struct Fonts {
    std::shared_ptr<Font> sans = Font::open({"Arial", -14, 0});
    std::shared_ptr<Font> mono = Font::open({"Courier New", -12, 0});
};

// The flood-fill part: white borders cut the picture into ten large areas, each then filled.
void draw_fill_frame(Canvas& c) {
    c.select_pen(Pen::solid(rgb(255, 255, 255)));
    c.select_brush(Brush::none());
    c.rectangle({0, 0, picture_size, picture_size});
    c.move_to(0, 128);
    c.line_to(picture_size, 128);
    c.move_to(128, 0);
    c.line_to(128, picture_size);
    c.ellipse({28, 28, 229, 229});
    c.ellipse({68, 68, 109, 109});
    c.ellipse({148, 148, 189, 189});
    const Point seeds[] = {{120, 120}, {136, 120}, {120, 136}, {136, 136}, {5, 5},
                           {250, 5},   {5, 250},   {250, 250}, {88, 88},   {168, 168}};
    int k = 0;
    for (const Point s : seeds) {
        const ColorRef colour = colours[static_cast<std::size_t>(1 + k % 7)];
        c.select_brush(k % 3 == 2 ? Brush::hatch(colour) : Brush::solid(colour));
        c.flood_fill(s.x, s.y, rgb(255, 255, 255));
        ++k;
    }
}

void draw_subset(Canvas& c, const Fonts& fonts) {
    const Scene& s = scene();
    for (const LineOp& l : s.lines) {
        c.select_pen(Pen::solid(l.colour));
        c.move_to(l.a.x, l.a.y);
        c.line_to(l.b.x, l.b.y);
    }
    c.select_brush(Brush::none());
    for (const CircleOp& o : s.circles) {
        c.select_pen(Pen::solid(o.colour));
        c.ellipse({o.centre.x - o.radius, o.centre.y - o.radius, o.centre.x + o.radius + 1,
                   o.centre.y + o.radius + 1});
    }
    c.set_bk_mode(BkMode::transparent);
    c.set_text_align(text_align::left | text_align::baseline);
    for (const TextOp& t : s.strings) {
        c.select_font(t.font == 0 ? fonts.sans : fonts.mono);
        c.set_text_color(t.colour);
        c.text_out(t.at.x, t.at.y, t.text);
    }
}

void canvas_picture(benchmark::State& state, PixelFormat format, bool with_fills) {
    Fonts fonts;
    if (!fonts.sans || !fonts.mono) {
        state.SkipWithError("fonts not available");
        return;
    }
    Bitmap bitmap(picture_size, picture_size, format);
    Canvas c(bitmap);
    for (auto _ : state) {
        c.fill_rect(bitmap.bounds(), rgb(0, 0, 0));
        if (with_fills) draw_fill_frame(c);
        draw_subset(c, fonts);
        benchmark::DoNotOptimize(bitmap.scanline(0));
        benchmark::ClobberMemory();
    }
}

void BM_CanvasPicture8(benchmark::State& s) { canvas_picture(s, PixelFormat::indexed8, true); }
void BM_CanvasPicture16(benchmark::State& s) { canvas_picture(s, PixelFormat::rgb555, true); }
void BM_CanvasSubset8(benchmark::State& s) { canvas_picture(s, PixelFormat::indexed8, false); }
void BM_CanvasSubset16(benchmark::State& s) { canvas_picture(s, PixelFormat::rgb555, false); }
void BM_CanvasSubset32(benchmark::State& s) { canvas_picture(s, PixelFormat::xrgb32, false); }

// cairo: RGB24 image surface, aliased strokes and text, fonts resolved by fontconfig to the same
// files the canvas uses, scaled fonts made once so their glyph caches stay warm.
struct CairoFonts {
    cairo_scaled_font_t* fonts[2] = {nullptr, nullptr};
    CairoFonts(const std::string& sans, const std::string& mono) {
        cairo_font_options_t* options = cairo_font_options_create();
        cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_NONE);
        const std::string* families[] = {&sans, &mono};
        const double sizes[] = {14, 12};
        for (int i = 0; i < 2; ++i) {
            cairo_font_face_t* face = cairo_toy_font_face_create(
                families[i]->c_str(), CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
            cairo_matrix_t font_matrix, ctm;
            cairo_matrix_init_scale(&font_matrix, sizes[i], sizes[i]);
            cairo_matrix_init_identity(&ctm);
            fonts[i] = cairo_scaled_font_create(face, &font_matrix, &ctm, options);
            cairo_font_face_destroy(face);
        }
        cairo_font_options_destroy(options);
    }
    ~CairoFonts() {
        for (auto* f : fonts) cairo_scaled_font_destroy(f);
    }
    CairoFonts(const CairoFonts&) = delete;
    CairoFonts& operator=(const CairoFonts&) = delete;
};

void set_colour(cairo_t* cr, ColorRef c) {
    cairo_set_source_rgb(cr, get_r(c) / 255.0, get_g(c) / 255.0, get_b(c) / 255.0);
}

void BM_CairoSubset(benchmark::State& state) {
    cairo_surface_t* surface =
        cairo_image_surface_create(CAIRO_FORMAT_RGB24, picture_size, picture_size);
    cairo_t* cr = cairo_create(surface);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    cairo_set_line_width(cr, 1.0);
    CairoFonts fonts("Liberation Sans", "Liberation Mono");
    const Scene& s = scene();
    for (auto _ : state) {
        cairo_set_source_rgb(cr, 0, 0, 0);
        cairo_paint(cr);
        // Half-pixel offsets put one-pixel strokes on pixel centres, as the canvas draws them.
        for (const LineOp& l : s.lines) {
            set_colour(cr, l.colour);
            cairo_move_to(cr, l.a.x + 0.5, l.a.y + 0.5);
            cairo_line_to(cr, l.b.x + 0.5, l.b.y + 0.5);
            cairo_stroke(cr);
        }
        for (const CircleOp& o : s.circles) {
            set_colour(cr, o.colour);
            cairo_new_path(cr);
            cairo_arc(cr, o.centre.x + 0.5, o.centre.y + 0.5, o.radius, 0, 2 * 3.141592653589793);
            cairo_stroke(cr);
        }
        for (const TextOp& t : s.strings) {
            cairo_set_scaled_font(cr, fonts.fonts[t.font]);
            set_colour(cr, t.colour);
            cairo_move_to(cr, t.at.x, t.at.y);
            cairo_show_text(cr, t.text.c_str());
        }
        cairo_surface_flush(surface);
        benchmark::DoNotOptimize(cairo_image_surface_get_data(surface));
        benchmark::ClobberMemory();
    }
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
}

}  // namespace

BENCHMARK(BM_CanvasPicture8)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CanvasPicture16)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CanvasSubset8)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CanvasSubset16)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CanvasSubset32)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CairoSubset)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
