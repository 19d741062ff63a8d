#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "gauge_pixels.h"

namespace {

using gauge_test::shows;

const char* kPanel =
    "[Window00]\nsize=140,150\ngauge00=paneltoggle!paneltoggle, 10, 10\n"
    "[Window01]\nsize=200,150\nident=40\nvisible=0\n";

std::string windows_file(PanelRun& run) {
    EXPECT_TRUE(run.session().write_outputs());
    std::ifstream f(run.session().out() + "/windows.txt");
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

TEST(PanelToggle, EachClickTogglesWindow40AndTheFace) {
    PanelRun run(kPanel, "", gauge_test::without_aircraft());
    run.cycles(1);
    EXPECT_TRUE(shows(run, "paneltoggle", 8192, 0, 0));
    ASSERT_TRUE(run.panel().click_gauge("paneltoggle", 50, 60));
    run.cycles(1);
    EXPECT_TRUE(shows(run, "paneltoggle", 8195, 0, 0)) << "green after the first click";
    EXPECT_NE(windows_file(run).find("40 open"), std::string::npos);
    ASSERT_TRUE(run.panel().click_gauge("paneltoggle", 4, 13));
    run.cycles(1);
    EXPECT_TRUE(shows(run, "paneltoggle", 8192, 0, 0)) << "grey again after two";
    EXPECT_NE(windows_file(run).find("40 closed"), std::string::npos);
    EXPECT_FALSE(run.panel().click_gauge("paneltoggle", 2, 60)) << "outside the key";
}

TEST(PanelToggle, FaceCountsOnlyItsOwnClicks) {
    PanelRun run(kPanel, "at 0.1 window 40\n", gauge_test::without_aircraft());
    run.session().run_for(0.3);
    EXPECT_NE(windows_file(run).find("40 open"), std::string::npos);
    EXPECT_TRUE(shows(run, "paneltoggle", 8192, 0, 0)) << "opened by other means";
    run.panel().click_gauge("paneltoggle", 50, 60);
    run.cycles(1);
    EXPECT_TRUE(shows(run, "paneltoggle", 8195, 0, 0));
    EXPECT_NE(windows_file(run).find("40 closed"), std::string::npos);
}

}  // namespace
