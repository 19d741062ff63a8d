// navimport run as a user runs it on the folders users have: an X-Plane 12 folder, an X-Plane 11
// folder with and without a provider's cycle in Custom Data, a FlightGear data folder; and the
// errors for a file of an unknown version and a folder that lacks files.

#include <gtest/gtest.h>

#include <vector>

#include "world_folders.h"

namespace fs = std::filesystem;
using namespace worldfolders;

namespace {

std::string navimport(const std::string& args, int expected_status) {
    std::string out;
    EXPECT_EQ(run_command(std::string(NAVIMPORT_BIN) + " " + args, &out), expected_status) << out;
    return out;
}

std::string quoted(const fs::path& p) { return "'" + p.string() + "'"; }

// The record of a file whose first five columns are ident.
std::string record(const fs::path& file, const std::string& ident, std::size_t skip = 0) {
    const std::string text = read_text(file);
    std::size_t at = 0;
    for (std::size_t n = 0; n <= skip; ++n) {
        at = text.find("\n" + ident + std::string(5 - ident.size(), ' '), n == 0 ? 0 : at + 1);
        if (at == std::string::npos) return {};
    }
    return text.substr(at + 1, text.find('\n', at + 1) - at - 1);
}

}  // namespace

TEST(NavImportProgram, AnXPlane12FolderBecomesTheDisplaysDatabase) {
    const fs::path xp = fresh_folder("X-Plane 12"), out = fresh_folder("out");
    write_xplane12(xp);
    const std::string said = navimport("--xplane " + quoted(xp) + " " + quoted(out), 0);
    EXPECT_NE(said.find("read " + (xp / "Resources/default data/earth_nav.dat").string() + ", version 1200"),
              std::string::npos)
        << said;
    EXPECT_NE(said.find("read " + (xp / "Global Scenery/Global Airports/Earth nav data/apt.dat").string() +
                        ", version 1200"),
              std::string::npos)
        << said;
    EXPECT_NE(said.find("skipped 1 airway segments whose ends are in neither the fix nor the nav file"),
              std::string::npos)
        << said;
    EXPECT_NE(said.find("skipped 2 nav.dat rows of other codes"), std::string::npos) << said;

    const std::string qvr = record(out / "vor.dat", "QVR");
    ASSERT_EQ(qvr.size(), 93u) << qvr;
    EXPECT_EQ(qvr.substr(6, 14), "QUARRY VOR/DME");
    EXPECT_EQ(qvr.substr(33, 1), "V");
    EXPECT_EQ(qvr.substr(35, 6), "113.70");
    const std::string loc = record(out / "vor.dat", "IQAA");
    EXPECT_EQ(loc.substr(33, 1), "I");
    EXPECT_EQ(loc.substr(58, 3), "180") << "the true course of the packed 1200 column";
    EXPECT_EQ(loc.substr(85, 4), "KQAA");
    EXPECT_EQ(loc.substr(90, 2), "18");
    EXPECT_EQ(record(out / "ndb.dat", "QNB").substr(35, 6), " 350.0");
    EXPECT_FALSE(record(out / "ndb.dat", "QB").empty());
    const std::string runway = record(out / "apt.dat", "KQAA");
    EXPECT_EQ(runway.substr(33, 7), "18 /36 ");
    EXPECT_EQ(runway.substr(42, 3), "180");
    EXPECT_EQ(record(out / "int.dat", "QALFA").substr(6, 21), " 45.200000 -100.10000");
    EXPECT_FALSE(record(out / "int.dat", "QBRAV", 1).empty()) << "both QBRAV fixes";
    EXPECT_EQ(read_text(out / "source.txt"), xp.string() + "\n");
}

TEST(NavImportProgram, AnXPlane11FolderTakesAProvidersCycleInCustomData) {
    const fs::path xp = fresh_folder("X-Plane 11"), out = fresh_folder("out");
    write_xplane11(xp);
    navimport("--xplane " + quoted(xp) + " " + quoted(out), 0);
    EXPECT_EQ(record(out / "vor.dat", "QVR").substr(35, 6), "113.70") << "the default data";
    EXPECT_FALSE(record(out / "vor.dat", "QDM").empty()) << "1100's DME alone";
    write_custom_data(xp);
    const std::string said = navimport("--xplane " + quoted(xp) + " " + quoted(out), 0);
    EXPECT_NE(said.find("read " + (xp / "Custom Data/earth_nav.dat").string() + ", version 1150"), std::string::npos)
        << said;
    EXPECT_EQ(record(out / "vor.dat", "QVR").substr(35, 6), "114.70") << "the provider's cycle";
    EXPECT_EQ(record(out / "vor.dat", "IQBB").substr(58, 3), "270");
    EXPECT_EQ(record(out / "vor.dat", "IQAA").substr(58, 3), "180");
}

TEST(NavImportProgram, AFlightGearFolderAndAWorldDataFolder) {
    const fs::path fg = fresh_folder("fgdata"), out = fresh_folder("out");
    write_flightgear(fg);
    navimport("--flightgear " + quoted(fg) + " " + quoted(out), 0);
    EXPECT_EQ(record(out / "vor.dat", "QVR").substr(35, 6), "113.70");
    EXPECT_EQ(record(out / "vor.dat", "IQAA").substr(58, 3), "180");
    EXPECT_FALSE(record(out / "int.dat", "QBRAV").empty());
    // Told by what it holds when no option names it.
    const fs::path again = fresh_folder("again");
    navimport(quoted(fg) + " " + quoted(again), 0);
    EXPECT_EQ(read_text(again / "vor.dat"), read_text(out / "vor.dat"));
    // The option says what the folder must be.
    std::string said = navimport("--xplane " + quoted(fg) + " " + quoted(fresh_folder("wrong")), 1);
    EXPECT_NE(said.find("navimport: " + fg.string() + ": an X-Plane folder needs"), std::string::npos) << said;
    said = navimport("--xplane --flightgear " + quoted(fg) + " " + quoted(out), 2);
    EXPECT_NE(said.find("one at a time"), std::string::npos) << said;
}

TEST(NavImportProgram, UnknownVersionsAndMissingFilesWriteNothing) {
    const fs::path xp = fresh_folder("X-Plane 12"), out = fresh_folder("out");
    write_xplane12(xp);
    std::string nav = kNav1200;
    nav.replace(nav.find("1200 Version"), 4, "1300");
    write_text(xp / "Resources/default data/earth_nav.dat", nav);
    std::string said = navimport("--xplane " + quoted(xp) + " " + quoted(out), 1);
    EXPECT_NE(said.find("navimport: " + (xp / "Resources/default data/earth_nav.dat").string() +
                        ": version 1300 is not one this reader knows (nav.dat versions 810, 1100, 1150, 1200)"),
              std::string::npos)
        << said;
    EXPECT_FALSE(fs::exists(out / "idx.dat"));

    write_text(xp / "Resources/default data/earth_nav.dat", kNav1200);
    fs::remove(xp / "Resources/default data/earth_fix.dat");
    said = navimport("--xplane " + quoted(xp) + " " + quoted(out), 1);
    EXPECT_NE(said.find(xp.string() + ": an X-Plane folder needs Resources/default data/earth_fix.dat (or all of"),
              std::string::npos)
        << said;
    EXPECT_FALSE(fs::exists(out / "idx.dat"));
}
