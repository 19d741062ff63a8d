#include "world_folders.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <fstream>

namespace fs = std::filesystem;

namespace worldfolders {

#define HEADER(version, kind)                                                                 \
    "I\r\n" version " Version - data cycle 2601, build 20260105, metadata " kind "XP" version \
    ". Written for the panel's tests from the format's description.\r\n\r\n"

const char* const kNav1200 = HEADER("1200", "Nav")
    " 2  45.05000000 -100.00000000      0   350    50      0.000 QNB  ENRT K1 QUILL NDB\r\n"
    " 2  45.90000000 -101.00000000      0   272    25      1.000 QB   KQBB K1 QUORUM FIELD NDB\r\n"
    " 3  44.95000000 -100.00000000   1800 11370   130      8.000 QVR  ENRT K1 QUARRY VOR/DME\r\n"
    "12  44.95000000 -100.00000000   1800 11370   130      0.000 QVR  ENRT K1 QUARRY VOR/DME\r\n"
    " 3\t45.60000000\t-100.60000000   1700 11520   130     -0.000 QVT  ENRT K1 QUORUM VORTAC\r\n"
    " 4  45.21000000 -100.30000000   1650 10990    18  62100.000 IQAA KQAA K1 18 ILS-cat-I\r\n"
    " 6  45.18500000 -100.30100000   1650 10990    10 300180.000 IQAA KQAA K1 18 GS\r\n"
    "12  45.18500000 -100.30100000   1650 10990    18      0.000 IQAA KQAA K1 QUARRY RGNL DME-ILS\r\n"
    " 7  45.00000000 -100.30000000   1650     0     0    180.000 ---- KQAA K1 18 OM\r\n"
    "14  45.21500000 -100.30000000   1650     0     0    180.000 R18  KQAA K1 18 WAAS\r\n"
    "16  45.18000000 -100.30000000   1650 56100    52 300180.000 R18  KQAA K1 18 W18A\r\n"
    "99\r\n";

const char* const kNav1150 = HEADER("1150", "Nav")
    " 2  45.05000000 -100.00000000      0   350    50      0.000 QNB  ENRT K1 QUILL NDB\r\n"
    " 3  44.95000000 -100.00000000   1800 11470   130      8.000 QVR  ENRT K1 QUARRY VOR/DME\r\n"
    " 3  45.60000000 -100.60000000   1700 11520   130      8.000 QVT  ENRT K1 QUORUM VORTAC\r\n"
    " 4  45.21000000 -100.30000000   1650 10990    18  62100.000 IQAA KQAA K1 18 ILS-cat-I\r\n"
    " 5  45.70000000 -100.69000000   1720 11110    18    270.000 IQBB KQBB K1 27 LOC\r\n"
    "99\r\n";

const char* const kNav1100 = HEADER("1100", "Nav")
    " 2  45.05000000 -100.00000000      0   350    50      0.000 QNB  ENRT K1 QUILL NDB\r\n"
    " 3  44.95000000 -100.00000000   1800 11370   130      8.000 QVR  ENRT K1 QUARRY VOR/DME\r\n"
    " 3  45.60000000 -100.60000000   1700 11520   130      8.000 QVT  ENRT K1 QUORUM VORTAC\r\n"
    " 4  45.21000000 -100.30000000   1650 10990    18    180.000 IQAA KQAA K1 18 ILS-cat-I\r\n"
    "13  45.40000000 -100.90000000   1700 11280    40      0.000 QDM  ENRT K1 QUEUE DME\r\n"
    "99\r\n";

const char* const kNav810 = HEADER("810", "Nav")
    "2  45.05000000 -100.00000000      0   350  50    0.0 QNB  QUILL NDB\r\n"
    "3  44.95000000 -100.00000000   1800 11370 130    8.0 QVR  QUARRY VOR/DME\r\n"
    "12  44.95000000 -100.00000000   1800 11370 130    0.0 QVR  QUARRY VOR/DME\r\n"
    "3  45.60000000 -100.60000000   1700 11520 130    8.0 QVT  QUORUM VORTAC\r\n"
    "4  45.21000000 -100.30000000   1650 10990  18  180.000 IQAA KQAA 18  ILS-cat-I\r\n"
    "99\r\n";

// The waypoint type, three characters of ARINC 424 field 5.42 in a little-endian integer: "R  "
// (a named intersection) is 0x202052, "W  " (RNAV) 0x202057.
const char* const kFix1200 = HEADER("1200", "Fix")
    " 45.20000000 -100.10000000 QALFA ENRT K1 2105426 QALFA\r\n"
    " 45.40000000\t-100.40000000 QBRAV ENRT K1 2105426 BRAVO ABEAM QUORUM VOR  \r\n"
    " 45.19000000 -100.25000000 QBRAV KQAA K1 2105431 QBRAV\r\n"
    " 45.50000000 -100.50000000 QCHAR ENRT K1 2105431 CHARLIE\r\n"
    "99\r\n";

const char* const kFix1101 = HEADER("1101", "Fix")
    " 45.20000000 -100.10000000 QALFA ENRT K1 2105426\r\n"
    " 45.40000000 -100.40000000 QBRAV ENRT K1 2105426\r\n"
    " 45.19000000 -100.25000000 QBRAV KQAA K1 2105431\r\n"
    "99\r\n";

const char* const kFix1100 = HEADER("1100", "Fix")
    " 45.20000000 -100.10000000 QALFA ENRT K1\r\n"
    " 45.40000000 -100.40000000 QBRAV ENRT K1\r\n"
    "99\r\n";

const char* const kFix600 = HEADER("600", "Fix")
    " 45.200000 -100.100000 QALFA\r\n"
    " 45.400000 -100.400000 QBRAV\r\n"
    "99\r\n";

const char* const kAwy1101 = HEADER("1100", "Awy")
    "QVR   K1  3 QALFA K1 11 N 2 180 450 Q101\r\n"
    "QALFA K1 11 QBRAV K1 11 N 2 180 450 Q101\r\n"
    "QBRAV\tK1 11 QVT   K1  3 N 2 180 450 Q101-Q102\r\n"
    "QVT   K1  3 QNB   K1  2 F 1  30 180 V99\r\n"
    "QBRAV K1 11 QMISS K1 11 N 1  30 180 V98\r\n"
    "99\r\n";

const char* const kAwy640 = HEADER("640", "Awy")
    "QVR    44.950000 -100.000000 QALFA  45.200000 -100.100000 2 180 450 Q101\r\n"
    "QALFA  45.200000 -100.100000 QBRAV  45.400000 -100.400000 2 180 450 Q101\r\n"
    "QBRAV  45.400000 -100.400000 QVT    45.600000 -100.600000 2 180 450 Q101-Q102\r\n"
    "99\r\n";

#define AIRPORTS(metadata, extra)                                                                             \
    "1   1650 0 0 KQAA Quarry Regional\r\n" metadata                                                            \
    "100 45.00 1 0 0.25 1 2 1 18   45.21000000 -100.30000000 0.00 0.00 3 8 1 1 36   45.18000000 -100.30000000 " \
    "0.00 0.00 3 0 0 0\r\n"                                                                                     \
    "1   1720 0 0 KQBB Quorum Field\r\n"                                                                        \
    "100 30.00 " extra " 0 0.25 0 2 0 09   45.70000000 -100.75000000 0.00 0.00 2 0 0 0 27   45.70000000 "      \
    "-100.70000000 0.00 0.00 2 0 0 0\r\n"                                                                       \
    "17  1700 0 0 QH1 Quarry Hospital Heliport\r\n"                                                             \
    "102 H1 45.10000000 -100.10000000 0.00 15.00 15.00 1 0 0 0.25 0\r\n"

const char* const kApt1200 = HEADER("1200", "Apt")
    AIRPORTS("1302 city Quarry\r\n1302 datum_lat 45.19500000\r\n1302 datum_lon -100.29500000\r\n"
             "1302 icao_code KQAA\r\n", "50")
    "1402 45.20 -100.30 1 KQAA parking\r\n"
    "1500 45.21 -100.30 1 2\r\n"
    "99\r\n";

const char* const kApt1100 = HEADER("1100", "Apt")
    AIRPORTS("1302 datum_lat 45.19500000\r\n1302 datum_lon -100.29500000\r\n", "1")
    "99\r\n";

const char* const kApt1000 = HEADER("1000", "Apt") AIRPORTS("", "1") "99\r\n";

fs::path fresh_folder(const std::string& name) {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const fs::path dir = fs::temp_directory_path() / "world_folders" /
                         (std::string(info->test_suite_name()) + "." + info->name()) / name;
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

void write_text(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

void write_gzip(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    gzFile f = gzopen(path.string().c_str(), "wb");
    ASSERT_NE(f, nullptr) << path;
    gzwrite(f, text.data(), static_cast<unsigned>(text.size()));
    gzclose(f);
}

void write_xplane12(const fs::path& dir) {
    write_text(dir / "Resources/default data/earth_nav.dat", kNav1200);
    write_text(dir / "Resources/default data/earth_fix.dat", kFix1200);
    write_text(dir / "Resources/default data/earth_awy.dat", kAwy1101);
    write_text(dir / "Global Scenery/Global Airports/Earth nav data/apt.dat", kApt1200);
}

void write_xplane11(const fs::path& dir) {
    write_text(dir / "Resources/default data/earth_nav.dat", kNav1100);
    write_text(dir / "Resources/default data/earth_fix.dat", kFix1101);
    write_text(dir / "Resources/default data/earth_awy.dat", kAwy1101);
    write_text(dir / "Resources/default scenery/default apt dat/Earth nav data/apt.dat", kApt1100);
}

void write_custom_data(const fs::path& xplane_dir) {
    write_text(xplane_dir / "Custom Data/earth_nav.dat", kNav1150);
    write_text(xplane_dir / "Custom Data/earth_fix.dat", kFix1101);
    write_text(xplane_dir / "Custom Data/earth_awy.dat", kAwy1101);
    write_text(xplane_dir / "Custom Data/cycle_info.txt", "AIRAC cycle    : 2601\r\n");
}

void write_flightgear(const fs::path& dir) {
    write_gzip(dir / "Navaids/nav.dat.gz", kNav810);
    write_gzip(dir / "Navaids/fix.dat.gz", kFix600);
    write_gzip(dir / "Navaids/awy.dat.gz", kAwy640);
    write_gzip(dir / "Airports/apt.dat.gz", kApt1000);
}

}  // namespace worldfolders
