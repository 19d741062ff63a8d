// Finding the four files in the folders users have: a world data folder, an X-Plane 11 or 12
// folder (Custom Data when it holds a whole cycle) and a FlightGear data folder; what a folder lacks
// is said.

#include <gtest/gtest.h>

#include "world_folders.h"
#include "worlddata/world_data.h"
#include "worlddata/world_files.h"

namespace fs = std::filesystem;
using namespace worldfolders;
using worlddata::SourceLayout;

TEST(WorldFiles, XPlane12TakesItsDefaultDataAndGlobalAirports) {
    const auto dir = fresh_folder("X-Plane 12");
    write_xplane12(dir);
    for (SourceLayout asked : {SourceLayout::any, SourceLayout::xplane}) {
        auto files = worlddata::find_world_files(dir.string(), asked);
        ASSERT_TRUE(files) << files.error();
        EXPECT_EQ(files->layout, SourceLayout::xplane);
        EXPECT_EQ(files->nav, (dir / "Resources/default data/earth_nav.dat").string());
        EXPECT_EQ(files->awy, (dir / "Resources/default data/earth_awy.dat").string());
        EXPECT_EQ(files->apt, (dir / "Global Scenery/Global Airports/Earth nav data/apt.dat").string());
    }
    auto data = worlddata::load_world_data(dir.string());
    ASSERT_TRUE(data) << data.error();
    EXPECT_EQ(data->nav.version, 1200);
    EXPECT_EQ(data->apt.version, 1200);
    EXPECT_EQ(data->airports.size(), 2u);
}

TEST(WorldFiles, XPlane11TakesCustomDataOnlyWhenItHoldsAllThree) {
    const auto dir = fresh_folder("X-Plane 11");
    write_xplane11(dir);
    write_text(dir / "Custom Data/earth_nav.dat", kNav1150);
    auto files = worlddata::find_world_files(dir.string());
    ASSERT_TRUE(files) << files.error();
    EXPECT_EQ(files->nav, (dir / "Resources/default data/earth_nav.dat").string()) << "a partial Custom Data";
    EXPECT_EQ(files->apt, (dir / "Resources/default scenery/default apt dat/Earth nav data/apt.dat").string());
    write_custom_data(dir);
    files = worlddata::find_world_files(dir.string());
    ASSERT_TRUE(files) << files.error();
    EXPECT_EQ(files->nav, (dir / "Custom Data/earth_nav.dat").string());
    EXPECT_EQ(files->fix, (dir / "Custom Data/earth_fix.dat").string());
    EXPECT_EQ(files->awy, (dir / "Custom Data/earth_awy.dat").string());
}

TEST(WorldFiles, FlightGearTakesNavaidsAndAirports) {
    const auto dir = fresh_folder("fgdata");
    write_flightgear(dir);
    for (SourceLayout asked : {SourceLayout::any, SourceLayout::flightgear}) {
        auto files = worlddata::find_world_files(dir.string(), asked);
        ASSERT_TRUE(files) << files.error();
        EXPECT_EQ(files->layout, SourceLayout::flightgear);
        EXPECT_EQ(files->nav, (dir / "Navaids/nav.dat.gz").string());
        EXPECT_EQ(files->apt, (dir / "Airports/apt.dat.gz").string());
    }
    auto data = worlddata::load_world_data(dir.string());
    ASSERT_TRUE(data) << data.error();
    EXPECT_EQ(data->airways.size(), 3u);
    EXPECT_EQ(data->nav.version, 810);
}

TEST(WorldFiles, WhatAFolderLacksIsSaid) {
    const auto xp = fresh_folder("X-Plane 12");
    write_xplane12(xp);
    fs::remove(xp / "Resources/default data/earth_awy.dat");
    fs::remove(xp / "Global Scenery/Global Airports/Earth nav data/apt.dat");
    auto files = worlddata::find_world_files(xp.string());
    ASSERT_FALSE(files);
    EXPECT_EQ(files.error().rfind(xp.string() + ": an X-Plane folder needs Resources/default data/earth_awy.dat and "
                                                "Global Scenery/Global Airports/Earth nav data/apt.dat (X-Plane 12) or "
                                                "Resources/default scenery/default apt dat/Earth nav data/apt.dat "
                                                "(X-Plane 11)",
                                  0),
              0u)
        << files.error();

    const auto fg = fresh_folder("fgdata");
    write_flightgear(fg);
    fs::remove(fg / "Navaids/fix.dat.gz");
    files = worlddata::find_world_files(fg.string());
    ASSERT_FALSE(files);
    EXPECT_EQ(files.error(), fg.string() + ": a FlightGear data folder needs Navaids/fix.dat.gz");
    files = worlddata::find_world_files(fg.string(), SourceLayout::xplane);
    ASSERT_FALSE(files) << "a FlightGear folder is no X-Plane folder";
    EXPECT_NE(files.error().find("an X-Plane folder needs Resources/default data/earth_nav.dat, "), std::string::npos)
        << files.error();

    const auto plain = fresh_folder("world");
    write_text(plain / "nav.dat", kNav810);
    files = worlddata::find_world_files(plain.string());
    ASSERT_FALSE(files);
    EXPECT_EQ(files.error(), plain.string() + ": a world data folder needs apt.dat and fix.dat (or .gz)");

    const auto empty = fresh_folder("empty");
    files = worlddata::find_world_files(empty.string());
    ASSERT_FALSE(files);
    EXPECT_NE(files.error().find("neither a world data folder"), std::string::npos) << files.error();
    files = worlddata::find_world_files((empty / "absent").string());
    ASSERT_FALSE(files);
    EXPECT_EQ(files.error(), (empty / "absent").string() + ": no such folder");
}
