// Plans as other tools write them, read as they are meant: each file's faults of the past, from
// the formats' documentation, and the plan resolved over the shipped world data.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <tuple>

#include "flightplan/formats/fg_route_format.h"
#include "flightplan/formats/plan_io.h"
#include "flightplan/route/runways.h"
#include "sim/units.h"

namespace {

std::string test_data() {
    const char* d = std::getenv("PANEL_TEST_DATA");
    return d ? d : "tests/data";
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

std::string plan_file(const std::string& name) { return slurp(test_data() + "/plans/" + name); }

planner::FlightPlan read(const std::string& text, const std::string& name = "plan") {
    auto r = planner::read_plan(world(), text, name);
    if (!r) throw std::runtime_error(r.error());
    return r->plan;
}

std::string error_of(const std::string& text, const std::string& name) {
    auto r = planner::read_plan(world(), text, name);
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

std::string warnings(const planner::FlightPlan& p) {
    std::string out;
    for (const auto& w : p.warnings) out += w + "\n";
    return out;
}

std::string fmc_text(const planner::FlightPlan& p) {
    auto text = planner::write_plan(world(), p, planner::PlanFormat::fmc, {});
    if (!text) throw std::runtime_error(text.error());
    return *text;
}

// The FMC plan's waypoint records: type and ident columns.
std::vector<std::string> fmc_points(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text.substr(text.find("[WAYPOINTS]")));
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line))
        if (line.size() > 10 && line.compare(0, 3, "TOC") != 0 && line.compare(0, 3, "TOD") != 0)
            out.push_back(line.substr(0, 10));
    return out;
}

const std::vector<std::string> ksfo_klax = {"KSFO", "SFO",  "OSI", "SAPID", "SANTY",
                                            "MOVER", "SNS", "PRB", "RZS",   "KLAX"};

TEST(PlanReaders, EveryTestFileIsReadWithNoWorldData) {
    std::size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(test_data() + "/plans")) {
        SCOPED_TRACE(entry.path().string());
        auto r = planner::parse_plan(slurp(entry.path()), entry.path().string());
        ASSERT_TRUE(r) << r.error();
        if (r->format == planner::PlanFormat::route) EXPECT_FALSE(r->plan.route.empty());
        else EXPECT_GE(r->plan.waypoints.size(), 2u);
        ++files;
    }
    EXPECT_GE(files, 15u);
}

TEST(FlightGearRoutes, AirportsListedAlsoAsPointsAreEachGivenOnce) {
    const planner::FlightPlan p = read(plan_file("ksfo-klax-airports-as-points.fgfp"));
    EXPECT_EQ(idents(p), ksfo_klax);
    EXPECT_EQ(p.departure_runway, "28L");
    EXPECT_EQ(p.arrival_runway, "24R");
    // The FMC's plan ends with the approach to 24R and the airport, never passing it first.
    const std::vector<std::string> records = fmc_points(fmc_text(p));
    ASSERT_GE(records.size(), 4u);
    EXPECT_EQ(records[records.size() - 3], "INT  IF24R");
    EXPECT_EQ(records[records.size() - 2], "INT  FF24R");
    EXPECT_EQ(records.back(), "APT  KLAX ");
    EXPECT_EQ(std::count(records.begin(), records.end(), "APT  KLAX "), 1);

    // Without the departure and destination elements, the flagged points name the airports.
    std::string bare = plan_file("ksfo-klax-airports-as-points.fgfp");
    bare.erase(bare.find("  <departure>"), bare.find("  <cruise>") - bare.find("  <departure>"));
    EXPECT_EQ(idents(read(bare)), ksfo_klax);
}

TEST(FlightGearRoutes, AltitudeRestrictionsAreKeptAndSetTheProfile) {
    const planner::FlightPlan low = read(plan_file("ksfo-ksns-low.fgfp"));
    EXPECT_EQ(low.cruise_altitude_ft, 2500);
    for (const char* ident : {"SFO", "SJC", "MOVER"}) {
        EXPECT_EQ(find(low, ident).altitude_ft, 2500) << ident;
        EXPECT_EQ(find(low, ident).altitude_rule, planner::AltitudeRule::at) << ident;
    }
    std::string note;
    auto fmc = planner::write_plan(world(), low, planner::PlanFormat::fmc, {}, &note);
    ASSERT_TRUE(fmc) << fmc.error();
    EXPECT_NE(fmc->find("CRUISE_ALTITUDE=2500\r\n"), std::string::npos);
    EXPECT_EQ(note, "");
    // To an airport with an ILS, the approach is met at the route's own level.
    std::string to_ils = plan_file("ksfo-ksns-low.fgfp");
    to_ils.replace(to_ils.find("KSNS"), 4, "KSJC");
    to_ils.erase(to_ils.find("    <wp n=\"2\">"), to_ils.find("  </route>") - to_ils.find("    <wp n=\"2\">"));
    const std::string sjc = fmc_text(read(to_ils));
    EXPECT_NE(sjc.find("CRUISE_ALTITUDE=2500\r\n"), std::string::npos);
    EXPECT_NE(sjc.find("INT  FF12R  KSJC 12R FINAL FIX"), std::string::npos);
    EXPECT_EQ(sjc.substr(sjc.find("INT  FF12R") + 75, 5), " 2500");
    // Written again, the restrictions stay.
    const std::string fg = planner::write_fg_route(low);
    EXPECT_NE(fg.find("<alt-restrict type=\"string\">at</alt-restrict>"), std::string::npos);
    EXPECT_EQ(read(fg).cruise_altitude_ft, 2500);

    // "above" and "below" are restrictions too; FlightGear's unset altitude (-9999) is none.
    std::string kinds = plan_file("ksfo-ksns-low.fgfp");
    kinds.replace(kinds.find(">at<"), 4, ">above<");
    kinds.replace(kinds.find(">at<"), 4, ">below<");
    kinds.replace(kinds.find(">2500<", kinds.rfind("MOVER")), 6, ">-9999<");
    const planner::FlightPlan k = read(kinds);
    EXPECT_EQ(find(k, "SFO").altitude_rule, planner::AltitudeRule::at_or_above);
    EXPECT_EQ(find(k, "SJC").altitude_rule, planner::AltitudeRule::at_or_below);
    EXPECT_EQ(find(k, "MOVER").altitude_rule, planner::AltitudeRule::planned);
    EXPECT_EQ(find(k, "MOVER").altitude_ft, 0);
}

TEST(FlightGearRoutes, NumbersOutOfRangeAreRefusedByTheirText) {
    std::string v = plan_file("ksfo-klax.fgfp");
    const std::string huge = "1" + std::string(100, '0');
    v.replace(v.find(">2</version>"), 3, ">" + huge + "<");
    EXPECT_EQ(error_of(v, "v.fgfp"), "v.fgfp:3: route version '10000000000000000000' is not read (1 and 2 are)");
    std::string lat = plan_file("ksfo-klax.fgfp");
    lat.replace(lat.find("37.392500"), 9, huge);
    EXPECT_NE(error_of(lat, "l.fgfp").find("l.fgfp:11: waypoint 'OSI': position out of range"), std::string::npos)
        << error_of(lat, "l.fgfp");
}

TEST(MsfsPlans, RunwaysComeFromThePositionsAndTheProceduresPoints) {
    const planner::FlightPlan p2024 = read(plan_file("ksfo-klax-msfs2024.pln"));
    EXPECT_EQ(p2024.departure_runway, "01R");
    EXPECT_EQ(p2024.arrival_runway, "24L");
    const std::string fmc = fmc_text(p2024);
    EXPECT_NE(fmc.find("RUNWAY=01R/"), std::string::npos);
    EXPECT_NE(fmc.find("RUNWAY=24L/"), std::string::npos);

    const planner::FlightPlan procedures = read(plan_file("ksfo-klax-msfs-procedures.pln"));
    EXPECT_EQ(procedures.departure_runway, "28R");
    EXPECT_EQ(procedures.arrival_runway, "24R");
    EXPECT_EQ(idents(procedures), ksfo_klax);  // the approach's SMO and SAPPI are the planner's to lay
    EXPECT_NE(warnings(procedures).find("skipped the approach's points"), std::string::npos);

    // A runway the airport does not have is refused, never swapped for another.
    std::string wrong = plan_file("ksfo-klax-msfs2024.pln");
    wrong.replace(wrong.find(">01R<"), 5, ">04L<");
    EXPECT_EQ(error_of(wrong, "w.pln"),
              "w.pln:14: KSFO has no runway 04L; its runways are 01L, 01R, 10L, 10R, 19L, 19R, 28L, 28R");
}

TEST(MsfsPlans, Msfs2024PlansWithoutAirportPointsOrPositions) {
    const planner::FlightPlan p = read(plan_file("ksfo-klax-msfs2024.pln"));
    EXPECT_EQ(idents(p), ksfo_klax);  // no TIMECLMB, TIMECRUIS or TIMEDSCNT
    EXPECT_NEAR(find(p, "SANTY").place.at.lat, 36.979239, 1e-5);
    EXPECT_EQ(find(p, "SANTY").airway, "V25");
    EXPECT_EQ(find(p, "PRB").place.type, "VOR");
    EXPECT_EQ(p.cruise_altitude_ft, 31000);
    // A name the world data does not have cannot be placed without a position.
    std::string unknown = plan_file("ksfo-klax-msfs2024.pln");
    unknown.replace(unknown.find(">MOVER<"), 7, ">ZZQQX<");
    EXPECT_NE(error_of(unknown, "u.pln").find(": unknown name 'ZZQQX': the file gives no position"),
              std::string::npos);
}

TEST(SimBriefPlans, TheNavlogsFixesAreTheRoute) {
    const planner::FlightPlan p = read(plan_file("ksfo-klax-simbrief.xml"));
    EXPECT_EQ(idents(p), ksfo_klax);  // V25 filled in between SFO and SNS from the world data
    EXPECT_EQ(find(p, "SANTY").airway, "V25");

    // A fix newer than the data, on an airway the data does not have, at the navlog's position.
    std::string newer = plan_file("ksfo-klax-simbrief.xml");
    newer.replace(newer.find("<ident>PRB</ident>"), 18, "<ident>NEWFX</ident>");
    newer.replace(newer.find("<pos_lat>35.672472"), 18, "<pos_lat>35.972472");
    newer.replace(newer.find("<via_airway>V25</via_airway><is_sid_star>0</is_sid_star>\n      <pos_lat>36.66"), 27,
                  "<via_airway>Q999</via_airway>");
    const planner::FlightPlan n = read(newer);
    EXPECT_EQ(idents(n), (std::vector<std::string>{"KSFO", "SFO", "SNS", "NEWFX", "RZS", "KLAX"}));
    EXPECT_NEAR(find(n, "NEWFX").place.at.lat, 35.972472, 1e-9);
    EXPECT_EQ(find(n, "SNS").airway, "Q999");
    EXPECT_NE(warnings(n).find("kept at the file's positions: NEWFX"), std::string::npos) << warnings(n);
    EXPECT_NE(warnings(n).find("flown direct: Q999 SFO-SNS"), std::string::npos) << warnings(n);
    EXPECT_TRUE(planner::write_plan(world(), n, planner::PlanFormat::fmc, {}));
}

TEST(FmsPlans, Version3MayStartAtAPointOfTheUsersOwn) {
    const planner::FlightPlan p = read(plan_file("ksfo-klax-user-start-v3.fms"));
    EXPECT_EQ(idents(p), (std::vector<std::string>{"KSFO", "START", "SFO", "OSI", "SNS", "PRB", "RZS", "KLAX"}));
    EXPECT_NE(warnings(p).find("the plan starts at 'START', not at an airport: departing from KSFO"),
              std::string::npos);
    std::string far = plan_file("ksfo-klax-user-start-v3.fms");
    far.replace(far.find("37.611000 -122.390000"), 21, "30.000000 -140.000000");
    EXPECT_EQ(error_of(far, "f.fms"),
              "f.fms:5: the plan must start at an airport: 'START' is not one, and no airport lies within 30.0 nm of it");
}

TEST(Runways, ARenumberedRunwayIsTakenWithAWarningElseTheErrorListsThem) {
    const planner::FlightPlan p = read("KSFO/29R SFO KLAX/24R");
    EXPECT_EQ(p.departure_runway, "28R");
    EXPECT_NE(warnings(p).find("runway 29R of KSFO is 28R in the world data (renumbered): taken as 28R"),
              std::string::npos);
    std::string fg = plan_file("ksfo-klax-airports-as-points.fgfp");
    fg.replace(fg.find(">28L<"), 5, ">27L<");
    EXPECT_EQ(read(fg).departure_runway, "28L");
    // Two numbers apart, or no end within 20 degrees of the named direction: refused.
    EXPECT_EQ(error_of("KSFO/30R SFO KLAX", "r"),
              "r:1: 'KSFO/30R': KSFO has no runway 30R; its runways are 01L, 01R, 10L, 10R, 19L, 19R, 28L, 28R");
    fg.replace(fg.find(">24R<"), 5, ">22R<");
    EXPECT_EQ(error_of(fg, "g.fgfp"),
              "g.fgfp:12: KLAX has no runway 22R; its runways are 06L, 06R, 07L, 07R, 24L, 24R, 25L, 25R");
    // Between parallels, the side letter must agree: 27 names neither 28L nor 28R.
    EXPECT_NE(error_of("KSFO/27 SFO KLAX", "s").find("KSFO has no runway 27;"), std::string::npos);
}

TEST(UserPoints, KeepTheirNamesAndNoTwoPointsShareAnIdentInTheFmcPlan) {
    const planner::FlightPlan p = read(plan_file("ksfo-klax-user-points.fms"));
    EXPECT_EQ(idents(p), (std::vector<std::string>{"KSFO", "RW28R", "D0", "OSI", "W-3515", "W-3516", "36N121W",
                                                   "SNS13", "KLAX"}));
    const std::string fmc = fmc_text(p);
    std::vector<std::string> records = fmc_points(fmc);
    std::sort(records.begin(), records.end());
    EXPECT_EQ(std::adjacent_find(records.begin(), records.end()), records.end());
    EXPECT_NE(fmc.find("INT  W3515  W-3515"), std::string::npos);
    EXPECT_NE(fmc.find("INT  36N21  36N121W"), std::string::npos);
    // Read back, the names come back whole.
    const planner::FlightPlan back = read(fmc);
    for (const char* name : {"RW28R", "D0", "W-3515", "W-3516", "36N121W", "SNS13"}) EXPECT_NO_THROW(find(back, name));

    // Names that shorten alike are numbered apart.
    std::string alike = plan_file("ksfo-klax-user-points.fms");
    alike.replace(alike.find("W-3515"), 6, "ALPHA1");
    alike.replace(alike.find("W-3516"), 6, "ALPHA2");
    records = fmc_points(fmc_text(read(alike)));
    EXPECT_NE(std::find(records.begin(), records.end(), "INT  ALPHA"), records.end());
    EXPECT_NE(std::find(records.begin(), records.end(), "INT  ALPH1"), records.end());
}

TEST(FmsWriter, EachPointAtItsOwnAltitude) {
    const planner::FlightPlan p = read(plan_file("ksfo-klax.fgfp"));  // SANTY restricted to 22,000 ft
    auto fms = planner::write_plan(world(), p, planner::PlanFormat::fms, {});
    ASSERT_TRUE(fms);
    EXPECT_NE(fms->find("11 SANTY DRCT 22000.000000"), std::string::npos) << *fms;
    EXPECT_NE(fms->find("3 OSI V25 7859.000000"), std::string::npos) << *fms;  // the climb's level there
    EXPECT_NE(fms->find("3 PRB DRCT 33000.000000"), std::string::npos) << *fms;
}

TEST(Fs2004Plans, BothFormsAreRead) {
    const planner::FlightPlan own = read(plan_file("ksfo-klax-fs9.pln"), "fs9.pln");
    EXPECT_EQ(idents(own), ksfo_klax);
    EXPECT_EQ(find(own, "SANTY").airway, "V25");
    EXPECT_EQ(find(own, "SANTY").place.type, "INT");
    EXPECT_EQ(find(own, "SNS").place.name, "SALINAS VORTAC");
    EXPECT_EQ(own.departure_runway, "28R");
    EXPECT_EQ(own.cruise_altitude_ft, 33000);
    const planner::FlightPlan shortened = read(plan_file("ksfo-klax-fs9-short.pln"), "short.pln");
    EXPECT_EQ(idents(shortened), ksfo_klax);
    EXPECT_EQ(shortened.departure_runway, "");  // GATE 12 is a parking place
    EXPECT_EQ(shortened.cruise_altitude_ft, 35000);

    std::string bad = plan_file("ksfo-klax-fs9.pln");
    bad.replace(bad.find("N36* 58.75'"), 11, "N36* 75.00'");
    EXPECT_EQ(error_of(bad, "b.pln"), "b.pln:17: waypoint 'SANTY': no position ('N37* 37.13'', 'W122* 22.52'')");
    std::string twice = plan_file("ksfo-klax-fs9.pln");
    twice.replace(twice.find("waypoint.3="), 11, "waypoint.2=");
    EXPECT_EQ(error_of(twice, "t.pln"), "t.pln:16: 'waypoint.2' is given twice");
}

// The final approach fix is met level at or below the glide slope, whatever the slope's angle, so
// that the beam comes down to the aircraft; 3,000 ft above the field where the slope is higher.
TEST(Approaches, TheFinalFixLiesAtOrBelowTheGlideSlope) {
    struct Case {
        const char* airport;
        const char* runway;
    };
    for (const Case c : {Case{"CYBC", "10"}, Case{"CYHZ", "23"}, Case{"KSFO", "28R"}, Case{"BIRK", "19"},
                         Case{"CYSJ", "23"}, Case{"BIAR", "01"}, Case{"KDEN", "16R"}, Case{"LFPG", "08R"}}) {
        SCOPED_TRACE(std::string(c.airport) + " " + c.runway);
        const auto airport = planner::airport_place(world(), c.airport);
        ASSERT_TRUE(airport);
        const auto end = planner::named_runway_end(world(), *airport->airport, c.runway);
        ASSERT_TRUE(end);
        const auto points = planner::approach_points(world(), *airport->airport, *end);
        ASSERT_EQ(points.size(), 2u);
        const auto* gs = world().glide_slope(c.airport, c.runway);
        ASSERT_NE(gs, nullptr);
        const double field = airport->airport->elevation_ft;
        const double slope_at_fix = field + planner::threshold_crossing_ft +
                                    planner::final_fix_nm * sim::feet_per_nm *
                                        std::tan(gs->glide_angle * sim::degrees_to_radians);
        for (const auto& p : points) {
            EXPECT_LE(p.fixed_altitude_ft, slope_at_fix) << p.ident;
            EXPECT_LE(p.fixed_altitude_ft, field + planner::final_fix_height_ft + 50) << p.ident;
            EXPECT_GE(p.fixed_altitude_ft, std::min(field + planner::final_fix_height_ft - 50, slope_at_fix - 100))
                << p.ident;
        }
    }
}

// An arrival whose runway the route's direction chooses lands where an ILS is, so that the
// approach mode can land it: Detroit from Chicago (09L nearest the way in has none), Salt Lake
// City from Denver (32 has none), Portland from Seattle (21's has no glide slope).
TEST(Approaches, AnArrivalByTheRoutesDirectionTakesARunwayWithAnIls) {
    for (const char* route : {"KORD KDTW", "KDEN KSLC", "KSFO KSEA", "KBOS KJFK", "KSEA KPDX"}) {
        SCOPED_TRACE(route);
        const std::string fmc = fmc_text(read(route));
        const std::size_t arrival = fmc.find("[ARRIVAL]");
        std::string runway = fmc.substr(fmc.find("RUNWAY=", arrival) + 7, 3);
        runway = runway.substr(0, runway.find(' '));
        const auto airport = planner::airport_place(world(), std::string(route).substr(5));
        const auto end = planner::named_runway_end(world(), *airport->airport, runway);
        ASSERT_TRUE(end) << runway;
        EXPECT_TRUE(planner::landing_ils(world(), *airport->airport, *end)) << runway;
        EXPECT_NE(fmc.find("INT  IF"), std::string::npos) << "the approach to it";
    }
    // What the approach mode flies only laterally is no ILS to land on: Portland 21's localizer
    // has no glide slope, Salt Lake City 34L's runs beside the runway, San Francisco 28R's LDA.
    for (auto [icao, runway, lands] : {std::tuple{"KPDX", "21", false}, std::tuple{"KSLC", "34L", false},
                                       std::tuple{"KSLC", "34R", true}, std::tuple{"KLAX", "24R", true}}) {
        const auto airport = planner::airport_place(world(), icao);
        const auto end = planner::named_runway_end(world(), *airport->airport, runway);
        ASSERT_TRUE(end);
        EXPECT_EQ(planner::landing_ils(world(), *airport->airport, *end), lands) << icao << " " << runway;
    }
}

}  // namespace
