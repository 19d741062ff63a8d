// The clip region confines every primitive: each one is drawn over the whole bitmap through a clip
// with a hole, and must change pixels inside the clip and none outside it.

#include <gtest/gtest.h>

#include <functional>

#include "canvas_test_support.h"

using namespace plat;
using namespace canvas_test;

namespace {

struct Primitive {
    const char* name;
    std::function<void(Canvas&)> draw;
};

const Bitmap& source_block() {
    static const Bitmap block = [] {
        Bitmap b = small_bitmap(40, 40);
        Canvas c(b);
        c.fill_rect({0, 0, 40, 40}, yellow);
        return b;
    }();
    return block;
}

const Primitive primitives[] = {
    {"set_pixel",
     [](Canvas& c) {
         for (int i = 0; i < 40; ++i) c.set_pixel(i, i, white);
     }},
    {"line_to",
     [](Canvas& c) {
         c.move_to(-5, 3);
         c.line_to(45, 37);
     }},
    {"dotted line",
     [](Canvas& c) {
         c.select_pen(Pen::dotted(white));
         c.move_to(0, 20);
         c.line_to(40, 20);
     }},
    {"polyline",
     [](Canvas& c) {
         const Point p[] = {{0, 0}, {39, 5}, {0, 10}, {39, 15}, {0, 20}, {39, 39}};
         c.polyline(p);
     }},
    {"rectangle",
     [](Canvas& c) {
         c.rectangle({-2, -2, 42, 42});
     }},
    {"rectangle outline",
     [](Canvas& c) {
         c.rectangle({10, 10, 30, 30});
     }},
    {"ellipse",
     [](Canvas& c) {
         c.ellipse({-10, -10, 50, 50});
     }},
    {"fill_rect",
     [](Canvas& c) {
         c.fill_rect({-100, -100, 100, 100}, red);
     }},
    {"hatch",
     [](Canvas& c) {
         c.fill_rect({0, 0, 40, 40}, Brush::hatch(white));
     }},
    {"fill_region",
     [](Canvas& c) {
         c.fill_region(Region::ellipse({0, 0, 40, 40}), Brush::solid(red));
     }},
    {"flood_fill", [](Canvas& c) { c.flood_fill(8, 8, white); }},
    {"text_out",
     [](Canvas& c) {
         c.select_font(std::make_shared<BoxFont>());
         for (int y = -4; y < 44; y += 9) c.text_out(-3, y, "abcdefg");
     }},
    {"blit", [](Canvas& c) { c.blit(-5, -5, 60, 60, source_block(), 0, 0); }},
    {"blit or", [](Canvas& c) { c.blit(0, 0, 40, 40, source_block(), 0, 0, Rop::src_paint); }},
};

TEST(Clip, ConfinesEveryPrimitive) {
    // A ring: a rectangle with a hole, so a primitive must respect both outer and inner edges.
    const Region clip = subtract(Region(Rect{6, 4, 34, 36}), Region(Rect{14, 12, 26, 28}));
    for (const Primitive& p : primitives) {
        SCOPED_TRACE(p.name);
        Bitmap bmp = small_bitmap(40, 40);
        Canvas c(bmp);
        c.select_pen(Pen::solid(white));
        c.select_brush(Brush::solid(green));
        c.set_text_color(white);
        c.set_bk_color(blue);
        c.select_clip(clip);
        p.draw(c);
        int inside = 0;
        for (const Point q : pixels_not(bmp, 0)) {
            EXPECT_TRUE(clip.contains(q.x, q.y))
                << "drawn outside the clip at " << q.x << "," << q.y;
            ++inside;
        }
        EXPECT_GT(inside, 0) << "nothing drawn";
    }
}

TEST(Clip, IsAlwaysCutToTheBitmapAndCanBeCleared) {
    Bitmap bmp = small_bitmap(10, 10);
    Canvas c(bmp);
    c.select_clip(Region(Rect{-50, 5, 50, 50}));
    EXPECT_EQ(c.clip().bounds(), (Rect{0, 5, 10, 10}));
    EXPECT_EQ(c.get_pixel(3, 3), clr_invalid);
    EXPECT_FALSE(c.flood_fill(3, 3, white));
    c.clear_clip();
    EXPECT_EQ(c.clip(), Region(Rect{0, 0, 10, 10}));
    EXPECT_EQ(c.get_pixel(3, 3), black);
}

}  // namespace
