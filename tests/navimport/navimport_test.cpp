// The import builds files the navigation display accepts, in its fixed columns, and says what it
// left out.

#include <gtest/gtest.h>
#include <zlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "navdisplay/nav_database.h"
#include "navimport/navimport.h"

namespace fs = std::filesystem;

namespace {

fs::path fresh(const std::string& name) {
    const fs::path p = fs::temp_directory_path() / "navimport_tests" / name;
    fs::remove_all(p);
    fs::create_directories(p);
    return p;
}

void write_gz(const fs::path& path, const std::string& text) {
    gzFile f = gzopen(path.string().c_str(), "wb");
    ASSERT_NE(f, nullptr);
    gzwrite(f, text.data(), static_cast<unsigned>(text.size()));
    gzclose(f);
}

std::vector<std::string> lines(const fs::path& path) {
    std::ifstream f(path, std::ios::binary);
    std::vector<std::string> out;
    for (std::string l; std::getline(f, l);) out.push_back(l);
    return out;
}

const char* kNav =
    "I\r\n810 Version - test data. Copyright test, GPL\r\n\r\n"
    "2  38.08777778 -077.32491667      0   396  50    0.0 APH  A P HILL NDB\r\n"
    "3  57.10371900  009.99557800     57 11670 100    1.0 AAL  AALBORG VOR-DME\r\n"
    "4  39.98091100 -075.87781400    660 10850  18     281.662 IMQS 40N  29  ILS-cat-I\r\n"
    "5  65.63144444 -018.01119444    200 11190  18      24.000 IEY  BIAR 01  LDA\r\n"
    "6  39.97729400 -075.86027500    630 10850  10  300281.700 IMQS 40N  29  GS\r\n"
    "7  39.95000000 -075.80000000      0     0   0     281.700 ---- 40N  29  OM\r\n"
    "12  57.10371900  009.99557800     57 11670 100    0.0 AAL  AALBORG VOR-DME\r\n"
    "13  68.71941900 -052.79275300    172 10875  25    0.0 AS   AASIAAT DME\r\n"
    "3  bad line\r\n"
    "99\r\n";
const char* kFix = "I\r\n600 Version - test fixes\r\n\r\n 47.500000 -122.300000 ALPHA\r\n-33.900000  151.200000 BRAVO\r\n99\r\n";
const char* kApt =
    "I\r\n1000 Version - test airports\r\n\r\n"
    "1     433 0 0 KSEA Seattle Tacoma Intl\r\n"
    "100   45.72   1   0 0.00 1 3 0 16L  47.46380000 -122.30806000    0.00    0.00 3  0 0 0 34R  47.43117000 -122.30801000    0.00    0.00 3  0 0 0\r\n"
    "100   45.72   1   0 0.00 1 3 0 16C  47.46380000 -122.31100000    0.00    0.00 3  0 0 0 34C  47.43790000 -122.31100000    0.00    0.00 3  0 0 0\r\n"
    "17      0 0 0 H1 Some Heliport\r\n"
    "100   20.00   1   0 0.00 0 0 0 01   40.00000000  -80.00000000    0.00    0.00 0  0 0 0 19   40.00100000  -80.00000000    0.00    0.00 0  0 0 0\r\n"
    "99\r\n";

}  // namespace

TEST(NavImport, BuildsTheFiveFilesTheDisplayAccepts) {
    const fs::path src = fresh("src"), out = fresh("out");
    write_gz(src / "nav.dat.gz", kNav);
    std::ofstream(src / "fix.dat") << kFix;  // a plain file works as well
    write_gz(src / "apt.dat.gz", kApt);
    const navimport::Report r = navimport::run_import({src.string(), out.string(), true});
    ASSERT_EQ(r.error, "");
    EXPECT_EQ(r.vor, 5u);  // VOR, ILS, LOC, two DMEs
    EXPECT_EQ(r.ndb, 1u);
    EXPECT_EQ(r.apt, 2u);
    EXPECT_EQ(r.intx, 2u);
    std::string skipped;
    for (const auto& s : r.skipped) skipped += s + "\n";
    EXPECT_NE(skipped.find("1 glide slopes"), std::string::npos) << skipped;
    EXPECT_NE(skipped.find("1 marker beacons"), std::string::npos) << skipped;
    EXPECT_NE(skipped.find("1 nav.dat rows that do not parse (the first at line 12)"), std::string::npos) << skipped;
    EXPECT_NE(skipped.find("1 runways of seaplane bases and heliports"), std::string::npos) << skipped;

    navdb::Database db;
    navdb::open_database(db, out.string());
    EXPECT_EQ(db.status, 0);
    EXPECT_EQ(db.idx.record_length, 33u);
    EXPECT_EQ(db.idx.data_offset, 33u) << "the index header is one record long";

    const auto vor = lines(out / "vor.dat");
    ASSERT_EQ(vor.size(), 6u);
    EXPECT_EQ(vor[1].substr(0, 5), "AAL  ");
    EXPECT_EQ(vor[1][33], 'V');
    EXPECT_EQ(vor[2].substr(0, 5), "IMQS ");
    EXPECT_EQ(vor[2][33], 'I');
    EXPECT_EQ(vor[2].substr(58, 3), "282") << "localizer course in whole degrees";
    EXPECT_EQ(vor[3].substr(58, 3), "024");
    EXPECT_EQ(vor[4][33], 'D');
    const auto apt = lines(out / "apt.dat");
    ASSERT_EQ(apt.size(), 3u);
    EXPECT_EQ(apt[1].substr(0, 5), "KSEA ");
    EXPECT_EQ(apt[1].substr(33, 3), "16L");
    EXPECT_EQ(apt[1].substr(37, 3), "34R");
    EXPECT_EQ(apt[1].substr(42, 3), "180");
    EXPECT_NEAR(std::stoi(apt[1].substr(87, 5)), 11890, 30) << "length in feet from the ends";

    const auto idx = lines(out / "idx.dat");
    ASSERT_EQ(idx.size(), 11u);
    double last = -1000;
    for (std::size_t i = 1; i < idx.size(); ++i) {
        const double lon = std::stod(idx[i].substr(0, 12));
        EXPECT_LE(last, lon) << "ascending longitude";
        last = lon;
        const navdb::DataFile* f = navdb::file_of_kind(db, idx[i][24]);
        ASSERT_NE(f, nullptr);
        EXPECT_NE(f->record(static_cast<std::size_t>(std::stoi(idx[i].substr(27, 5)))), nullptr);
    }
}

TEST(NavImport, MissingSourcesAreReported) {
    const fs::path src = fresh("missing"), out = fresh("missing_out");
    write_gz(src / "nav.dat.gz", kNav);
    const navimport::Report r = navimport::run_import({src.string(), out.string(), true});
    EXPECT_NE(r.error.find("fix.dat"), std::string::npos);
    EXPECT_FALSE(fs::exists(out / "idx.dat"));
}

TEST(NavImport, DamagedSourcesAreReportedByName) {
    const fs::path src = fresh("damaged"), out = fresh("damaged_out");
    write_gz(src / "nav.dat.gz", kNav);
    std::ofstream(src / "fix.dat") << kFix;
    const std::string packed = [&] {
        write_gz(src / "apt.dat.gz", kApt);
        std::ifstream f(src / "apt.dat.gz", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(f), {});
    }();
    std::ofstream(src / "apt.dat.gz", std::ios::binary) << packed.substr(0, packed.size() / 2);
    const navimport::Report r = navimport::run_import({src.string(), out.string(), true});
    EXPECT_NE(r.error.find((src / "apt.dat.gz").string() + ": damaged"), std::string::npos) << r.error;
    EXPECT_FALSE(fs::exists(out / "idx.dat"));
}
