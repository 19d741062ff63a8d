// The route from the flight plan the FMC publishes.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "nd_test_support.h"
#include "platform/shared_block.h"

namespace fs = std::filesystem;
using namespace ndtest;

namespace {

struct Waypoint {
    const char* type;
    std::string ident;
    double lat, lon;
    int altitude;
};

std::string coordinate(double v, char pos, char neg, int degree_digits) {
    const char hemi = v < 0 ? neg : pos;
    v = std::fabs(v);
    const int d = static_cast<int>(v);
    const int m = static_cast<int>((v - d) * 60);
    const double s = ((v - d) * 60 - m) * 60;
    char text[32];
    std::snprintf(text, sizeof text, "%c%0*d %02d %05.2f", hemi, degree_digits, d, m, s);
    return text;
}

std::string record(const Waypoint& w) {
    char line[160];
    const int n = std::snprintf(line, sizeof line, "%-5.5s%-5.5s  %-25.25s %6s  %s  %s  %5d  %03d  %8.1f%02d:%02d   \r\n",
                                w.type, w.ident.c_str(), "POINT", "000.00", coordinate(w.lat, 'N', 'S', 2).c_str(),
                                coordinate(w.lon, 'E', 'W', 3).c_str(), w.altitude, 90, 10.0, 0, 10);
    EXPECT_EQ(n, 105);
    return line;
}

std::string plan_text(const std::vector<Waypoint>& points) {
    std::string text =
        "[FLIGHTPLAN]\r\nAIRCRAFT=TEST\r\n[DEPARTURE]\r\nAIRPORT=KAAA\r\nRUNWAY=09 /090/08000\r\n"
        "[ARRIVAL]\r\nAIRPORT=KBBB\r\nRUNWAY=27L/270/09000\r\n[WAYPOINTS]\r\n";
    for (const Waypoint& w : points) text += record(w);
    return text;
}

// The plan as the FMC publishes it: each record's CR and the text's last byte made zero.
struct Published {
    plat::SharedBlock block;
    plat::SharedView view;
};
Published publish(const std::string& text) {
    Published p;
    auto b = plat::SharedBlock::create_or_open("fltplanMap1", text.size());
    EXPECT_TRUE(b);
    p.block = std::move(b).value();
    auto v = p.block.map(plat::Access::read_write);
    EXPECT_TRUE(v);
    p.view = std::move(v).value();
    char* data = p.view.as<char>();
    std::memcpy(data, text.data(), text.size());
    const std::size_t first = text.find("[WAYPOINTS]") + 13;
    for (std::size_t at = first; at + 104 < text.size(); at += 105) data[at + 103] = '\0';
    data[text.size() - 1] = '\0';
    return p;
}

}  // namespace

TEST(NdRoute, ThreeHundredRecordsGiveTwoHundredFiftySixPoints) {
    const fs::path root = make_root();
    NavData().write(root / "NavData");
    write_file(root / "Gauges/NDmode.tmp", "0\n2\n31\n80\n");
    std::vector<Waypoint> points;
    for (int i = 0; i < 300; ++i) {
        char ident[8];
        std::snprintf(ident, sizeof ident, "P%03d", i);
        if (i < 256)  // up and left of the aircraft, zigzagging
            points.push_back({i == 0 ? "APT" : "INT", ident, 0.3 + (i % 2) * 0.5, -1.0 + i * 0.8 / 255, 10000});
        else  // down and right
            points.push_back({"INT", ident, -0.3 - (i % 2) * 0.5, 0.3 + (i - 256) * 0.7 / 43, 10000});
    }
    Published plan = publish(plan_text(points));
    PanelRun run = open_run(root, position_at(0, 0, 0));
    run.cycles(100);
    // Range 80, centred: 1.49 pixels per mile.
    EXPECT_GT(count_colour(run, kMagenta, 20, 20, 128, 130), 400);
    EXPECT_GT(count_colour(run, kMagenta, 100, 20, 128, 130), 20) << "the legs reach the last point";
    EXPECT_EQ(count_colour(run, kMagenta, 129, 140, 256, 256), 0) << "records past 256 are not taken";
}

TEST(NdRoute, TopOfDescentIsLabelledWithItsFlightLevel) {
    const fs::path root = make_root();
    NavData().write(root / "NavData");
    write_file(root / "Gauges/NDmode.tmp", "0\n2\n31\n40\n");
    Published plan = publish(plan_text({{"APT", "KAAA", 0.0, -0.6, 0},
                                        {"TOC", "*****", 0.0, -0.15, 33000},
                                        {"TOD", "*****", 0.0, 0.15, 33000},
                                        {"APT", "KBBB", 0.0, 0.6, 0}}));
    PanelRun run = open_run(root, position_at(0, 0, 0));
    run.cycles(100);
    // Range 40, centred: 2.975 pixels per mile, the tops 26 pixels either side.
    const unsigned left_base = plat::text_align::left | plat::text_align::baseline;
    EXPECT_TRUE(text_shown(run, 128 + 26 + 3, 136 - 2, left_base, 9, "FL330D", kMagenta));
    EXPECT_TRUE(text_shown(run, 128 - 26 + 3, 136 - 2, left_base, 9, "FL330", kMagenta));
    EXPECT_GT(count_colour(run, kMagenta, 60, 136, 200, 137), 100) << "the legs";
    EXPECT_FALSE(text_shown(run, 128, 128 - 10, plat::text_align::center | plat::text_align::top, 11, "NO ROUTE", kRed));
}
