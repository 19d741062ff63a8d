// Every failure path of the flight display's surface creation, through the real host: the driver
// refuses one chosen step, or the panel offers an unrecognised pixel format.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "panel_fixture.h"
#include "panelhost/panel.h"
#include "platform/message_box.h"

namespace {

const char* kPanel = "[Window00]\nsize=256,256\ngauge00=flightdisplay!flightdisplay, 0, 0\n";
constexpr int kPastStartup = 80;

std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

const char* step_message(int step) {
    switch (step) {
        case 1: return "\nUnable to create DirectDraw object.";
        case 2: return "\nUnable to set cooperative level.";
        case 3: return "\nUnable to query DD interface.";
        case 4: return "\nUnable to create surface.";
        case 5: return "\nUnable to query DDS interface.";
        case 6: return "\nUnable to lock surface.";
        case 7: return "\nUnable to create palette.";
        case 8: return "\nUnable to set palette.";
        case 9: return "\nUnable to get Device Context.";
        case 10: return "\nUnrecognized color format.";
        case 11: return "\nUnable to create bitmask surface.";
        case 12: return "\nUnable to query DDS interface for bitmask.";
        case 13: return "\nUnable to lock bitmask surface.";
        case 14: return "\nUnable to get Device Context for bitmask.";
    }
    return "";
}

std::vector<std::uint8_t> display_pixels(PanelRun& run) {
    return run.panel().find_gauge("flightdisplay")->elements.at(1)->host_images.at(0)->pixels;
}

// One reported failure: its message box, its log entry, and a display that never draws.
void expect_failed(PanelRun& run, int step, const char* ddrval) {
    const std::string text = std::string("flightdisplay") + step_message(step);
    const auto log = plat::message_log();
    ASSERT_EQ(log.size(), 1u) << "step " << step;
    EXPECT_EQ(log[0].caption, "Error");
    EXPECT_EQ(log[0].icon, plat::MessageIcon::error);
    EXPECT_EQ(log[0].owner, "");
    EXPECT_EQ(log[0].text, text);
    EXPECT_EQ(read_file("Gauges/flightdisplay.err"), text + "\n ddrval = " + ddrval + "\n\n");
    const auto before = display_pixels(run);
    run.session().variables().set_double(78, 5);
    run.cycles(kPastStartup);
    EXPECT_EQ(display_pixels(run), before) << "step " << step << ": the display stays as loaded";
}

TEST(DisplaySurfaceFailure, ThreeBytesPerPixelIsUnrecognised) {
    panelhost::SessionOptions o = with_modules_from(PROBE_DIR);
    o.own_aircraft = false;
    o.format_bits = 24;
    PanelRun run(kPanel, "", o);
    run.cycles(1);
    expect_failed(run, 10, "00000001");
}

TEST(DisplaySurfaceFailure, EachRefusedStepIsReportedOnce) {
    for (const int bits : {8, 16}) {
        for (int step = 1; step <= 14; ++step) {
            if (step == 10) continue;
            const bool used = bits == 8 ? step <= 9 : (step <= 6 || step == 9 || step >= 11);
            panelhost::SessionOptions o = with_modules_from(PROBE_DIR);
    o.own_aircraft = false;
            o.format_bits = bits;
            o.fail_surface_step = step;
            PanelRun run(kPanel, "", o);
            run.cycles(1);
            if (used) {
                expect_failed(run, step, "80004005");
            } else {
                EXPECT_TRUE(plat::message_log().empty()) << bits << "-bit step " << step;
                EXPECT_FALSE(std::filesystem::exists("Gauges/flightdisplay.err")) << bits << "-bit step " << step;
            }
        }
    }
}

TEST(DisplaySurfaceFailure, CleanCreationLeavesNoLog) {
    for (const int bits : {8, 16}) {
        panelhost::SessionOptions o = with_modules_from(PROBE_DIR);
    o.own_aircraft = false;
        o.format_bits = bits;
        PanelRun run(kPanel, "", o);
        run.cycles(kPastStartup);
        EXPECT_FALSE(std::filesystem::exists("Gauges/flightdisplay.err"));
        EXPECT_TRUE(plat::message_log().empty());
    }
}

// A later initialization (the panel reloaded) asks for the device again: a refused first step
// is reported again.
TEST(DisplaySurfaceFailure, ReloadReportsAgain) {
    panelhost::SessionOptions o = with_modules_from(PROBE_DIR);
    o.own_aircraft = false;
    o.fail_surface_step = 1;
    PanelRun run(kPanel, "at 1 reload\n", o);
    run.cycles(30);
    EXPECT_EQ(plat::message_log().size(), 2u);
}

}  // namespace
