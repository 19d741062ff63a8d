// routeplan --data over the folders users have: a route string resolved over the airways of an
// X-Plane 12 folder and of a FlightGear data folder written by the test, and the error for a folder
// that holds no world data.

#include <gtest/gtest.h>

#include "world_folders.h"

namespace fs = std::filesystem;
using namespace worldfolders;

namespace {

std::string routeplan(const std::string& args, int expected_status) {
    std::string out;
    EXPECT_EQ(run_command(std::string(ROUTEPLAN_BIN) + " " + args, &out), expected_status) << out;
    return out;
}

}  // namespace

TEST(RouteplanData, ARouteStringIsResolvedOverAnXPlane12FoldersAirways) {
    const fs::path xp = fresh_folder("X-Plane 12");
    write_xplane12(xp);
    const std::string plan = routeplan("--data '" + xp.string() + "' KQAA QVR Q101 QVT KQBB", 0);
    const std::size_t qvr = plan.find("VOR  QVR    QUARRY VOR/DME            113.70  N44 57 00.00  W100 00 00.00");
    const std::size_t alfa = plan.find("INT  QALFA  QALFA                     000.00  N45 12 00.00  W100 06 00.00");
    // The en-route QBRAV the airway names, not the airport's terminal fix of that ident.
    const std::size_t bravo = plan.find("INT  QBRAV  QBRAV                     000.00  N45 24 00.00  W100 24 00.00");
    const std::size_t qvt = plan.find("VOR  QVT    QUORUM VORTAC             115.20  N45 36 00.00  W100 36 00.00");
    ASSERT_NE(qvr, std::string::npos) << plan;
    ASSERT_NE(alfa, std::string::npos) << plan;
    ASSERT_NE(bravo, std::string::npos) << plan;
    ASSERT_NE(qvt, std::string::npos) << plan;
    EXPECT_TRUE(qvr < alfa && alfa < bravo && bravo < qvt) << plan;
    EXPECT_NE(plan.find("APT  KQAA   QUARRY REGIONAL           000.00  N45 11 42.00  W100 17 42.00"), std::string::npos)
        << "the airport at its 1302 datum\n" << plan;
    EXPECT_NE(plan.find("RUNWAY=18 /"), std::string::npos) << plan;
}

TEST(RouteplanData, AFlightGearFolderAndAFolderWithoutWorldData) {
    const fs::path fg = fresh_folder("fgdata");
    write_flightgear(fg);
    write_text(fg / "route.txt", "KQAA QVR Q101 QVT KQBB\n");
    const std::string table = routeplan("show --data '" + fg.string() + "' '" + (fg / "route.txt").string() + "'", 0);
    EXPECT_NE(table.find("QBRAV        INT  N45.400000 W100.400000  Q101"), std::string::npos) << table;

    const fs::path empty = fresh_folder("empty");
    const std::string said = routeplan("--data '" + empty.string() + "' KQAA QVR KQBB", 1);
    EXPECT_NE(said.find("routeplan: " + empty.string() + ": neither a world data folder"), std::string::npos) << said;
}
