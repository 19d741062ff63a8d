// The route planner against small extracts of the world data: routes resolved, distances and
// courses, the profile, the .pln columns, and errors that name their word.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "flightplan/formats/route_text.h"
#include "flightplan/planning/plan.h"
#include "flightplan/planning/pln_writer.h"
#include "worlddata/xplane.h"

namespace {

std::string data_dir() {
    const char* d = std::getenv("PANEL_TEST_DATA");
    return std::string(d ? d : "tests/data") + "/navdata";
}

const planner::NavDb& db() {
    static const planner::NavDb loaded = [] {
        auto d = planner::NavDb::load(data_dir());
        if (!d) throw std::runtime_error(d.error());
        return std::move(d).value();
    }();
    return loaded;
}

planner::Plan plan(const std::string& route, planner::Performance perf = {}) {
    auto p = planner::make_plan(db(), {route, data_dir(), perf, std::nullopt});
    if (!p) throw std::runtime_error(p.error());
    return std::move(p).value();
}

std::string error_of(const std::string& route) {
    auto p = planner::make_plan(db(), {route, data_dir(), {}, std::nullopt});
    return p ? std::string("(no error)") : p.error();
}

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = text.find("\r\n", at);
        if (end == std::string::npos) {
            lines.push_back(text.substr(at) + "<no CR LF>");
            break;
        }
        lines.push_back(text.substr(at, end - at));
        at = end + 2;
    }
    return lines;
}

const planner::PlanPoint& point(const planner::Plan& p, const std::string& ident) {
    for (const auto& x : p.profile.points)
        if (x.place.ident == ident) return x;
    throw std::runtime_error("no point " + ident);
}

}  // namespace

TEST(Planner, KnownRouteDistancesAndCourses) {
    const planner::Plan p = plan("KSFO SFO V25 SNS PRB RZS KLAX");
    std::vector<std::string> idents;
    for (const auto& x : p.profile.points) idents.push_back(x.place.ident);
    const std::vector<std::string> expected = {"KSFO", "SFO", "OSI", "SAPID", "SANTY", "MOVER", "SNS", "*****", "PRB",
                                               "*****", "RZS", "IF06R", "FF06R", "KLAX"};
    EXPECT_EQ(idents, expected) << "V25 from SFO to SNS through its fixes, then TOC and TOD, and the approach to 06R";
    const auto& sfo = point(p, "SFO");
    const auto& osi = point(p, "OSI");
    EXPECT_NEAR(osi.distance_nm - sfo.distance_nm, 14.3, 0.1);  // 13.6 NM south, 4.4 NM east
    EXPECT_NEAR(osi.course_deg, 162.0, 0.5);
    EXPECT_EQ(osi.place.type, "VOR");
    EXPECT_EQ(point(p, "SAPID").place.type, "INT");
    EXPECT_NEAR(point(p, "PRB").distance_nm - point(p, "SNS").distance_nm, 75.9, 0.5);
    EXPECT_NEAR(point(p, "RZS").distance_nm + sim::distance_nm(point(p, "RZS").place.at, point(p, "KLAX").place.at), 303.7, 0.5);
    for (std::size_t i = 1; i < p.profile.points.size(); ++i) {
        EXPECT_GE(p.profile.points[i].distance_nm, p.profile.points[i - 1].distance_nm);
        EXPECT_GE(p.profile.points[i].minutes, p.profile.points[i - 1].minutes);
    }
}

TEST(Planner, ProfilePlacesTopOfClimbAndDescent) {
    planner::Performance perf;
    perf.cruise_altitude_ft = 24000, perf.climb_rate_fpm = 2000, perf.climb_speed_kt = 250;
    perf.descent_rate_fpm = 1500, perf.descent_speed_kt = 260, perf.cruise_speed = 300;
    const planner::Plan p = plan("KSFO SFO V25 SNS PRB RZS KLAX", perf);
    const planner::PlanPoint* toc = nullptr;
    const planner::PlanPoint* tod = nullptr;
    for (const auto& x : p.profile.points) {
        if (x.place.type == "TOC") toc = &x;
        if (x.place.type == "TOD") tod = &x;
    }
    ASSERT_TRUE(toc && tod);
    // 23987 ft at 2000 fpm is 12 minutes at the true airspeed of 12006 ft: 250 x 1.24 kt.
    const double climb_nm = (24000.0 - 13.0) / 2000.0 / 60.0 * 250.0 * (1 + 0.02 * 12006.5 / 1000.0);
    const double climb_low_nm = (10000.0 - 13.0) / 2000.0 / 60.0 * 250.0 * (1 + 0.02 * 5006.5 / 1000.0);
    EXPECT_NEAR(toc->distance_nm, climb_nm, 0.01);
    EXPECT_NEAR(toc->minutes, (24000.0 - 13.0) / 2000.0, 0.01);
    EXPECT_EQ(toc->altitude_ft, 24000);
    // The descent ends at the approach's intercept point (3100 ft), at 260 kt and below 10,000 ft at 250.
    const double end = point(p, "IF06R").distance_nm;
    const double descent_nm = (24000.0 - 10000.0) / 1500.0 / 60.0 * 260.0 * (1 + 0.02 * 17000.0 / 1000.0) +
                              (10000.0 - 3100.0) / 1500.0 / 60.0 * 250.0 * (1 + 0.02 * 6550.0 / 1000.0);
    EXPECT_NEAR(end - tod->distance_nm, descent_nm, 0.01);
    const auto& osi = point(p, "OSI");
    EXPECT_NEAR(osi.altitude_ft, 13 + (10000 - 13) * osi.distance_nm / climb_low_nm, 1.0) << "on the climb line";
    EXPECT_EQ(point(p, "PRB").altitude_ft, 24000);
    EXPECT_EQ(p.profile.points.front().altitude_ft, 13);
    EXPECT_EQ(p.profile.points.back().altitude_ft, 126);
}

TEST(Planner, TooShortForTheCruiseAltitudeFliesLower) {
    planner::Performance perf;
    perf.cruise_altitude_ft = 37000;
    const planner::Plan p = plan("KSFO SFO KSNS", perf);
    EXPECT_LT(p.profile.cruise_altitude_ft, 37000);
    EXPECT_EQ(p.profile.cruise_altitude_ft % 100, 0);
    EXPECT_NE(p.note.find("37000"), std::string::npos);
    EXPECT_NE(p.text.find("CRUISE_ALTITUDE=" + std::to_string(p.profile.cruise_altitude_ft) + "\r\n"), std::string::npos);
}

TEST(Planner, ErrorsNameTheWord) {
    EXPECT_EQ(error_of("KSFO FOO KLAX"), "unknown name 'FOO'");
    EXPECT_EQ(error_of("KSFO SFO V999X SNS KLAX"), "unknown name 'V999X'");
    EXPECT_EQ(error_of("KSFO SFO V25 ZZGBP KLAX"), "'ZZGBP' is not on airway V25");
    EXPECT_EQ(error_of("KSFO SFO V999 ZZGBP KLAX"), "'SFO' is not on airway V999");
    EXPECT_EQ(error_of("KSFO ZZGAP V999 ZZGDP KLAX"), "airway V999 does not lead from ZZGAP to 'ZZGDP'");
    EXPECT_EQ(error_of("KSFO SFO V25"), "airway V25 needs a point after it");
    EXPECT_EQ(error_of("SFO KLAX"), "the route must start at an airport, not 'SFO'");
    EXPECT_EQ(error_of("KSFO SNS"), "the route must end at an airport, not 'SNS'");
    EXPECT_EQ(error_of("KSFO"), "a route needs a departure and an arrival airport");
}

TEST(PlnLayout, RecordsInTheirColumns) {
    const planner::Plan p = plan("ksfo sfo v25 sns klax");
    const auto lines = lines_of(p.text);
    ASSERT_GE(lines.size(), 15u);
    const std::vector<std::string> head(lines.begin(), lines.begin() + 14);
    EXPECT_EQ(head[0], "[DEPARTURE]");
    EXPECT_EQ(head[1], "AIRPORT=KSFO");
    EXPECT_EQ(head[3], "[ARRIVAL]");
    EXPECT_EQ(head[4], "AIRPORT=KLAX");
    EXPECT_EQ(head[6], "AIRCRAFT=MD-80");
    EXPECT_EQ(head[7], "CRUISE_SPEED=0.76");
    EXPECT_EQ(head[13], "[WAYPOINTS]");
    // RUNWAY=: designator (3), "/" at 3, heading (3), "/" at 7, length (5).
    const std::string rwy = head[2].substr(7);
    ASSERT_EQ(rwy.size(), 13u) << rwy;
    EXPECT_EQ(rwy[3], '/');
    EXPECT_EQ(rwy[7], '/');
    EXPECT_EQ(rwy.substr(0, 3), "10L") << "of the runways toward OSI, the longer of the parallels";
    for (std::size_t i = 14; i < lines.size(); ++i) ASSERT_EQ(lines[i].size(), planner::pln_record_length) << lines[i];
    const std::string& sfo = lines[15];
    EXPECT_EQ(sfo.substr(0, 5), "VOR  ");
    EXPECT_EQ(sfo.substr(5, 5), "SFO  ");
    EXPECT_EQ(sfo.substr(10, 2), "  ");
    EXPECT_EQ(sfo.substr(12, 25), "SAN FRANCISCO VOR-DME    ");
    EXPECT_EQ(sfo.substr(38, 6), "115.80");
    EXPECT_EQ(sfo.substr(46, 14), "N37 37 10.10  ");
    EXPECT_EQ(sfo.substr(60, 14), "W122 22 26.00 ");
    EXPECT_EQ(sfo.substr(75, 5), "   52");
    EXPECT_EQ(sfo.substr(82, 3), "048");
    EXPECT_EQ(sfo.substr(87, 8), "    0.1 ") << "the distance ends before the hours at 95";
    EXPECT_EQ(sfo.substr(95, 5), "00:00");
    const std::string& dep = lines[14];
    EXPECT_EQ(dep.substr(0, 10), "APT  KSFO ");
    EXPECT_EQ(dep.substr(38, 6), "000.00");
    const std::string& toc = lines[lines.size() - 5];
    EXPECT_EQ(toc.substr(0, 10), "TOC  *****");
    // Read back as the FMC and the display read it.
    const auto route = planner::parse_route_text(p.text);
    ASSERT_EQ(route.size(), lines.size() - 14);
    EXPECT_NEAR(route[1].at.lat, 37.61947222, 1.0 / 360000);
    EXPECT_NEAR(route[1].at.lon, -122.37388889, 1.0 / 360000);
    EXPECT_EQ(route.back().ident, "KLAX");
    const auto runways = planner::parse_plan_runways(p.text);
    EXPECT_EQ(runways.departure, "10L");
    EXPECT_EQ(runways.arrival, head[5].substr(7, head[5].find('/') - 7));
}

TEST(PlnLayout, RunwaysReadBackSectionBySection) {
    struct Case {
        const char* what;
        std::string text;
        std::string departure, arrival;
    };
    const std::vector<Case> cases = {
        {"both, padded to three", "[DEPARTURE]\r\nAIRPORT=KAAA\r\nRUNWAY=09 /090/08000\r\n[ARRIVAL]\r\nAIRPORT=KBBB\r\n"
                                  "RUNWAY=27L/270/09000\r\n[WAYPOINTS]\r\n", "09", "27L"},
        {"the arrival's runway is not the departure's", "[DEPARTURE]\r\nAIRPORT=KAAA\r\n[ARRIVAL]\r\nAIRPORT=KBBB\r\n"
                                                        "RUNWAY=27L/270/09000\r\n[WAYPOINTS]\r\n", "", "27L"},
        {"a record's text is not the arrival's runway", "[DEPARTURE]\r\nRUNWAY=01R/010/09000\r\n[ARRIVAL]\r\n[WAYPOINTS]\r\n"
                                                        "INT  RUNWAY=5 ...", "01R", ""},
        {"line ends of the published copy", std::string("[DEPARTURE]\nRUNWAY=18\0\n[ARRIVAL]\nRUNWAY=36C", 43), "18", "36C"},
        {"no sections", "RUNWAY=09/090/08000\r\n", "", ""},
    };
    for (const Case& c : cases) {
        const auto r = planner::parse_plan_runways(c.text);
        EXPECT_EQ(r.departure, c.departure) << c.what;
        EXPECT_EQ(r.arrival, c.arrival) << c.what;
    }
}

TEST(PlnLayout, AcrossTheDateLineAndSouthOfTheEquator) {
    std::vector<worlddata::Airport> airports(2);
    airports[0].icao = "WEST", airports[0].lat = -10.5, airports[0].lon = 179.5, airports[0].ends = {{"09", -10.5, 179.49}, {"27", -10.5, 179.51}};
    airports[1].icao = "EAST", airports[1].lat = -10.5, airports[1].lon = -179.5, airports[1].ends = {{"09", -10.5, -179.51}, {"27", -10.5, -179.49}};
    planner::NavDb small(airports, {}, {}, {});
    planner::Performance perf;
    perf.cruise_altitude_ft = 5000;
    auto p = planner::make_plan(small, {"WEST EAST", "", perf, std::nullopt});
    ASSERT_TRUE(p) << p.error();
    const auto lines = lines_of(p->text);
    EXPECT_EQ(lines[2], "RUNWAY=09 /090/07170");
    const std::string& east = lines.back();
    EXPECT_EQ(east.substr(46, 14), "S10 30 00.00  ");
    EXPECT_EQ(east.substr(60, 14), "W179 30 00.00 ");
    EXPECT_EQ(east.substr(82, 3), "090");
    EXPECT_NEAR(std::stod(east.substr(87, 8)), 60.0 * std::cos(10.5 * M_PI / 180), 0.1);
}

TEST(PlanFile, WrittenWholeOrNotAtAll) {
    const auto dir = std::filesystem::temp_directory_path() / "planner_tests";
    std::filesystem::create_directories(dir);
    const auto path = (dir / "KSFO-KSNS.pln").string();
    ASSERT_FALSE(planner::write_plan_file(path, "text\r\n"));
    std::ifstream f(path, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    EXPECT_EQ(s.str(), "text\r\n");
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
    EXPECT_TRUE(planner::write_plan_file((dir / "no-such-folder" / "x.pln").string(), "x"));
}

// The profile as an airliner flies it, from runway to runway: the runways the route names, 250 kt
// or less below 10,000 ft both ways, 210 kt over the last miles of the descent, and the approach
// to the ILS runway on its extended centre line with the final fix crossed at its altitude.
TEST(Planner, AirlinerProfileFromRunwayToRunway) {
    const planner::Plan p = plan("KSFO/28R SFO V25 SNS PRB RZS KLAX/24L");
    const auto lines = lines_of(p.text);
    EXPECT_EQ(lines[2].substr(0, 11), "RUNWAY=28R/");
    EXPECT_EQ(lines[5].substr(0, 11), "RUNWAY=24L/");
    EXPECT_EQ(lines[11], "CLIMB_SPEED=250");
    EXPECT_EQ(lines[12], "DESCENT_SPEED=250");

    const auto& pts = p.profile.points;
    ASSERT_GE(pts.size(), 4u);
    const auto& klax = pts.back();
    const auto& faf = pts[pts.size() - 2];
    const auto& ifix = pts[pts.size() - 3];
    EXPECT_EQ(ifix.place.ident, "IF24L");
    EXPECT_EQ(faf.place.ident, "FF24L");
    // On the localizer's extended centre line (IHQB, 262.898 true), 16 and 10 NM out.
    const sim::LatLon threshold{33.95021290, -118.40171201};
    EXPECT_NEAR(sim::distance_nm(threshold, faf.place.at), 10.0, 0.01);
    EXPECT_NEAR(sim::distance_nm(threshold, ifix.place.at), 16.0, 0.01);
    EXPECT_NEAR(sim::course_deg(faf.place.at, threshold), 262.9, 0.25);
    EXPECT_NEAR(sim::course_deg(ifix.place.at, faf.place.at), 262.9, 0.25);
    EXPECT_EQ(faf.altitude_ft, 3100) << "3000 ft above the field (126 ft), to the hundred";
    EXPECT_EQ(ifix.altitude_ft, 3100) << "level to the final fix: the glide slope is met from below";
    EXPECT_EQ(ifix.speed_kt, 210);
    EXPECT_LE(faf.speed_kt, 180);
    EXPECT_EQ(klax.altitude_ft, 126);

    bool climbing = true;
    for (std::size_t i = 1; i < pts.size(); ++i) {
        const auto& x = pts[i];
        SCOPED_TRACE(x.place.type + " " + x.place.ident);
        if (x.place.type == "TOC") climbing = false;
        if (x.altitude_ft < 10000) {
            EXPECT_LE(x.speed_kt, 250);
        }
        if (climbing) {
            EXPECT_GE(x.altitude_ft, pts[i - 1].altitude_ft);
        } else if (x.place.type != "TOC") {
            EXPECT_LE(x.altitude_ft, pts[i - 1].altitude_ft);
        }
        EXPECT_GT(x.minutes, pts[i - 1].minutes);
        // Slowed to the approach's entry speed over the last 10 NM of the descent.
        if (i + 3 < pts.size() && ifix.distance_nm - x.distance_nm <= planner::deceleration_nm) {
            EXPECT_LE(x.speed_kt, 210);
        }
    }
    EXPECT_GT(point(p, "PRB").speed_kt, 250) << "the descent speed above 10,000 ft";
}

TEST(Planner, RunwaysFromTheWindOrTheWayInAndOut) {
    auto arrival_runway = [](const planner::Plan& p) { return lines_of(p.text)[5].substr(7, 3); };
    auto departure_runway = [](const planner::Plan& p) { return lines_of(p.text)[2].substr(7, 3); };
    // No wind: by the way in from the north-west, an 06 or 07 runway, the one with an ILS (06R).
    const planner::Plan still = plan("KSFO SFO V25 SNS PRB RZS KLAX");
    EXPECT_EQ(arrival_runway(still), "06R");
    EXPECT_EQ(point(still, "FF06R").altitude_ft, 3100);
    // A westerly wind turns both ends into it: 28 at San Francisco, 24L (with its ILS) at Los Angeles.
    auto west = planner::make_plan(db(), {"KSFO SFO V25 SNS PRB RZS KLAX", data_dir(), {}, planner::Wind{260, 15}});
    ASSERT_TRUE(west) << west.error();
    EXPECT_EQ(arrival_runway(*west), "24L");
    EXPECT_EQ(departure_runway(*west).substr(0, 2), "28");
    // A runway the route names wins over the wind; one the airport lacks is an error naming it.
    auto named = planner::make_plan(db(), {"KSFO/01L SFO V25 SNS PRB RZS KLAX/24R", data_dir(), {}, planner::Wind{260, 15}});
    ASSERT_TRUE(named) << named.error();
    EXPECT_EQ(departure_runway(*named), "01L");
    EXPECT_EQ(arrival_runway(*named), "24R");
    EXPECT_EQ(point(*named, "KLAX").distance_nm, named->profile.points.back().distance_nm);
    EXPECT_EQ(error_of("KSFO SFO V25 SNS PRB RZS KLAX/24X"), "KLAX has no runway '24X' (in 'KLAX/24X')");
}

TEST(Routeplan, TheWindIsRangeCheckedAndItsFaultNamed) {
    // The real program: what it prints on standard error for each --wind.
    auto stderr_of = [](const std::string& wind) {
        const auto err = std::filesystem::temp_directory_path() / ("routeplan_wind_" + std::to_string(getpid()) + ".err");
        const std::string cmd = std::string(ROUTEPLAN_BIN) + " --data " + data_dir() + " --wind '" + wind +
                                "' KSFO SFO V25 SNS PRB RZS KLAX >/dev/null 2>" + err.string();
        const int rc = std::system(cmd.c_str());
        std::ifstream f(err);
        std::stringstream s;
        s << f.rdbuf();
        return std::make_pair(rc, s.str());
    };
    const auto [ok_rc, ok_text] = stderr_of("250/200");
    EXPECT_EQ(ok_rc, 0) << ok_text;
    const auto [speed_rc, speed] = stderr_of("250/201");
    EXPECT_NE(speed_rc, 0);
    EXPECT_NE(speed.find("--wind speed '201' is not 0 to 200 kt"), std::string::npos) << speed;
    const auto [dir_rc, dir] = stderr_of("361/10");
    EXPECT_NE(dir_rc, 0);
    EXPECT_NE(dir.find("--wind direction '361' is not 0 to 360 degrees"), std::string::npos) << dir;
    EXPECT_NE(stderr_of("-5/10").second.find("direction '-5'"), std::string::npos);
    EXPECT_NE(stderr_of("250/x").second.find("speed 'x'"), std::string::npos);
    EXPECT_NE(stderr_of("250").second.find("DIR/KT"), std::string::npos);
}
