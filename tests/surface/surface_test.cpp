// The display surface's colours, pixel formats and hand-over, seen in the host images of a probe
// display (32 x 8; background key grey 128 at palette index 120, slot 3 at index 103).

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

#include "panel_fixture.h"
#include "panelhost/element_render.h"
#include "panelhost/panel.h"
#include "platform/message_box.h"

namespace {

const char* kProbePanel = "[Window00]\nsize=64,16\ngauge00=surfaceprobe!surfaceprobe, 0, 0\n";

panelhost::SessionOptions format(int bits, int padding = 0) {
    panelhost::SessionOptions o = with_modules_from(PROBE_DIR);
    o.own_aircraft = false;
    o.format_bits = bits;
    o.image_pitch_padding = padding;
    return o;
}

const panelhost::HostImage& host_image(PanelRun& run, int element, int picture,
                                      const char* gauge = "surfaceprobe") {
    panelhost::GaugeInstance* g = run.panel().find_gauge(gauge);
    if (!g) throw std::runtime_error(std::string("no gauge ") + gauge);
    return *g->elements.at(static_cast<std::size_t>(element))->host_images.at(static_cast<std::size_t>(picture));
}

unsigned pixel16(const panelhost::HostImage& img, int x, int y) {
    const std::uint8_t* p = img.pixels.data() + static_cast<std::size_t>(y) * img.pitch + 2 * x;
    return p[0] | (p[1] << 8);
}

unsigned pixel8(const panelhost::HostImage& img, int x, int y) {
    return img.pixels[static_cast<std::size_t>(y) * img.pitch + x];
}

bool in_square(int x, int y) { return x >= 2 && x < 6 && y >= 2 && y < 6; }

TEST(DisplaySurface, SixteenBitBackgroundPacksAndBlackCarriesBit15) {
    PanelRun run(kProbePanel, "", format(16));
    run.cycles(2);
    for (int picture : {0, 1}) {
        const panelhost::HostImage& img = host_image(run, 1, picture);
        EXPECT_EQ(pixel16(img, 20, 4), 0x8000u | 0x3DEFu) << "grey 128 packs to 0x3DEF";
        EXPECT_EQ(pixel16(img, 3, 3), 0x8000u) << "black";
    }
    EXPECT_FALSE(std::filesystem::exists("Gauges/surfaceprobe.err"));
    EXPECT_TRUE(plat::message_log().empty());
}

TEST(DisplaySurface, EightBitPixelsPassUnchanged) {
    PanelRun run(kProbePanel, "", format(8));
    run.cycles(2);
    for (int picture : {0, 1}) {
        const panelhost::HostImage& img = host_image(run, 1, picture);
        EXPECT_EQ(pixel8(img, 20, 4), 120u) << "the background key's own index";
        EXPECT_EQ(pixel8(img, 10, 2), 103u) << "slot 3";
        EXPECT_EQ(pixel8(img, 3, 3), 0u) << "black";
    }
    EXPECT_FALSE(std::filesystem::exists("Gauges/surfaceprobe.err"));
}

// The gauge's picture is the display's host image over the background's, each drawn from its own
// pixels as the host converts them whole, black left out of both (both are transparent).
TEST(DisplaySurface, GaugePictureIsTheDisplayOverItsBackgroundInEveryFormat) {
    for (const int bits : {8, 16}) {
        SCOPED_TRACE(bits);
        PanelRun run(kProbePanel, "", format(bits, 3));
        run.cycles(3);
        panelhost::GaugeInstance* g = run.panel().find_gauge("surfaceprobe");
        ASSERT_NE(g, nullptr);
        run.panel().compose();
        const panelhost::ElementState& display = *g->elements.at(1);
        ASSERT_TRUE(display.has_value);
        panelhost::Image background, shown;
        panelhost::convert_host_image(host_image(run, 0, 0), background);
        panelhost::convert_host_image(host_image(run, 1, static_cast<int>(display.value)), shown);
        ASSERT_EQ(g->picture.width, shown.width);
        int from_background = 0;
        for (int y = 0; y < shown.height; ++y)
            for (int x = 0; x < shown.width; ++x) {
                const std::uint32_t d = shown.row(y)[x], b = background.row(y)[x];
                const std::uint32_t expected = !panelhost::is_black(d) ? d : !panelhost::is_black(b) ? b : 0;
                ASSERT_EQ(g->picture.row(y)[x], expected) << x << "," << y;
                from_background += panelhost::is_black(d) && !panelhost::is_black(b);
            }
        EXPECT_GT(from_background, 0) << "the background shows through the display's black";
    }
}

TEST(DisplaySurface, ColourKeysAreCoveredByTheFirstRow) {
    PanelRun run(kProbePanel, "", format(8));
    run.cycles(1);
    const panelhost::HostImage& bg = host_image(run, 0, 0);
    for (int x = 0; x < bg.width; ++x) EXPECT_EQ(pixel8(bg, x, bg.height - 1), pixel8(bg, x, 0)) << x;
}

// Rows wider than the picture are copied one by one into both images, without shearing.
TEST(DisplaySurface, PaddedPitchReachesBothImagesRowByRow) {
    for (const int bits : {8, 16}) {
        PanelRun run(kProbePanel, "", format(bits, 6));
        run.cycles(2);
        for (int picture : {0, 1}) {
            const panelhost::HostImage& img = host_image(run, 1, picture);
            ASSERT_EQ(img.pitch, img.width * bits / 8 + 6);
            for (int y = 0; y < img.height; ++y)
                for (int x = 0; x < img.width; ++x) {
                    const unsigned p = bits == 8 ? pixel8(img, x, y) : pixel16(img, x, y);
                    const unsigned want = in_square(x, y) ? (bits == 8 ? 0u : 0x8000u)
                                          : x == 10 && y == 2 ? (bits == 8 ? 103u : p)
                                                              : (bits == 8 ? 120u : 0xBDEFu);
                    EXPECT_EQ(p, want) << bits << "-bit picture " << picture << " at " << x << "," << y;
                }
        }
    }
}

TEST(DisplaySurface, ReleasingTwiceIsHarmlessAndCreationComesBack) {
    PanelRun run(kProbePanel, "", format(16));
    run.cycles(2);
    ASSERT_TRUE(run.panel().click_gauge("surfaceprobe", 4, 4));
    run.cycles(3);
    EXPECT_EQ(pixel16(host_image(run, 1, 0), 20, 4), 0xBDEFu) << "the last picture stays";
    ASSERT_TRUE(run.panel().click_gauge("surfaceprobe", 20, 4));
    run.cycles(2);
    EXPECT_EQ(pixel16(host_image(run, 1, 0), 3, 3), 0x8000u);
    EXPECT_TRUE(plat::message_log().empty());
}

TEST(DisplaySurface, MissingColourTableWarnsAndGoesOn) {
    PanelRun run("[Window00]\nsize=64,16\ngauge00=surfaceprobe_nokeys!surfaceprobe_nokeys, 0, 0\n", "", format(8));
    run.cycles(2);
    const auto log = plat::message_log();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].caption, "Warning");
    EXPECT_EQ(log[0].icon, plat::MessageIcon::warning);
    EXPECT_EQ(log[0].text, "surfaceprobe_nokeys\nUnable to get the color table \nand the palette.");
    std::ifstream in("Gauges/surfaceprobe_nokeys.err", std::ios::binary);
    const std::string entry((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string head = log[0].text + "\n hMod = ";
    EXPECT_EQ(entry.substr(0, head.size()), head);
    EXPECT_EQ(entry.size(), head.size() + 8 + std::string("  hRc = 00000000  hGlobal = 00000000\n\n").size());
    EXPECT_NE(entry.find("  hRc = 00000000  hGlobal = 00000000\n\n"), std::string::npos) << entry;
    // The surface is still made: the probe's picture arrives, in the fallback colours.
    EXPECT_EQ(pixel8(host_image(run, 1, 0, "surfaceprobe_nokeys"), 3, 3), 0u);
}

}  // namespace
