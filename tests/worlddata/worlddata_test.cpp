// The X-Plane-format world data reader: every row kind with the fields its users take, damaged rows
// skipped and counted with the line of the first, and files read within their bounds.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "worlddata/data_file.h"
#include "worlddata/xplane.h"

namespace {

std::string data_dir() {
    const char* d = std::getenv("PANEL_TEST_DATA");
    return std::string(d ? d : "tests/data") + "/navdata";
}

}  // namespace

TEST(WorldData, ParsersTakeGoodRowsAndSkipDamagedOnes) {
    worlddata::ParseStats nav_stats, apt_stats, awy_stats, fix_stats;
    const auto nav = worlddata::parse_nav(*worlddata::read_data_file(data_dir() + "/nav.dat"), 810, &nav_stats);
    const auto apt = worlddata::parse_apt(*worlddata::read_data_file(data_dir() + "/apt.dat"), &apt_stats);
    const auto awy = worlddata::parse_awy(*worlddata::read_data_file(data_dir() + "/awy.dat"), 640, &awy_stats);
    const auto fix = worlddata::parse_fix(*worlddata::read_data_file(data_dir() + "/fix.dat"), 600, &fix_stats);
    EXPECT_EQ(nav_stats.skipped, 1u);
    EXPECT_EQ(awy_stats.skipped, 1u);
    EXPECT_EQ(fix_stats.skipped, 1u);
    EXPECT_EQ(apt_stats.skipped, 1u) << "the airport row without its fields; the heliport's rows are not read at all";
    ASSERT_EQ(apt.size(), 3u);
    const auto sfo = std::find_if(nav.begin(), nav.end(), [](const auto& n) { return n.ident == "SFO" && n.kind == 3; });
    ASSERT_NE(sfo, nav.end());
    EXPECT_DOUBLE_EQ(sfo->frequency, 115.80);
    EXPECT_EQ(sfo->variation, 17.0);
    EXPECT_EQ(sfo->name, "SAN FRANCISCO VOR-DME");
    const auto ksfo = std::find_if(apt.begin(), apt.end(), [](const auto& a) { return a.icao == "KSFO"; });
    ASSERT_NE(ksfo, apt.end());
    EXPECT_EQ(ksfo->elevation_ft, 13);
    EXPECT_NEAR(ksfo->lat, 37.62, 0.01);
    EXPECT_NEAR(ksfo->lon, -122.375, 0.01);
    EXPECT_FALSE(awy.empty());
    EXPECT_FALSE(fix.empty());
}

TEST(WorldData, ShortAndDamagedFilesAreReadWithinTheirBounds) {
    EXPECT_TRUE(worlddata::parse_nav("", 810).empty());
    EXPECT_TRUE(worlddata::parse_nav("I\n810 Version\n3  37.6", 810).empty());
    EXPECT_TRUE(worlddata::parse_apt("I\n1000 Version\n100 1 2 3\n1").empty());
    const auto fixes = worlddata::parse_fix("I\n600\n 95.0 10.0 BADLT\n 10.0 10.0 GOODX", 600);
    ASSERT_EQ(fixes.size(), 1u) << "a latitude beyond the pole is rejected; the last line needs no line end";
    EXPECT_EQ(fixes[0].ident, "GOODX");
    EXPECT_FALSE(worlddata::read_data_file(data_dir() + "/none.dat"));
}

TEST(WorldData, RowsKeepTheFieldsOfTheirKind) {
    const char* nav =
        "I\r\n810 Version - test data\r\n\r\n"
        "4  39.98091100 -075.87781400    660 10850  18     281.662 IMQS 40N  29  ILS-cat-I\r\n"
        "7  39.95000000 -075.80000000      0     0   0     281.700 ---- 40N  29  OM\r\n"
        "12 -09.43270300  147.21644400    128 11010  18       0.200 IWG  AYPY 14L DME-ILS\r\n"
        "3  bad line\r\n"
        "14 10.0 10.0 0 0 0 0 XX  other code\r\n"
        "99\r\n";
    worlddata::ParseStats stats;
    const auto navaids = worlddata::parse_nav(nav, 810, &stats);
    EXPECT_EQ(worlddata::version_line(nav), "810 Version - test data");
    ASSERT_EQ(navaids.size(), 3u);
    EXPECT_EQ(navaids[0].airport, "40N");
    EXPECT_EQ(navaids[0].runway, "29");
    EXPECT_EQ(navaids[0].name, "ILS-cat-I") << "names as the file writes them";
    EXPECT_DOUBLE_EQ(navaids[0].course, 281.662);
    EXPECT_EQ(navaids[1].name, "OM");
    EXPECT_DOUBLE_EQ(navaids[2].bias, 0.2);
    EXPECT_EQ(navaids[2].name, "AYPY 14L DME-ILS") << "a DME's name is all the rest of its row";
    EXPECT_EQ(stats.skipped, 1u);
    EXPECT_EQ(stats.first_skipped_line, 7u);
    EXPECT_EQ(stats.left_out, 1u);

    const char* apt =
        "I\n1000 Version\n\n"
        "1     433 0 0 KSEA Seattle Tacoma Intl\n"
        "100   45.72   2   0 0.00 1 3 0 16L  47.46380000 -122.30806000    0.00    0.00 3  0 0 0 34R  "
        "47.43117000 -122.30801000    0.00    0.00 3  0 0 0\n"
        "17      0 0 0 H1 Some Heliport\n"
        "100   20.00   1   0 0.00 0 0 0 01   40.00000000  -80.00000000    0.00    0.00 0  0 0 0 19   "
        "40.00100000  -80.00000000    0.00    0.00 0  0 0 0\n";
    worlddata::ParseStats apt_stats;
    const auto airports = worlddata::parse_apt(apt, &apt_stats);
    ASSERT_EQ(airports.size(), 1u);
    EXPECT_EQ(airports[0].name, "Seattle Tacoma Intl");
    ASSERT_EQ(airports[0].surfaces.size(), 1u);
    EXPECT_DOUBLE_EQ(airports[0].surfaces[0].width_m, 45.72);
    EXPECT_EQ(airports[0].surfaces[0].surface, 2);
    EXPECT_EQ(apt_stats.left_out, 1u) << "the heliport's runway";
}

TEST(WorldData, RunwayEndsKeepTheirDisplacedThresholds) {
    // Each end's displaced threshold in metres, as the row gives it; an older row that ends before
    // the second end's, or one with a malformed or negative value, means none, and the runway stays.
    const char* apt =
        "I\n1000 Version\n\n"
        "1      13 0 0 KJFK John F Kennedy Intl\n"
        "100   46.02   2   0 0.00 1 3 1 13R  40.64817040 -073.81674640  794.01    0.00 3  7 1 1 31L  "
        "40.62857740 -073.77151420 1011.02    0.00 3  7 1 1\n"
        "100   46.02   2   0 0.00 1 3 1 04L  40.62203000 -073.78559000    0.00    0.00 3  7 1 1 22R  "
        "40.64270000 -073.76220000\n"
        "100   46.02   2   0 0.00 1 3 1 04R  40.62500000 -073.77000000   x12.0    0.00 3  7 1 1 22L  "
        "40.64500000 -073.75000000  -30.00    0.00 3  7 1 1\n";
    worlddata::ParseStats stats;
    const auto airports = worlddata::parse_apt(apt, &stats);
    ASSERT_EQ(airports.size(), 1u);
    const auto& ends = airports[0].ends;
    ASSERT_EQ(ends.size(), 6u);
    EXPECT_DOUBLE_EQ(ends[0].displaced_threshold_m, 794.01);
    EXPECT_DOUBLE_EQ(ends[1].displaced_threshold_m, 1011.02);
    EXPECT_EQ(ends[1].designator, "31L");
    EXPECT_DOUBLE_EQ(ends[2].displaced_threshold_m, 0.0);
    EXPECT_DOUBLE_EQ(ends[3].displaced_threshold_m, 0.0) << "the row ends before it";
    EXPECT_DOUBLE_EQ(ends[4].displaced_threshold_m, 0.0) << "malformed";
    EXPECT_DOUBLE_EQ(ends[5].displaced_threshold_m, 0.0) << "negative";
    EXPECT_EQ(stats.skipped, 0u);
}
