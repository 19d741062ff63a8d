// The readers of the versions X-Plane 11 and 12 write, against files written from their
// format documentation (tests/support/world_folders.h): each row kind's columns as that version means
// them, and the rows a version adds passed over.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "world_folders.h"
#include "worlddata/world_data.h"
#include "worlddata/xplane.h"

using namespace worldfolders;

namespace {

template <typename T>
const T& find(const std::vector<T>& rows, const std::string& ident, int kind = 0) {
    const auto it = std::find_if(rows.begin(), rows.end(), [&](const T& r) {
        if constexpr (requires { r.kind; }) return r.ident == ident && (kind == 0 || r.kind == kind);
        else return r.ident == ident;
    });
    if (it == rows.end()) throw std::runtime_error("no " + ident);
    return *it;
}

const worlddata::Airport& airport(const std::vector<worlddata::Airport>& rows, const std::string& icao) {
    const auto it = std::find_if(rows.begin(), rows.end(), [&](const auto& a) { return a.icao == icao; });
    if (it == rows.end()) throw std::runtime_error("no " + icao);
    return *it;
}

}  // namespace

TEST(WorldDataVersions, VersionIsReadFromTheSecondLine) {
    EXPECT_EQ(worlddata::file_version(kNav1200), 1200);
    EXPECT_EQ(worlddata::file_version(kAwy1101), 1100) << "the 1101 airway files say 1100";
    EXPECT_EQ(worlddata::file_version("I\r\n"), 0);
    EXPECT_EQ(worlddata::file_version("I\r\nVersion 1100\r\n"), 0);
    EXPECT_EQ(worlddata::file_version("I\r\n" + std::string(100, '9') + " Version\r\n"), 0)
        << "a hundred digits are no version";
    EXPECT_TRUE(worlddata::known_version(worlddata::FileKind::nav, 1150));
    EXPECT_FALSE(worlddata::known_version(worlddata::FileKind::nav, 1101));
    EXPECT_TRUE(worlddata::known_version(worlddata::FileKind::fix, 1101));
    EXPECT_TRUE(worlddata::known_version(worlddata::FileKind::apt, 1130));
    EXPECT_FALSE(worlddata::known_version(worlddata::FileKind::awy, 1200));
}

TEST(WorldDataVersions, Nav1200RowsTakeTheirRegionsAndLeaveOutTheSatelliteApproaches) {
    worlddata::ParseStats stats;
    const auto navaids = worlddata::parse_nav(kNav1200, 1200, &stats);
    EXPECT_EQ(stats.skipped, 0u);
    EXPECT_EQ(stats.left_out, 2u) << "rows 14 and 16";
    ASSERT_EQ(navaids.size(), 9u);
    const auto& qnb = find(navaids, "QNB");
    EXPECT_EQ(qnb.kind, worlddata::Navaid::ndb);
    EXPECT_DOUBLE_EQ(qnb.frequency, 350);
    EXPECT_EQ(qnb.region, "K1");
    EXPECT_EQ(qnb.airport, "") << "ENRT is no airport";
    EXPECT_EQ(qnb.name, "QUILL NDB");
    EXPECT_EQ(find(navaids, "QB").airport, "KQBB") << "a terminal NDB, with the BFO flag in column 7";
    const auto& qvr = find(navaids, "QVR", worlddata::Navaid::vor);
    EXPECT_DOUBLE_EQ(qvr.frequency, 113.70);
    EXPECT_DOUBLE_EQ(qvr.variation, 8.0);
    EXPECT_EQ(qvr.range_nm, 130);
    EXPECT_EQ(qvr.name, "QUARRY VOR/DME");
    const auto& qvt = find(navaids, "QVT");
    EXPECT_DOUBLE_EQ(qvt.variation, 0.0) << "-0.000, between tabs";
    EXPECT_DOUBLE_EQ(qvt.lon, -100.6);
    const auto& loc = find(navaids, "IQAA", worlddata::Navaid::localizer);
    EXPECT_EQ(loc.airport, "KQAA");
    EXPECT_EQ(loc.runway, "18");
    EXPECT_EQ(loc.name, "ILS-cat-I");
    EXPECT_NEAR(loc.course, 180.0, 1e-9) << "62100 is 172 x 360 + 180";
    EXPECT_NEAR(loc.magnetic_course, 172.0, 1e-9);
    const auto& gs = find(navaids, "IQAA", worlddata::Navaid::glide_slope);
    EXPECT_DOUBLE_EQ(gs.glide_angle, 3.0);
    EXPECT_NEAR(gs.course, 180.0, 1e-9);
    const auto& dme = find(navaids, "IQAA", worlddata::Navaid::dme);
    EXPECT_EQ(dme.name, "QUARRY RGNL DME-ILS");
    EXPECT_EQ(dme.airport, "KQAA");
    const auto& om = find(navaids, "----");
    EXPECT_EQ(om.runway, "18");
    EXPECT_DOUBLE_EQ(om.course, 180.0);
}

// 1150 packs the magnetic front course with the true bearing; a value below 360 is a bearing alone,
// and in 1100 the column is the bearing whatever its value.
TEST(WorldDataVersions, LocalizerCourseIsReadAsEachVersionWritesIt) {
    const auto v1150 = worlddata::parse_nav(kNav1150, 1150);
    const auto& packed = find(v1150, "IQAA");
    EXPECT_NEAR(packed.course, 180.0, 1e-9);
    EXPECT_NEAR(packed.magnetic_course, 172.0, 1e-9);
    const auto& plain = find(v1150, "IQBB");
    EXPECT_EQ(plain.kind, worlddata::Navaid::localizer_only);
    EXPECT_DOUBLE_EQ(plain.course, 270.0);
    EXPECT_DOUBLE_EQ(plain.magnetic_course, -1.0) << "not given";
    EXPECT_EQ(plain.runway, "27");

    const auto v1100 = worlddata::parse_nav(kNav1100, 1100);
    EXPECT_DOUBLE_EQ(find(v1100, "IQAA").course, 180.0);
    EXPECT_DOUBLE_EQ(find(v1100, "IQAA").magnetic_course, -1.0);
    EXPECT_EQ(find(v1100, "QDM").kind, worlddata::Navaid::dme_alone);
    EXPECT_EQ(find(v1100, "QDM").name, "QUEUE DME");

    // A packed course beyond 360 x 360 is no course: the row is skipped, the rest read.
    worlddata::ParseStats stats;
    const std::string bad = std::string(kNav1150).replace(std::string(kNav1150).find("62100.000"), 9, "999999999");
    EXPECT_EQ(worlddata::parse_nav(bad, 1150, &stats).size(), 4u);
    EXPECT_EQ(stats.skipped, 1u);
    EXPECT_EQ(stats.first_skipped_line, 7u);
    // The same row read as 1100 keeps the number as its bearing.
    EXPECT_DOUBLE_EQ(find(worlddata::parse_nav(kNav1150, 1100), "IQAA").course, 62100.0);
}

TEST(WorldDataVersions, FixVersionsAddRegionTypeAndName) {
    const auto v1200 = worlddata::parse_fix(kFix1200, 1200);
    ASSERT_EQ(v1200.size(), 4u);
    EXPECT_EQ(v1200[1].ident, "QBRAV");
    EXPECT_EQ(v1200[1].name, "BRAVO ABEAM QUORUM VOR") << "spaces within, trailing blanks gone";
    EXPECT_EQ(v1200[1].region, "K1");
    EXPECT_EQ(v1200[1].airport, "");
    EXPECT_EQ(v1200[2].airport, "KQAA") << "a terminal fix";
    EXPECT_DOUBLE_EQ(v1200[1].lon, -100.4) << "a tab between the fields";

    const auto v1101 = worlddata::parse_fix(kFix1101, 1101);
    ASSERT_EQ(v1101.size(), 3u);
    EXPECT_EQ(v1101[0].name, "");
    EXPECT_EQ(v1101[0].region, "K1");
    const auto v1100 = worlddata::parse_fix(kFix1100, 1100);
    ASSERT_EQ(v1100.size(), 2u);
    EXPECT_EQ(v1100[1].region, "K1");

    // A type that is no 24-bit number, a row without its regions: skipped, the rest read.
    worlddata::ParseStats stats;
    const auto bad = worlddata::parse_fix(
        "I\r\n1101 Version\r\n\r\n 45.2 -100.1 QALFA ENRT K1 16777216\r\n 45.2 -100.1 QALFA\r\n"
        " 45.2 -100.1 QALFA ENRT K1 " + std::string(100, '9') + "\r\n 45.4 -100.4 QBRAV ENRT K1 2105426\r\n",
        1101, &stats);
    ASSERT_EQ(bad.size(), 1u);
    EXPECT_EQ(bad[0].ident, "QBRAV");
    EXPECT_EQ(stats.skipped, 3u);
    EXPECT_EQ(stats.first_skipped_line, 4u);
}

TEST(WorldDataVersions, AirwaySegmentsArePlacedOnTheFixesAndNavaidsTheyName) {
    worlddata::ParseStats stats;
    auto segments = worlddata::parse_awy(kAwy1101, 1100, &stats);
    ASSERT_EQ(segments.size(), 5u);
    EXPECT_EQ(stats.skipped, 0u);
    EXPECT_EQ(segments[2].names, (std::vector<std::string>{"Q101", "Q102"}));
    EXPECT_EQ(segments[3].level, 1);
    EXPECT_EQ(segments[0].from_kind, worlddata::AirwaySegment::vhf_navaid);
    const auto fixes = worlddata::parse_fix(kFix1200, 1200);
    const auto navaids = worlddata::parse_nav(kNav1200, 1200);
    EXPECT_EQ(worlddata::place_airways(segments, fixes, navaids), 1u) << "QMISS is in neither file";
    ASSERT_EQ(segments.size(), 4u);
    EXPECT_DOUBLE_EQ(segments[0].from_lat, 44.95) << "the VOR QVR";
    EXPECT_DOUBLE_EQ(segments[0].to_lat, 45.2);
    EXPECT_DOUBLE_EQ(segments[1].to_lat, 45.4) << "the en-route QBRAV, not KQAA's terminal one";
    EXPECT_DOUBLE_EQ(segments[1].to_lon, -100.4);
    EXPECT_DOUBLE_EQ(segments[3].to_lat, 45.05) << "the NDB QNB";

    // A segment's end of another region or kind is not that point.
    auto other = worlddata::parse_awy(
        "I\r\n1100 Version\r\n\r\nQVR K2 3 QALFA K1 11 N 2 180 450 Q1\r\nQVR K1 2 QALFA K1 11 N 2 180 450 Q2\r\n"
        "QVR K1 3 QALFA K1 11 X 2 180 450 Q3\r\nQVR K1 4 QALFA K1 11 N 2 180 450 Q4\r\n",
        1100, &stats);
    EXPECT_EQ(other.size(), 2u) << "a direction X and a kind 4 are malformed";
    EXPECT_EQ(worlddata::place_airways(other, fixes, navaids), 2u);

    // 640 segments keep the positions they state.
    auto old = worlddata::parse_awy(kAwy640, 640);
    ASSERT_EQ(old.size(), 3u);
    EXPECT_EQ(worlddata::place_airways(old, {}, {}), 0u);
    EXPECT_DOUBLE_EQ(old[2].to_lon, -100.6);
}

TEST(WorldDataVersions, AirportsStandAtTheirDatumWhenGiven) {
    worlddata::ParseStats stats;
    const auto v1200 = worlddata::parse_apt(kApt1200, &stats);
    EXPECT_EQ(stats.skipped, 0u);
    ASSERT_EQ(v1200.size(), 2u) << "the heliport is left out";
    const auto& qaa = airport(v1200, "KQAA");
    EXPECT_DOUBLE_EQ(qaa.lat, 45.195);
    EXPECT_DOUBLE_EQ(qaa.lon, -100.295);
    EXPECT_EQ(qaa.elevation_ft, 1650);
    ASSERT_EQ(qaa.ends.size(), 2u);
    EXPECT_EQ(qaa.ends[1].designator, "36");
    const auto& qbb = airport(v1200, "KQBB");
    EXPECT_NEAR(qbb.lon, -100.725, 1e-9) << "no datum: the runway's middle";
    EXPECT_EQ(qbb.surfaces[0].surface, 50) << "1200's surface codes";
    EXPECT_DOUBLE_EQ(airport(worlddata::parse_apt(kApt1000), "KQAA").lat, 45.195) << "the runway's middle";
    EXPECT_DOUBLE_EQ(airport(worlddata::parse_apt(kApt1100), "KQAA").lon, -100.295);

    // A datum that is no latitude is a damaged row; the airport then stands at its runways.
    std::string bad = kApt1100;
    bad.replace(bad.find("45.19500000"), 11, "95.19500000");
    const auto damaged = worlddata::parse_apt(bad, &stats);
    EXPECT_EQ(stats.skipped, 1u);
    EXPECT_EQ(stats.first_skipped_line, 5u);
    EXPECT_DOUBLE_EQ(airport(damaged, "KQAA").lat, 45.195);
    EXPECT_DOUBLE_EQ(airport(damaged, "KQAA").lon, -100.3);
}

TEST(WorldDataVersions, AFileOfAnUnknownVersionIsRefusedByName) {
    const auto dir = fresh_folder("world");
    write_text(dir / "nav.dat", kNav1200);
    write_text(dir / "fix.dat", kFix1200);
    write_text(dir / "awy.dat", kAwy1101);
    write_text(dir / "apt.dat", kApt1200);
    auto loaded = worlddata::load_world_data(dir.string());
    ASSERT_TRUE(loaded) << loaded.error();
    EXPECT_EQ(loaded->airways.size(), 4u);
    EXPECT_EQ(loaded->unplaced_segments, 1u);
    EXPECT_EQ(loaded->fix.version, 1200);

    std::string future = kFix1200;
    future.replace(future.find("1200 Version"), 4, "1300");
    write_text(dir / "fix.dat", future);
    loaded = worlddata::load_world_data(dir.string());
    ASSERT_FALSE(loaded);
    EXPECT_EQ(loaded.error(),
              (dir / "fix.dat").string() +
                  ": version 1300 is not one this reader knows (fix.dat versions 600, 1100, 1101, 1200)");
    write_text(dir / "fix.dat", "I\r\nno version here\r\n");
    loaded = worlddata::load_world_data(dir.string());
    ASSERT_FALSE(loaded);
    EXPECT_NE(loaded.error().find((dir / "fix.dat").string() + ": no version on its second line"), std::string::npos)
        << loaded.error();
    // The airway layout's own number, 1101, is taken as well as the 1100 its files write.
    std::string awy = kAwy1101;
    awy.replace(awy.find("1100 Version"), 4, "1101");
    write_text(dir / "fix.dat", kFix1200);
    write_text(dir / "awy.dat", awy);
    EXPECT_TRUE(worlddata::load_world_data(dir.string()));
}
