#include <gtest/gtest.h>

#include "gauge_pixels.h"
#include "host/tokens.h"

namespace token = gauge::token;

namespace {

using gauge_test::element;

const char* kPanel = "[Window00]\nsize=140,290\ngauge00=oilgauge!oilgauge, 10, 10\n";
constexpr std::uint32_t kInk = 0xA5DA00;  // RGB(165, 218, 0)

// Elements after the face, in the order of the windows: top, then rows of engine 1 and 2.
enum Window {
    top = 1, pneu_1, pneu_2, flow_1, flow_2, oil_press_1, oil_press_2, oil_temp_1, oil_temp_2,
    qty_1, qty_2, vib_1, vib_2, hyd_qty_1, hyd_qty_2,
};

std::string text(PanelRun& run, Window w) { return element(run, "oilgauge", w).shown_text; }

TEST(OilGauge, OilPressureInPoundsPerSquareInchShownTruncated) {
    PanelRun run(kPanel, "", gauge_test::without_aircraft());
    auto& vars = run.session().variables();
    run.cycles(1);
    const int zero_ink = gauge_test::count_colour(run, "oilgauge", 21, 71, 19, 10, kInk);
    EXPECT_GT(zero_ink, 5) << "\"  0\" drawn";
    vars.set_double(token::engine1_oil_pressure, 5760);
    vars.set_double(token::engine2_oil_pressure, 5760 + 143);  // 40.99 psi still reads 40
    run.cycles(1);
    EXPECT_EQ(text(run, oil_press_1), " 40");
    EXPECT_EQ(text(run, oil_press_2), " 40");
    EXPECT_DOUBLE_EQ(element(run, "oilgauge", oil_press_2).value, (5760 + 143) / 144.0);
    EXPECT_GT(gauge_test::count_colour(run, "oilgauge", 21, 71, 19, 10, kInk), zero_ink) << "two digits drawn";
}

TEST(OilGauge, OilTemperatureBelowFreezingIsCutToItsWindow) {
    PanelRun run(kPanel, "", gauge_test::without_aircraft());
    auto& vars = run.session().variables();
    vars.set_double(token::engine1_oil_temperature, 491.67);
    vars.set_double(token::engine2_oil_temperature, 400);  // -50.9 C
    run.cycles(1);
    EXPECT_EQ(text(run, oil_temp_1), "  0");
    EXPECT_EQ(text(run, oil_temp_2), "-50");
    vars.set_double(token::engine1_oil_temperature, 200);   // -162 C: four characters for a three-character window
    vars.set_double(token::engine2_oil_temperature, -1e300);
    run.cycles(1);
    EXPECT_EQ(text(run, oil_temp_1), "-16");
    EXPECT_EQ(text(run, oil_temp_2), "-21") << "beyond the integer range it reads the range's end, cut";
    for (Window w : {oil_temp_1, oil_temp_2}) {
        const auto& buffer = element(run, "oilgauge", w).text_buffer;
        EXPECT_EQ(buffer.size(), 4u);
        EXPECT_EQ(buffer.back(), '\0');
    }
}

TEST(OilGauge, VibrationClampedAndFlowInTenths) {
    PanelRun run(kPanel, "", gauge_test::without_aircraft());
    auto& vars = run.session().variables();
    vars.set_double(token::engine1_n1, 50);
    vars.set_double(token::engine2_n1, 20);
    run.cycles(1);
    EXPECT_EQ(text(run, flow_1), "1.3");
    EXPECT_EQ(text(run, vib_1), "2.9");
    EXPECT_DOUBLE_EQ(element(run, "oilgauge", vib_1).value, 2.9);
    EXPECT_EQ(text(run, flow_2), "0.5");
    EXPECT_EQ(text(run, vib_2), "2.0");
    vars.set_double(token::engine1_n1, 123456);
    run.cycles(1);
    EXPECT_EQ(text(run, flow_1), "313") << "3135.8 cut to the window";
}

TEST(OilGauge, TopAndPairedWindowsScaleTheSameToken) {
    PanelRun run(kPanel, "", gauge_test::without_aircraft());
    auto& vars = run.session().variables();
    vars.set_double(token::oil_top_window, 0.5);
    run.cycles(1);
    EXPECT_EQ(text(run, top), "128");
    EXPECT_EQ(text(run, pneu_1), "115");
    EXPECT_EQ(text(run, pneu_2), "115");
    vars.set_double(token::oil_top_window, 1e12);
    run.cycles(1);
    EXPECT_EQ(text(run, top), "214");
}

TEST(OilGauge, FixedWindowsNeverChange) {
    PanelRun run(kPanel, "", gauge_test::without_aircraft());
    auto& vars = run.session().variables();
    for (double v : {0.0, 12345.0, -7.0}) {
        for (int token : {149, 184, 151, 186}) vars.set_double(token, v);
        run.cycles(1);
        EXPECT_EQ(text(run, qty_1), "100");
        EXPECT_EQ(text(run, qty_2), "100");
        EXPECT_EQ(text(run, hyd_qty_1), " 99");
        EXPECT_EQ(text(run, hyd_qty_2), " 99");
        EXPECT_EQ(element(run, "oilgauge", qty_1).value, 0.0);
    }
}

}  // namespace
