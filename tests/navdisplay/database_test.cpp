// Opening and checking the NavData files, as the MAP mode shows it, and records that do not fit.

#include <gtest/gtest.h>

#include "nd_test_support.h"

namespace fs = std::filesystem;
using namespace ndtest;

namespace {

constexpr unsigned kCentreTop = plat::text_align::center | plat::text_align::top;

// MAP mode, arc, everything but the route, range 320.
void map_mode_file(const fs::path& root) { write_file(root / "Gauges/NDmode.tmp", "1\n1\n30\n320\n"); }

bool error_shown(PanelRun& run, int code) {
    char text[16];
    std::snprintf(text, sizeof text, "ERROR %03d", code);
    return text_shown(run, 128, 128 - 10, kCentreTop, 11, "NAV", kRed) &&
           text_shown(run, 128, 128, kCentreTop, 11, "DATABASE", kRed) &&
           text_shown(run, 128, 128 + 10, kCentreTop, 11, text, kRed);
}

NavData small_world() {
    NavData d;
    d.vor("AAA", 'V', 0.05, 0.05);
    d.ndb("NNN", -0.05, 0.02);
    d.runway("KAAA", "09", "27", 90, 9000, 0.0, -0.05);
    d.fix("FIXXA", 0.08, -0.08);
    return d;
}

}  // namespace

TEST(NavDatabase, MissingFilesGiveTheirBits) {
    const fs::path root = make_root();
    small_world().write(root / "NavData");
    map_mode_file(root);
    fs::remove(root / "NavData/vor.dat");
    {
        PanelRun run = open_run(root, "");
        run.cycles(100);
        EXPECT_TRUE(error_shown(run, 104));
        // The rest of the display still works: the heading box is there.
        EXPECT_TRUE(text_shown(run, 128 - 11, 0, plat::text_align::right | plat::text_align::top, 9, "HDG", kGreen));
    }
    for (const char* f : {"idx.dat", "ndb.dat", "apt.dat", "int.dat"}) fs::remove(root / "NavData" / f);
    PanelRun run = open_run(root, "");
    run.cycles(100);
    EXPECT_TRUE(error_shown(run, 131));
}

TEST(NavDatabase, CountMismatchAndShortRecords) {
    const fs::path root = make_root();
    map_mode_file(root);
    NavData d = small_world();
    d.extra_index('N', 0, 0.01, 0.01);  // one index record too many
    d.write(root / "NavData");
    {
        PanelRun run = open_run(root, "");
        run.cycles(100);
        EXPECT_TRUE(error_shown(run, 500));
    }
    // A data file whose last record lost its newline is not a whole number of records.
    NavData two = small_world();
    two.ndb("NN2", -0.06, 0.03);
    two.write(root / "NavData");
    std::string ndb = read_file(root / "NavData/ndb.dat");
    ndb.pop_back();
    write_file(root / "NavData/ndb.dat", ndb);
    PanelRun run = open_run(root, "");
    run.cycles(100);
    EXPECT_TRUE(error_shown(run, 402));
}

TEST(NavDatabase, UsableDatabaseDrawsItsNavaids) {
    const fs::path root = make_root();
    map_mode_file(root);
    small_world().write(root / "NavData");
    PanelRun run = open_run(root, position_at(0, 0, 0));
    run.cycles(100);
    EXPECT_FALSE(text_shown(run, 128, 128 + 10, kCentreTop, 11, "ERROR 000", kRed));
    // Range 320 in arc mode: 200 / 320 pixels per mile; the VOR 3 miles north-east.
    EXPECT_GT(count_colour(run, kCyan, 125, 205, 137, 217), 4);
    EXPECT_GT(count_colour(run, kOrange, 125, 215, 135, 225), 4);
}

TEST(NavDatabase, IndexRecordOutsideItsFileIsSkipped) {
    const fs::path root = make_root();
    write_file(root / "Gauges/NDmode.tmp", "0\n2\n30\n10\n");
    NavData d;
    d.ndb("NNN", 0.0, -0.05);
    d.vor("AAA", 'V', 0.0, 0.05);
    d.write(root / "NavData");
    // Point the VOR's index record past the end of vor.dat, keeping the counts right.
    std::string idx = read_file(root / "NavData/idx.dat");
    const std::size_t at = idx.rfind("V  00000");
    ASSERT_NE(at, std::string::npos);
    idx.replace(at, 8, "V  00007");
    write_file(root / "NavData/idx.dat", idx);
    PanelRun run = open_run(root, position_at(0, 0, 0));
    run.cycles(100);
    // PLAN, centred, range 10: 11.9 pixels per mile, 3 miles east and west.
    EXPECT_GT(count_colour(run, kOrange, 85, 130, 100, 142), 4) << "the NDB is drawn";
    EXPECT_EQ(count_colour(run, kCyan, 155, 125, 180, 142), 0) << "the VOR that is not in its file is not";
}

// A record number no file could hold, as a damaged index may give it (an overflowing exponent, not
// a number), is no record: the VOR is left out and the rest is drawn.
TEST(NavDatabase, IndexRecordNumberThatIsNoNumberIsSkipped) {
    for (const char* number : {"1e999", "  nan"}) {
        const fs::path root = make_root();
        write_file(root / "Gauges/NDmode.tmp", "0\n2\n30\n10\n");
        NavData d;
        d.ndb("NNN", 0.0, -0.05);
        d.vor("AAA", 'V', 0.0, 0.05);
        d.write(root / "NavData");
        std::string idx = read_file(root / "NavData/idx.dat");
        const std::size_t at = idx.rfind("V  00000");
        ASSERT_NE(at, std::string::npos);
        idx.replace(at + 3, 5, number);
        write_file(root / "NavData/idx.dat", idx);
        PanelRun run = open_run(root, position_at(0, 0, 0));
        run.cycles(100);
        EXPECT_GT(count_colour(run, kOrange, 85, 130, 100, 142), 4) << number << ": the NDB is drawn";
        EXPECT_EQ(count_colour(run, kCyan, 155, 125, 180, 142), 0) << number << ": the VOR is not";
    }
}
