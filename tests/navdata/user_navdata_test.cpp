// The user's own navigation data through the panel host: a database navimport made of an X-Plane 12
// folder, and the folder itself imported on the fly, drawn by the navigation display; plans resolved
// over the same source; the user's folder keeping the choice until --navdata shipped.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>

#include "nd_test_support.h"
#include "world_folders.h"

namespace fs = std::filesystem;
using namespace ndtest;
using worldfolders::fresh_folder;
using worldfolders::read_text;
using worldfolders::run_command;

namespace {

std::string quoted(const fs::path& p) { return "'" + p.string() + "'"; }

std::string run_host(const std::string& args, int expected_status, const fs::path& home = {}) {
    std::string out;
    const std::string env = home.empty() ? "" : "XDG_DATA_HOME=" + quoted(home) + " ";
    EXPECT_EQ(run_command(env + PANELHOST_BIN + " run --seconds 0 " + args, &out), expected_status) << out;
    return out;
}

// PLAN mode, centred, range 10 (11.9 pixels a mile), at 45 N 100 W: the NDB QNB 3 NM north, the
// VOR QVR 3 NM south of the display's centre (128, 136).
void expect_test_navaids_drawn(const fs::path& root, const std::string& navdata) {
    write_file(root / "Gauges/NDmode.tmp", "0\n2\n30\n10\n");
    panelhost::SessionOptions options;
    options.root = root.string();
    options.own_aircraft = false;
    options.navdata = navdata;
    PanelRun run(kPanel, position_at(0, 45.0, -100.0), options);
    run.cycles(100);
    EXPECT_GT(count_colour(run, kOrange, 120, 92, 137, 108), 4) << navdata << ": the NDB QNB";
    EXPECT_GT(count_colour(run, kCyan, 118, 164, 140, 182), 4) << navdata << ": the VOR QVR";
    EXPECT_EQ(count_colour(run, kCyan, 118, 92, 140, 108), 0) << "nothing cyan where the NDB stands";
}

}  // namespace

TEST(UserNavdata, TheDisplayDrawsTheNavaidsOfAnImportedXPlane12Folder) {
    const fs::path xp = fresh_folder("X-Plane 12"), db = fresh_folder("navdb");
    worldfolders::write_xplane12(xp);
    std::string out;
    ASSERT_EQ(run_command(std::string(NAVIMPORT_BIN) + " --xplane " + quoted(xp) + " " + quoted(db), &out), 0) << out;
    const fs::path root = make_root();
    expect_test_navaids_drawn(root, db.string());
    EXPECT_EQ(read_file(root / "NavData/vor.dat"), read_file(db / "vor.dat"));
    EXPECT_EQ(read_file(root / "NavData/source.txt"), xp.string() + "\n") << "the record goes with the files";
}

TEST(UserNavdata, TheDisplayDrawsTheNavaidsOfAnXPlane12FolderImportedOnTheFly) {
    const fs::path xp = fresh_folder("X-Plane 12");
    worldfolders::write_xplane12(xp);
    const fs::path root = make_root();
    expect_test_navaids_drawn(root, xp.string());
    EXPECT_EQ(read_file(root / "NavData/source.txt"), xp.string() + "\n");
    EXPECT_NE(read_file(root / "NavData/int.dat").find("QALFA"), std::string::npos);
}

TEST(UserNavdata, PlansAreResolvedOverTheSameSource) {
    const fs::path xp = fresh_folder("X-Plane 12"), out = fresh_folder("out");
    worldfolders::write_xplane12(xp);
    worldfolders::write_text(out / "quarry.txt", "KQAA QVR Q101 QVT KQBB\n");
    run_host("--navdata " + quoted(xp) + " --plan " + quoted(out / "quarry.txt") + " --out " + quoted(out / "run"), 0);
    const std::string plan = read_text(out / "run/root/NavData/FlightPlans/quarry.pln");
    EXPECT_NE(plan.find("INT  QBRAV  QBRAV                     000.00  N45 24 00.00  W100 24 00.00"), std::string::npos)
        << plan;
    EXPECT_NE(read_text(out / "run/root/NavData/vor.dat").find("QVR   QUARRY VOR/DME"), std::string::npos);

    // A database that does not say where it came from draws, but cannot plan.
    const fs::path db = fresh_folder("navdb");
    ASSERT_EQ(run_command(std::string(NAVIMPORT_BIN) + " --xplane " + quoted(xp) + " " + quoted(db)), 0);
    fs::remove(db / "source.txt");
    const std::string said = run_host("--navdata " + quoted(db) + " --plan " + quoted(out / "quarry.txt") + " --out " +
                                           quoted(out / "no-source"),
                                       1);
    EXPECT_NE(said.find("panelhost: " + db.string() + ": the database records no source folder (no source.txt): "
                        "plans other than the FMC's own cannot be resolved over it"),
              std::string::npos)
        << said;
    EXPECT_NE(said.find((out / "quarry.txt").string() + ": the navigation database in use does not record the world "
                                                          "data it was imported from"),
              std::string::npos)
        << said;
    const std::string refused = run_host("--navdata " + quoted(out / "absent") + " --out " + quoted(out / "x"), 1);
    EXPECT_NE(refused.find("--navdata " + (out / "absent").string() + ": not a navigation database"), std::string::npos)
        << refused;
}

TEST(UserNavdata, TheUsersFolderKeepsTheChoiceUntilShipped) {
    const fs::path xp = fresh_folder("X-Plane 12"), home = fresh_folder("home");
    worldfolders::write_xplane12(xp);
    const fs::path user = home / "cockpit-panel", navdata = user / "simulator/NavData";
    run_host("--keep-state --navdata " + quoted(xp), 0, home);
    EXPECT_EQ(read_text(user / "navdata.txt"), xp.string() + "\n");
    EXPECT_NE(read_text(navdata / "vor.dat").find("QVR   QUARRY VOR/DME"), std::string::npos);

    // The next run without the option uses the kept choice, and leaves the import as it was.
    const auto imported = fs::last_write_time(navdata / "idx.dat");
    run_host("--keep-state", 0, home);
    EXPECT_NE(read_text(navdata / "vor.dat").find("QVR   QUARRY VOR/DME"), std::string::npos);
    EXPECT_EQ(fs::last_write_time(navdata / "idx.dat"), imported) << "not imported again";
    // A source file changed since: imported again.
    fs::last_write_time(xp / "Resources/default data/earth_nav.dat", imported + std::chrono::seconds(5));
    run_host("--keep-state", 0, home);
    EXPECT_NE(fs::last_write_time(navdata / "idx.dat"), imported);

    run_host("--keep-state --navdata shipped", 0, home);
    EXPECT_EQ(read_text(user / "navdata.txt"), "shipped\n");
    EXPECT_EQ(read_text(navdata / "vor.dat").find("QVR   QUARRY VOR/DME"), std::string::npos);
    EXPECT_NE(read_text(navdata / "vor.dat").find("SFO   SAN FRANCISCO"), std::string::npos);
    EXPECT_FALSE(fs::exists(navdata / "source.txt"));

    // A kept choice that is gone says how to go back.
    run_host("--keep-state --navdata " + quoted(xp), 0, home);
    fs::remove_all(xp);
    const std::string said = run_host("--keep-state", 1, home);
    EXPECT_NE(said.find((user / "navdata.txt").string() + "; --navdata shipped goes back to the shipped data"),
              std::string::npos)
        << said;
}
