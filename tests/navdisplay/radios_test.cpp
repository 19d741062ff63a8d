// The display fed by the host's own aircraft and its radios: an ILS approach to San Francisco's
// 28R and a VOR radial, tuned by the scenario and read off the rendered picture.

#include <gtest/gtest.h>

#include <cstdio>

#include "host/tokens.h"
#include "nd_test_support.h"

namespace token = gauge::token;

namespace fs = std::filesystem;
using namespace ndtest;

namespace {

constexpr unsigned kLeftTop = plat::text_align::left | plat::text_align::top;
constexpr unsigned kRightTop = plat::text_align::right | plat::text_align::top;
constexpr unsigned kLeftBase = plat::text_align::left | plat::text_align::baseline;
constexpr unsigned kRightBase = plat::text_align::right | plat::text_align::baseline;
constexpr plat::ColorRef kYellow = plat::rgb(255, 255, 0), kBlue = plat::rgb(0, 0, 255);
constexpr int W = 256, H = 256, kDataFont = 9;

// The stations of the approach in the display's own database, so it can show the tuned one.
fs::path approach_root(const std::string& mode_file) {
    const fs::path root = make_root();
    NavData nd;
    nd.vor("IGWQ", 'I', 37.629539, -122.395311, 298);
    nd.vor("SFO", 'V', 37.619472, -122.373889);
    nd.ndb("LV", 37.692333, -121.683917);
    nd.write(root / "NavData");
    write_file(root / "Gauges/NDmode.tmp", mode_file);
    return root;
}

PanelRun flying(const fs::path& root, const std::string& scenario) {
    panelhost::SessionOptions options;
    options.root = root.string();
    return PanelRun(kPanel, scenario, options);
}

std::string formatted(const char* format, double v) {
    char text[32];
    std::snprintf(text, sizeof text, format, v);
    return text;
}

// 8 NM from the 28R localizer on the centre line, on the glide path; radios for the approach.
const char* kOnFinal =
    "at 0 aircraft lat=37.56705 lon=-122.24666 alt-ft=1947 ias=160 hdg=298 on-ground=0 flaps=0.5\n"
    "at 0 radio nav1 111.70\nat 0 radio nav2 115.80\nat 0 radio adf 374\n";

}  // namespace

TEST(NdRadios, AnIlsApproachShowsItsFrequencyDmeStationsAndGlideSlope) {
    PanelRun run = flying(approach_root("1\n1\n30\n40\n"), kOnFinal);
    run.cycles(100);
    auto& v = run.session().variables();
    EXPECT_TRUE(text_shown(run, W, 4, kRightTop, kDataFont, "ILS 111.70", kMagenta));
    EXPECT_TRUE(text_shown(run, W - 5 * kDataFont + 5, kDataFont + 4, kLeftTop, kDataFont,
                           formatted("DME %.1f", v.get_double(token::dme1_distance)), kCyan));
    EXPECT_GT(v.get_double(token::dme1_distance), 7.5);
    EXPECT_TRUE(text_shown(run, 0, H - 27, kLeftBase, 9, "VOR1", kCyan));
    EXPECT_TRUE(text_shown(run, 0, H - 18, kLeftBase, 9, "IGWQ", kCyan));
    EXPECT_TRUE(text_shown(run, W, H - 27, kRightBase, 9, "VOR2", kYellow));
    EXPECT_TRUE(text_shown(run, W, H - 18, kRightBase, 9, "SFO", kYellow));
    EXPECT_TRUE(text_shown(run, W, H, kRightBase, kDataFont, formatted("%.1f", v.get_double(token::dme2_distance)), kYellow));
    EXPECT_TRUE(text_shown(run, 0, H - 9, kLeftBase, 9, "ADF", kOrange));
    EXPECT_TRUE(text_shown(run, 0, H, kLeftBase, 9, "LV", kOrange));
    // On the glide path the diamond sits in the middle of its scale.
    EXPECT_GT(count_colour(run, kMagenta, W - 6, H / 2 - 4, W, H / 2 + 5), 10);
    EXPECT_GT(count_colour(run, kWhite, W - 6, H / 2 - 31, W, H / 2 - 25), 4) << "the scale's upper dot";
}

TEST(NdRadios, FarFromTheStationsTheTextsGoAndTheMarkerComes) {
    const fs::path root = approach_root("1\n1\n30\n40\n");
    {
        // Over the 28L outer marker (placed there once the display is up); Salyer Farms' NDB is 170 NM off.
        PanelRun run = flying(root,
                              "at 5 aircraft lat=37.572203 lon=-122.259903 alt-ft=1800 ias=160 hdg=298 on-ground=0\n"
                              "at 0 radio nav1 111.70\nat 0 radio adf 205\n");
        run.cycles(100);
        EXPECT_TRUE(text_shown(run, 0, H / 2, kLeftTop, 11, "O", kBlue));
        EXPECT_EQ(run.session().variables().get_double(token::adf_active), 0.0);
        EXPECT_FALSE(text_shown(run, 0, H - 9, kLeftBase, 9, "ADF", kOrange));
    }
    PanelRun run = flying(root,
                          "at 0 aircraft lat=36.0 lon=-124.5 alt-ft=30000 ias=250 hdg=0 on-ground=0\n"
                          "at 0 radio nav1 111.70\nat 0 radio nav2 115.80\n");
    run.cycles(100);
    EXPECT_EQ(run.session().variables().get_text(token::nav1_ident), "");
    EXPECT_FALSE(text_shown(run, W, 4, kRightTop, kDataFont, "ILS 111.70", kMagenta));
    EXPECT_FALSE(text_shown(run, 0, H - 27, kLeftBase, 9, "VOR1", kCyan));
    EXPECT_FALSE(text_shown(run, W, H - 27, kRightBase, 9, "VOR2", kYellow));
    EXPECT_FALSE(text_shown(run, 0, H / 2, kLeftTop, 11, "O", kBlue));
}

TEST(NdRadios, VorModeShowsTheDeviationAndToFrom) {
    // 20 NM out on San Francisco's 150 radial, heading 335 magnetic: the inbound course 335 lies
    // 5 degrees to the left, half scale; the course pointer points straight up.
    const fs::path root = approach_root("0\n0\n30\n40\n");
    const std::string at_radial =
        "at 0 aircraft lat=37.29467 lon=-122.27964 alt-ft=10000 ias=250 hdg=352 on-ground=0\nat 0 radio nav1 115.80\n";
    const int P = H - 45;
    {
        PanelRun run = flying(root, at_radial + "at 0 radio course1 335\n");
        run.cycles(100);
        auto& v = run.session().variables();
        ASSERT_NEAR(v.get_double(token::magnetic_heading), 335.0, 0.01);
        EXPECT_NEAR(v.get_double(token::nav1_deviation), -63.5, 1.5);
        const int x = 128 - 64 * 119 / 350;  // half scale is the first dot
        EXPECT_GT(count_colour(run, kMagenta, x - 4, 136 - 18, x + 5, 136 + 19), 20) << "the bar on the left dot";
        EXPECT_EQ(count_colour(run, kMagenta, 124, 136 - 18, 133, 136 + 19), 0);
        EXPECT_GT(count_colour(run, kCyan, 3, P - 6, 8, P - 1), 5) << "TO: the triangle points up";
        EXPECT_EQ(count_colour(run, kCyan, 3, P + 2, 8, P + 7), 0);
    }
    PanelRun run = flying(root, at_radial + "at 0 radio course1 155\n");
    run.cycles(100);
    EXPECT_GT(count_colour(run, kCyan, 3, P + 2, 8, P + 7), 5) << "FROM: the triangle points down";
    EXPECT_EQ(count_colour(run, kCyan, 3, P - 6, 8, P - 1), 0);
}

TEST(NdRadios, BadRadioCommandsNameWhatIsWrong) {
    auto bad = panelhost::parse_scenario("at 0 radio nav3 110.00\n", "s.txt");
    ASSERT_FALSE(bad);
    EXPECT_NE(bad.error().find("nav3"), std::string::npos) << bad.error();
    bad = panelhost::parse_scenario("at 0 radio nav1 118.00\n", "s.txt");
    ASSERT_FALSE(bad);
    EXPECT_NE(bad.error().find("s.txt:1"), std::string::npos) << bad.error();
    EXPECT_FALSE(panelhost::parse_scenario("at 0 radio adf\n", "s.txt"));
    EXPECT_TRUE(panelhost::parse_scenario("at 0 radio course2 360\n", "s.txt"));
}
