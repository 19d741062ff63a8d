// Flight plans in the other simulators' formats: the same route in every input gives one FMC plan,
// every written format reads back to the same points, route strings resolve over the shipped world
// data to the fixes a pilot expects, and damaged or foreign files are refused with file and line.

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>

#include "flightplan/formats/fmc_plan_format.h"
#include "flightplan/formats/icao_route.h"
#include "flightplan/formats/plan_io.h"
#include "flightplan/planning/plan.h"

namespace {

std::string test_data() {
    const char* d = std::getenv("PANEL_TEST_DATA");
    return d ? d : "tests/data";
}

const planner::NavDb& extract() {
    static const planner::NavDb db = [] {
        auto d = planner::NavDb::load(test_data() + "/navdata");
        if (!d) throw std::runtime_error(d.error());
        return std::move(d).value();
    }();
    return db;
}

const planner::NavDb& world() {
    static const planner::NavDb db = [] {
        auto d = planner::NavDb::load(std::string(PANEL_WORLD_DATA));
        if (!d) throw std::runtime_error(d.error());
        return std::move(d).value();
    }();
    return db;
}

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

planner::FlightPlan read(const planner::NavDb& db, const std::string& text, const std::string& name = "plan") {
    auto r = planner::read_plan(db, text, name);
    if (!r) throw std::runtime_error(r.error());
    return r->plan;
}

std::string error_of(const planner::NavDb& db, const std::string& text, const std::string& name = "bad") {
    auto r = planner::read_plan(db, text, name);
    return r ? std::string("(no error)") : r.error();
}

std::vector<std::string> idents(const planner::FlightPlan& p) {
    std::vector<std::string> out;
    for (const auto& w : p.waypoints) out.push_back(w.place.ident);
    return out;
}

const planner::PlanWaypoint& find(const planner::FlightPlan& p, const std::string& ident) {
    for (const auto& w : p.waypoints)
        if (w.place.ident == ident) return w;
    throw std::runtime_error(ident + " is not in the plan");
}

const std::vector<std::string> ksfo_klax_files = {"ksfo-klax.route",   "ksfo-klax.fms",         "ksfo-klax-v3.fms",
                                                  "ksfo-klax.fgfp",    "ksfo-klax-v1.xml",      "ksfo-klax-msfs.pln",
                                                  "ksfo-klax-fsx.pln", "ksfo-klax-simbrief.xml"};

TEST(PlanInputs, OneRouteInEveryFormatGivesOneFmcPlan) {
    // The planner's own plan of the route, with the cruise values the files give.
    planner::Performance perf;
    perf.cruise_altitude_ft = 33000;
    perf.cruise_speed = 0.76;
    auto expected = planner::make_plan(extract(), {"KSFO SFO V25 SNS PRB RZS KLAX", "", perf, {}});
    ASSERT_TRUE(expected) << expected.error();
    const std::vector<planner::PlanFormat> formats = {planner::PlanFormat::route,      planner::PlanFormat::fms,
                                                      planner::PlanFormat::fms,        planner::PlanFormat::flightgear,
                                                      planner::PlanFormat::flightgear, planner::PlanFormat::msfs,
                                                      planner::PlanFormat::msfs,       planner::PlanFormat::simbrief};
    for (std::size_t i = 0; i < ksfo_klax_files.size(); ++i) {
        SCOPED_TRACE(ksfo_klax_files[i]);
        auto r = planner::read_plan_file(extract(), test_data() + "/plans/" + ksfo_klax_files[i]);
        ASSERT_TRUE(r) << r.error();
        EXPECT_EQ(r->format, formats[i]);
        auto text = planner::write_plan(extract(), r->plan, planner::PlanFormat::fmc, {});
        ASSERT_TRUE(text) << text.error();
        EXPECT_EQ(*text, expected->text);
    }
}

// Round trips: written in each format and read back, the same points to a millionth of a degree,
// the same runways and cruise values (X-Plane's format carries no cruise speed).
TEST(PlanOutputs, EveryWrittenFormatReadsBackTheSamePlan) {
    const planner::FlightPlan plan =
        read(extract(), "KSFO/28R M078F350 SFO V25 SNS 3630N12100W 35N120W DCT RZS KLAX/24R");
    ASSERT_EQ(idents(plan), (std::vector<std::string>{"KSFO", "SFO", "OSI", "SAPID", "SANTY", "MOVER", "SNS",
                                                      "3630N12100W", "35N120W", "RZS", "KLAX"}));
    for (auto format : {planner::PlanFormat::fmc, planner::PlanFormat::fms, planner::PlanFormat::flightgear}) {
        SCOPED_TRACE(planner::format_name(format));
        auto text = planner::write_plan(extract(), plan, format, {});
        ASSERT_TRUE(text) << text.error();
        auto back = planner::read_plan(extract(), *text, "written");
        ASSERT_TRUE(back) << back.error();
        EXPECT_EQ(back->format, format);
        ASSERT_EQ(idents(back->plan), idents(plan));
        for (std::size_t i = 0; i < plan.waypoints.size(); ++i) {
            EXPECT_NEAR(back->plan.waypoints[i].place.at.lat, plan.waypoints[i].place.at.lat, 1e-6) << i;
            EXPECT_NEAR(back->plan.waypoints[i].place.at.lon, plan.waypoints[i].place.at.lon, 1e-6) << i;
            EXPECT_EQ(back->plan.waypoints[i].place.type, plan.waypoints[i].place.type) << i;
        }
        EXPECT_EQ(back->plan.departure_runway, "28R");
        EXPECT_EQ(back->plan.arrival_runway, "24R");
        EXPECT_EQ(back->plan.cruise_altitude_ft, 35000);
        if (format != planner::PlanFormat::fms) {
            EXPECT_NEAR(back->plan.cruise_speed.value_or(0), 0.78, 1e-9);
        }
        if (format != planner::PlanFormat::fmc) {
            EXPECT_EQ(find(back->plan, "OSI").airway, "V25");
        }
    }
}

TEST(PlanOutputs, TheFmcsOwnShippedPlansReadBackUnchanged) {
    for (const char* name : {"KSFO-KLAX.pln", "EGLL-LFPG.pln", "KLAX-PHNL.pln", "NZAA-NSFA.pln"}) {
        SCOPED_TRACE(name);
        const std::string text = slurp(std::string(PANEL_SHIPPED_PLANS) + "/" + name);
        auto back = planner::write_plan(world(), read(world(), text, name), planner::PlanFormat::fmc, {});
        ASSERT_TRUE(back) << back.error();
        EXPECT_EQ(*back, text);
    }
}

TEST(PlanOutputs, FmsAndFlightGearTextAsTheSimulatorsWriteIt) {
    const planner::FlightPlan plan = read(extract(), "KSFO/28R N0450F330 SFO V25 OSI 37N122W KLAX");
    auto fms = planner::write_plan(extract(), plan, planner::PlanFormat::fms, {});
    ASSERT_TRUE(fms);
    EXPECT_EQ(*fms,
              "I\n1100 Version\nCYCLE 1310\nADEP KSFO\nDEPRWY RW28R\nADES KLAX\nNUMENR 5\n"
              "1 KSFO ADEP 13.000000 37.618674 -122.375008\n"
              "3 SFO DRCT 52.000000 37.619472 -122.373889\n"
              "3 OSI V25 7859.000000 37.392500 -122.281306\n"
              "28 +37.000_-122.000 DRCT 18689.000000 37.000000 -122.000000\n"
              "1 KLAX ADES 126.000000 33.943130 -118.408917\n");
    auto fg = planner::write_plan(extract(), plan, planner::PlanFormat::flightgear, {});
    ASSERT_TRUE(fg);
    EXPECT_NE(fg->find("<version type=\"int\">2</version>"), std::string::npos);
    EXPECT_NE(fg->find("<flight-level type=\"int\">330</flight-level>"), std::string::npos);
    EXPECT_NE(fg->find("<knots type=\"int\">450</knots>"), std::string::npos);
    EXPECT_NE(fg->find("<type type=\"string\">runway</type>"), std::string::npos);
    EXPECT_NE(fg->find("<ident type=\"string\">37N122W</ident>"), std::string::npos);
}

// Route strings over the shipped world data.
TEST(RouteStrings, AirwaysInARowMeetWhereTheyCross) {
    const planner::FlightPlan p = read(world(), "KSFO/28R N0450F330 SFO V25 V12 EMUXY KLAX/24R");
    EXPECT_EQ(idents(p),
              (std::vector<std::string>{"KSFO", "SFO", "OSI", "SAPID", "SANTY", "MOVER", "SNS", "CASRA", "HAGRO",
                                        "WIGGL", "LUCAB", "PRB", "KIKII", "POZOE", "WYNNR", "RZS", "EMUXY", "KLAX"}));
    EXPECT_EQ(find(p, "RZS").airway, "V25");
    EXPECT_EQ(find(p, "EMUXY").airway, "V12");
    EXPECT_EQ(find(p, "SFO").airway, "");
    EXPECT_EQ(p.departure_runway, "28R");
    EXPECT_EQ(p.arrival_runway, "24R");
    EXPECT_EQ(p.cruise_altitude_ft, 33000);
    EXPECT_EQ(p.cruise_speed, 450);
}

TEST(RouteStrings, SpeedAndLevelGroupsSetTheCruise) {
    auto cruise = [](const std::string& route) {
        const planner::FlightPlan p = read(world(), route);
        return std::pair{p.cruise_speed.value_or(-1), p.cruise_altitude_ft.value_or(-1)};
    };
    EXPECT_EQ(cruise("KSFO M078F350 SFO KLAX"), std::pair(0.78, 35000));
    EXPECT_EQ(cruise("KSFO N0420A045 SFO KLAX"), std::pair(420.0, 4500));
    EXPECT_EQ(cruise("KSFO K0830S1000 SFO KLAX"), std::pair(448.0, 32808));
    // A change at a point: the FMC flies one cruise level, the highest, at the speed filed with it.
    EXPECT_EQ(cruise("KSFO N0450F290 SFO SNS/N0460F350 KLAX"), std::pair(460.0, 35000));
    EXPECT_EQ(cruise("KSFO N0450F330 SFO SNS/N0420F350 PRB/N0440F310 KLAX"), std::pair(420.0, 35000));
    EXPECT_EQ(cruise("KSFO/N0450F330 SFO KLAX"), std::pair(450.0, 33000));
    EXPECT_EQ(cruise("KSFO SFO KLAX"), std::pair(-1.0, -1));
}

TEST(RouteStrings, LatitudeLongitudePointsAndDirectLegs) {
    const planner::FlightPlan p = read(world(), "KSFO DCT 3730N12200W DCT 37N122W 3615N12130W KLAX");
    ASSERT_EQ(idents(p), (std::vector<std::string>{"KSFO", "3730N12200W", "37N122W", "3615N12130W", "KLAX"}));
    EXPECT_DOUBLE_EQ(p.waypoints[1].place.at.lat, 37.5);
    EXPECT_DOUBLE_EQ(p.waypoints[1].place.at.lon, -122.0);
    EXPECT_DOUBLE_EQ(p.waypoints[2].place.at.lat, 37.0);
    EXPECT_DOUBLE_EQ(p.waypoints[3].place.at.lat, 36.25);
    EXPECT_DOUBLE_EQ(p.waypoints[3].place.at.lon, -121.5);
}

TEST(RouteStrings, SharedNamesAreTheOnesNearTheRoute) {
    // BSR is Big Sur and Basrah; CMA is Camarillo and three more around the world.
    const planner::FlightPlan p = read(world(), "KSFO SNS BSR CMA KLAX");
    EXPECT_NEAR(find(p, "BSR").place.at.lat, 36.1813, 1e-3);
    EXPECT_NEAR(find(p, "BSR").place.at.lon, -121.6421, 1e-3);
    EXPECT_NEAR(find(p, "CMA").place.at.lat, 34.2125, 1e-3);
    EXPECT_NEAR(find(p, "CMA").place.at.lon, -119.0944, 1e-3);
}

TEST(RouteStrings, ProceduresAreSkippedWithAWarning) {
    const planner::FlightPlan p = read(world(), "KSFO/28R SSTIK5 SFO V25 SNS SEAVU2 KLAX");
    EXPECT_EQ(p.waypoints[1].place.ident, "SFO");
    EXPECT_EQ(p.waypoints[p.waypoints.size() - 2].place.ident, "SNS");
    ASSERT_EQ(p.warnings.size(), 2u);
    EXPECT_NE(p.warnings[0].find("SSTIK5"), std::string::npos);
    EXPECT_NE(p.warnings[1].find("SEAVU2"), std::string::npos);
}

TEST(RouteStrings, ErrorsNameTheWord) {
    EXPECT_EQ(error_of(world(), "KSFO SFO QQQQQ KLAX"), "bad:1: unknown name 'QQQQQ'");
    EXPECT_EQ(error_of(world(), "KSFO SFO\nV25 EMUXY KLAX"), "bad:2: 'EMUXY' is not on airway V25");
    EXPECT_EQ(error_of(world(), "KSFO SFO V12 EMUXY KLAX"), "bad:1: 'SFO' is not on airway V12");
    EXPECT_EQ(error_of(world(), "KSFO/99 SFO KLAX"),
              "bad:1: 'KSFO/99': '99' is neither a runway nor a speed and level");
    EXPECT_EQ(error_of(world(), "KSFO/28X SFO KLAX"),
              "bad:1: 'KSFO/28X': '28X' is neither a runway nor a speed and level");
    EXPECT_EQ(error_of(world(), "KSFO/27 SFO KLAX"),
              "bad:1: 'KSFO/27': KSFO has no runway 27; its runways are 01L, 01R, 10L, 10R, 19L, 19R, 28L, 28R");
    EXPECT_EQ(error_of(world(), "KSFO SFO V25 KLAX"), "bad:1: airway V25 needs a point after it");
    EXPECT_EQ(error_of(world(), "KSFO SFO SNS"), "bad:1: the route must end at an airport, not 'SNS'");
    EXPECT_EQ(error_of(world(), "KSFO SFO V25 DCT SNS KLAX"), "bad:1: DCT cannot follow airway V25");
}

TEST(RouteStrings, AFragmentedAirwayIsNotJoinedAcrossItsGap) {
    // V999 in the extract is two pieces: ZZGAP-ZZGBP and ZZGCP-ZZGDP.
    const planner::FlightPlan p = read(extract(), "KSFO ZZGAP V999 ZZGBP KLAX");
    EXPECT_EQ(idents(p), (std::vector<std::string>{"KSFO", "ZZGAP", "ZZGBP", "KLAX"}));
    EXPECT_EQ(error_of(extract(), "KSFO ZZGAP V999 ZZGDP KLAX"),
              "bad:1: airway V999 does not lead from ZZGAP to 'ZZGDP'");
    EXPECT_EQ(error_of(extract(), "KSFO SNS V25 V999 ZZGDP KLAX"), "bad:1: airways V25 and V999 do not meet");
}

// Damaged and foreign files: the file, the line, what was wrong.
TEST(BadPlans, XmlCutShortOrOfAnotherKind) {
    for (const char* name : {"ksfo-klax.fgfp", "ksfo-klax-msfs.pln", "ksfo-klax-simbrief.xml"}) {
        SCOPED_TRACE(name);
        const std::string text = slurp(test_data() + "/plans/" + name);
        const std::string e = error_of(extract(), text.substr(0, text.size() / 2), name);
        EXPECT_EQ(e.rfind(std::string(name) + ":", 0), 0u) << e;
        EXPECT_NE(e.find("not well-formed XML"), std::string::npos) << e;
    }
    EXPECT_EQ(error_of(extract(), "<?xml version=\"1.0\"?>\n<html>\n<body/></html>\n", "page.xml"),
              "page.xml:2: root element <html> is not a flight plan's (PropertyList, SimBase.Document or OFP)");
    EXPECT_EQ(error_of(extract(), "<PropertyList>\n  <sim/>\n</PropertyList>\n", "prefs.xml"),
              "prefs.xml:1: no <route> element: not a FlightGear route");
    EXPECT_EQ(error_of(extract(), "<OFP><fetch><status>Error: unknown user</status></fetch></OFP>", "ofp.xml"),
              "ofp.xml:1: SimBrief answered with an error, not a plan: Error: unknown user");
}

TEST(BadPlans, FmsCountsAndLines) {
    std::string fms = slurp(test_data() + "/plans/ksfo-klax.fms");
    std::string wrong = fms;
    wrong.replace(wrong.find("NUMENR 10"), 9, "NUMENR 11");
    EXPECT_EQ(error_of(extract(), wrong, "a.fms"), "a.fms:6: NUMENR says 11 waypoints, the file holds 10");
    std::string v3 = slurp(test_data() + "/plans/ksfo-klax-v3.fms");
    v3.replace(v3.find("\n9  \n"), 5, "\n12\n");
    EXPECT_EQ(error_of(extract(), v3, "b.fms"), "b.fms:4: the count says 13 waypoints, the file holds 10");
    std::string unknown = fms;
    unknown.replace(unknown.find("1 KLAX"), 6, "1 KXXX");
    EXPECT_EQ(error_of(extract(), unknown, "c.fms"), "c.fms:16: unknown airport 'KXXX'");
    std::string garbled = fms;
    garbled.replace(garbled.find("37.392500"), 9, "north");
    EXPECT_EQ(error_of(extract(), garbled, "d.fms"),
              "d.fms:9: altitude, latitude and longitude must be numbers (degrees within range)");
    EXPECT_EQ(error_of(extract(), "I\n1100 Version\nADEP KSFO\nNUMENR 0\n", "e.fms"),
              "e.fms:4: no CYCLE line before NUMENR");
}

TEST(BadPlans, PositionsThatAreNoPositionsAreRefused) {
    std::string pln = slurp(test_data() + "/plans/ksfo-klax-msfs.pln");
    pln.replace(pln.find("<WorldPosition>N36"), 18, "<WorldPosition>X36");
    EXPECT_NE(error_of(extract(), pln, "m.pln").find("is not a position"), std::string::npos);
}

TEST(BadPlans, FmcPlanRecordsOfTheWrongLength) {
    std::string text = slurp(std::string(PANEL_SHIPPED_PLANS) + "/KSFO-KLAX.pln");
    text.erase(text.find("SAPID  SAPID") + 12, 3);
    EXPECT_EQ(error_of(world(), text, "k.pln"), "k.pln:18: a waypoint record is 100 characters long, not 103");
}

}  // namespace
