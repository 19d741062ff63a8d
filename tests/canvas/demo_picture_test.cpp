// The demo picture: drawn in both display formats, checked at a few landmarks, and written as a
// PNG to the test's temporary folder for a person to look at.

#include <gtest/gtest.h>

#include "canvas_test_support.h"
#include "platform/canvas/demo_picture.h"
#include "platform/canvas/png_file.h"

using namespace plat;
using namespace canvas_test;

namespace {

TEST(DemoPicture, ShowsSkyAboveGroundInsideTheInstrument) {
    for (const PixelFormat format : {PixelFormat::indexed8, PixelFormat::rgb555}) {
        SCOPED_TRACE(static_cast<int>(format));
        Bitmap b(256, 256, format);
        Canvas c(b);
        draw_demo_picture(c);
        // Sky and ground map to their nearest colours on the default palette; compare like that.
        auto shown = [&](ColorRef colour) { return b.color_of(b.map_color(colour)); };
        EXPECT_EQ(c.get_pixel(128, 60), shown(rgb(0, 128, 128)));
        EXPECT_EQ(c.get_pixel(128, 200), shown(rgb(128, 0, 0)));
        EXPECT_EQ(c.get_pixel(40, 10), shown(rgb(0, 0, 0)));
        const std::string path = ::testing::TempDir() +
                                 (format == PixelFormat::indexed8 ? "demo8.png" : "demo16.png");
        EXPECT_FALSE(write_png(path, b));
        RecordProperty(format == PixelFormat::indexed8 ? "png8" : "png16", path);
    }
}

}  // namespace
