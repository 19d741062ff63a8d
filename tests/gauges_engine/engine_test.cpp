#include <gtest/gtest.h>

#include "panel_fixture.h"
#include "panelhost/image.h"

namespace {

const char* kPanel = "[Window00]\nsize=200,400\ngauge00=enginegauge!enginegauge, 0, 0\n";
const char* kPowered = "at 0 set 364 1\n";
// The host's aircraft keeps its buses powered; a scenario takes them over to switch them off.
const std::string kUnpowered = "at 0 set 364 0\nat 0 set 761 0\nat 0 set 763 0\n";

// Elements in the gauge's list order.
enum Element {
    overlay = 1, epr1, epr1_marker, epr2, epr2_marker, n1_1, n1_2, egt1, egt2, n2_1, n2_2,
    marker1_text, marker2_text, epr1_text, epr2_text, n1_1_text, n1_2_text, egt1_text, egt2_text,
    n2_1_text, n2_2_text, fuel1_text, fuel2_text,
};

panelhost::ElementState& state(PanelRun& run, int element) {
    return *run.panel().find_gauge("enginegauge")->elements.at(static_cast<std::size_t>(element));
}
std::string text(PanelRun& run, int element) { return state(run, element).shown_text; }
double value(PanelRun& run, int element) { return state(run, element).value; }

// Pixels of the colour 0x00RRGGBB inside a box of the window.
int count_colour(PanelRun& run, int x, int y, int w, int h, std::uint32_t rgb) {
    int n = 0;
    for (int yy = y; yy < y + h; ++yy)
        for (int xx = x; xx < x + w; ++xx) n += run.pixel(0, xx, yy) == rgb;
    return n;
}

constexpr std::uint32_t kGreen = 0xA5DA00, kOrange = 0xE45C00;

// The share of the lit overlay's markings on screen, outside the windows drawn over it.
double overlay_share(PanelRun& run) {
    auto b = panelhost::load_bitmap_resource(run.panel().find_gauge("enginegauge")->module->handle(), 2000);
    if (!b) throw std::runtime_error(b.error());
    int compared = 0, matching = 0;
    for (int y = 0; y < b->height; ++y)
        for (int x = 0; x < b->width; ++x) {
            const std::uint32_t p = b->row(y)[x] & 0x00FFFFFFu;
            if (p == 0) continue;
            ++compared;
            matching += run.pixel(0, x, y) == p;
        }
    return compared ? double(matching) / compared : 0.0;
}

TEST(EngineGauge, WithoutPowerTheWindowsAreEmptyButTheNeedlesMove) {
    PanelRun run(kPanel, kUnpowered + "at 0 set 624 55\nat 0 set 630 1.6\nat 1 set 761 1\n");
    run.cycles(3);
    for (int e = marker1_text; e <= fuel2_text; ++e) EXPECT_EQ(text(run, e), "") << "window " << e;
    EXPECT_LT(overlay_share(run), 0.05);
    EXPECT_EQ(count_colour(run, 25, 62, 36, 22, kGreen), 0);
    EXPECT_NEAR(value(run, n1_1), 2.363636 * 55 - 40, 1e-9);
    EXPECT_NEAR(value(run, epr1), 162.5 * 1.6 - 170, 1e-9);
    run.session().run_for(1.1);
    EXPECT_GT(overlay_share(run), 0.8);
    EXPECT_EQ(text(run, epr1_text), "1.60");
    EXPECT_EQ(text(run, marker1_text), "2.05");
    EXPECT_EQ(text(run, n1_1_text), " 55.0");
    EXPECT_GT(count_colour(run, 25, 62, 36, 22, kGreen), 20);
}

TEST(EngineGauge, EprAtItsMarkerTurnsTheWindowOrange) {
    PanelRun run(kPanel, std::string(kPowered) + "at 0 set 630 2.05\nat 0 set 649 2.04\n");
    run.cycles(2);
    auto& window1 = static_cast<gauge::StringElement&>(*state(run, epr1_text).element);
    auto& window2 = static_cast<gauge::StringElement&>(*state(run, epr2_text).element);
    EXPECT_EQ(window1.text_colour, 0x5CE4u);
    EXPECT_EQ(window2.text_colour, 0xDAA5u);
    EXPECT_GT(count_colour(run, 25, 62, 36, 22, kOrange), 20);
    EXPECT_EQ(count_colour(run, 25, 62, 36, 22, kGreen), 0);
    EXPECT_GT(count_colour(run, 119, 62, 36, 22, kGreen), 20);
    EXPECT_EQ(count_colour(run, 119, 62, 36, 22, kOrange), 0);
}

TEST(EngineGauge, HeldMarkerArrowsStopAtTheirEnds) {
    PanelRun run(kPanel, kPowered);
    run.cycles(1);
    ASSERT_TRUE(run.panel().press_gauge("enginegauge", 20, 360));  // engine 1 up
    run.cycles(34);                                               // 35 steps
    EXPECT_EQ(text(run, marker1_text), "2.40");
    run.cycles(20);
    EXPECT_EQ(text(run, marker1_text), "2.41") << "the 36th step passes 2.4 and is the last";
    EXPECT_NEAR(value(run, epr1_marker), 162.5 * 2.41 - 170, 1e-6) << "engine 1 is not clamped";
    run.panel().release();

    ASSERT_TRUE(run.panel().press_gauge("enginegauge", 160, 360));  // engine 2 down
    run.cycles(200);
    run.panel().release();
    run.cycles(1);
    EXPECT_EQ(text(run, marker2_text), "0.80");
    EXPECT_NEAR(value(run, epr2_marker), -40.0, 1e-9);
    ASSERT_TRUE(run.panel().press_gauge("enginegauge", 175, 358));  // engine 2 up, one step
    run.panel().release();
    run.cycles(1);
    EXPECT_EQ(text(run, marker2_text), "0.81");
}

TEST(EngineGauge, NeedlesClampToTheirScales) {
    PanelRun run(kPanel, "at 0 set 624 120\nat 0 set 643 -5\nat 0 set 625 200\nat 0 set 649 3\n"
                         "at 0 set 630 3\nat 0 set 567 1100\n");
    run.cycles(2);
    EXPECT_NEAR(value(run, n1_1), 220.0, 1e-3);
    EXPECT_NEAR(value(run, n1_2), -40.0, 1e-9);
    EXPECT_NEAR(value(run, n2_1), 220.0, 1e-3);
    EXPECT_NEAR(value(run, epr2), 220.0, 1e-9) << "engine 2 EPR clamped to 2.4";
    EXPECT_NEAR(value(run, epr1), 162.5 * 3 - 170, 1e-9) << "engine 1 EPR not clamped";
    EXPECT_NEAR(value(run, egt1), 100.0, 1e-9);
}

TEST(EngineGauge, WindowFormats) {
    // EGT of 1500, 250 and 5 degrees C, in degrees Rankine.
    PanelRun run(kPanel, std::string(kPowered) +
                             "at 0 set 567 3191.67\nat 0 set 577 941.67\nat 0.5 set 567 500.67\n"
                             "at 0 set 625 100\nat 0 set 644 9.5\nat 0 set 638 5000\nat 0 set 657 12345\n"
                             "at 0.5 set 638 400\n");
    run.cycles(2);
    EXPECT_EQ(text(run, egt1_text), "1500");
    EXPECT_EQ(text(run, egt2_text), " 250");
    EXPECT_EQ(text(run, n2_1_text), "100.0");
    EXPECT_EQ(text(run, n2_2_text), "  9.5");
    EXPECT_EQ(text(run, fuel1_text), " 5.0");
    EXPECT_EQ(text(run, fuel2_text), "12.3");
    run.session().run_for(0.5);
    EXPECT_EQ(text(run, egt1_text), "   5");
    EXPECT_EQ(text(run, fuel1_text), " 0.4");
}

TEST(EngineGauge, OversizedReadingsAreCutToTheirWindow) {
    PanelRun run(kPanel, std::string(kPowered) + "at 0 set 567 1e9\nat 0 set 624 123456\n");
    run.cycles(2);
    EXPECT_EQ(text(run, egt1_text), "5555");
    EXPECT_EQ(text(run, n1_1_text), "12345");
}

// Flow 36000 lb/h on engine 1 and 18000 on engine 2; the clock ticks every cycle.
const char* kBurning =
    "at 0 set 364 1\nat 0 set 138 36000\nat 0 set 173 18000\nat 0 set 638 36000\nat 0 set 657 18000\n"
    "at 0 ramp 5 100000 100000\n";

TEST(EngineGauge, FuelUsedShowsForNinetyCyclesAfterAPress) {
    PanelRun run(kPanel, kBurning);
    run.cycles(101);
    EXPECT_EQ(text(run, fuel1_text), "36.0");
    run.panel().click_gauge("enginegauge", 90, 372);
    run.cycles(1);
    // 100 periods closed at 36000 x 0.000126 = 4.536 each, the first one half of install's zero.
    EXPECT_EQ(text(run, fuel1_text), " 451");
    EXPECT_EQ(text(run, fuel2_text), " 226");
    run.cycles(89);
    EXPECT_NE(text(run, fuel1_text), "36.0") << "still fuel used on the 90th cycle";
    run.cycles(1);
    EXPECT_EQ(text(run, fuel1_text), "36.0");
}

TEST(EngineGauge, ResetZeroesFuelUsedAndLeavesTheDisplayOn) {
    PanelRun run(kPanel, kBurning);
    run.cycles(30);
    run.panel().click_gauge("enginegauge", 90, 372);
    run.cycles(10);
    run.panel().click_gauge("enginegauge", 120, 372);
    run.cycles(1);
    EXPECT_EQ(text(run, fuel1_text), "   0");
    run.cycles(79);
    EXPECT_NE(text(run, fuel1_text), "36.0");
    run.cycles(1);
    EXPECT_EQ(text(run, fuel1_text), "36.0");
}

TEST(EngineGauge, ALongPauseAveragesItsSamplesWithoutWrappingTheCount) {
    // At 1000 cycles a second the clock stands still for 70000 samples, more than 16 bits can count,
    // half of them at 10000 lb/h and half at 30000; then it moves once and closes the period.
    panelhost::SessionOptions fast;
    fast.rate = 1000;
    PanelRun run(kPanel,
                 "at 0 set 364 1\nat 0 set 5 1\nat 0 set 138 10000\nat 35 set 138 30000\nat 70 set 5 2\n", fast);
    run.session().run_for(70.01);
    run.panel().click_gauge("enginegauge", 90, 372);
    run.cycles(1);
    EXPECT_EQ(text(run, fuel1_text), "   3") << "20000 lb/h x 0.000126, rounded";
}

}  // namespace
