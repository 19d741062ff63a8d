// The route planner against small extracts of the world data: routes resolved, distances and
// courses, the profile, the .pln columns, and errors that name their word.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "sim/navdata/data_file.h"
#include "sim/navdata/xplane.h"
#include "sim/route_text.h"
#include "tools/planner/plan.h"
#include "tools/planner/pln_writer.h"

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
    auto p = planner::make_plan(db(), {route, data_dir(), perf});
    if (!p) throw std::runtime_error(p.error());
    return std::move(p).value();
}

std::string error_of(const std::string& route) {
    auto p = planner::make_plan(db(), {route, data_dir(), {}});
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

TEST(WorldData, ParsersTakeGoodRowsAndSkipDamagedOnes) {
    navdata::ParseStats nav_stats, apt_stats, awy_stats, fix_stats;
    const auto nav = navdata::parse_nav(*navdata::read_data_file(data_dir() + "/nav.dat"), &nav_stats);
    const auto apt = navdata::parse_apt(*navdata::read_data_file(data_dir() + "/apt.dat"), &apt_stats);
    const auto awy = navdata::parse_awy(*navdata::read_data_file(data_dir() + "/awy.dat"), &awy_stats);
    const auto fix = navdata::parse_fix(*navdata::read_data_file(data_dir() + "/fix.dat"), &fix_stats);
    EXPECT_EQ(nav_stats.skipped, 1u);
    EXPECT_EQ(awy_stats.skipped, 1u);
    EXPECT_EQ(fix_stats.skipped, 1u);
    EXPECT_EQ(apt_stats.skipped, 1u) << "the airport row without its fields; the heliport's rows are not read at all";
    ASSERT_EQ(apt.size(), 3u);
    const auto sfo = std::find_if(nav.begin(), nav.end(), [](const auto& n) { return n.ident == "SFO" && n.kind == 3; });
    ASSERT_NE(sfo, nav.end());
    EXPECT_DOUBLE_EQ(sfo->frequency, 115.80);
    EXPECT_EQ(sfo->variation, 17.0);
    EXPECT_EQ(sfo->name, "SAN FRANCISCO VOR-DME");
    const auto ksfo = std::find_if(apt.begin(), apt.end(), [](const auto& a) { return a.icao == "KSFO"; });
    ASSERT_NE(ksfo, apt.end());
    EXPECT_EQ(ksfo->elevation_ft, 13);
    EXPECT_NEAR(ksfo->lat, 37.62, 0.01);
    EXPECT_NEAR(ksfo->lon, -122.375, 0.01);
    EXPECT_FALSE(awy.empty());
    EXPECT_FALSE(fix.empty());
}

TEST(WorldData, ShortAndDamagedFilesAreReadWithinTheirBounds) {
    EXPECT_TRUE(navdata::parse_nav("").empty());
    EXPECT_TRUE(navdata::parse_nav("I\n810 Version\n3  37.6").empty());
    EXPECT_TRUE(navdata::parse_apt("I\n1000 Version\n100 1 2 3\n1").empty());
    const auto fixes = navdata::parse_fix("I\n600\n 95.0 10.0 BADLT\n 10.0 10.0 GOODX");
    ASSERT_EQ(fixes.size(), 1u) << "a latitude beyond the pole is rejected; the last line needs no line end";
    EXPECT_EQ(fixes[0].ident, "GOODX");
    EXPECT_FALSE(navdata::read_data_file(data_dir() + "/none.dat"));
}

TEST(Planner, KnownRouteDistancesAndCourses) {
    const planner::Plan p = plan("KSFO SFO V25 SNS PRB RZS KLAX");
    std::vector<std::string> idents;
    for (const auto& x : p.profile.points) idents.push_back(x.place.ident);
    const std::vector<std::string> expected = {"KSFO", "SFO", "OSI", "SAPID", "SANTY", "MOVER", "SNS", "*****", "PRB", "*****", "RZS", "KLAX"};
    EXPECT_EQ(idents, expected) << "V25 from SFO to SNS through its fixes, then TOC and TOD";
    const auto& sfo = point(p, "SFO");
    const auto& osi = point(p, "OSI");
    EXPECT_NEAR(osi.distance_nm - sfo.distance_nm, 14.3, 0.1);  // 13.6 NM south, 4.4 NM east
    EXPECT_NEAR(osi.course_deg, 162.0, 0.5);
    EXPECT_EQ(osi.place.type, "VOR");
    EXPECT_EQ(point(p, "SAPID").place.type, "INT");
    EXPECT_NEAR(point(p, "PRB").distance_nm - point(p, "SNS").distance_nm, 75.9, 0.5);
    EXPECT_NEAR(point(p, "KLAX").distance_nm, 303.7, 0.5);
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
    EXPECT_NEAR(toc->distance_nm, climb_nm, 0.01);
    EXPECT_NEAR(toc->minutes, (24000.0 - 13.0) / 2000.0, 0.01);
    EXPECT_EQ(toc->altitude_ft, 24000);
    const double total = p.profile.points.back().distance_nm;
    const double descent_nm = (24000.0 - 126.0) / 1500.0 / 60.0 * 260.0 * (1 + 0.02 * 12063.0 / 1000.0);
    EXPECT_NEAR(total - tod->distance_nm, descent_nm, 0.01);
    const auto& osi = point(p, "OSI");
    EXPECT_NEAR(osi.altitude_ft, 13 + (24000 - 13) * osi.distance_nm / climb_nm, 1.0) << "on the climb line";
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
    EXPECT_EQ(rwy.substr(0, 3), "10R") << "the runway nearest the way out, toward OSI";
    for (std::size_t i = 14; i < lines.size(); ++i) ASSERT_EQ(lines[i].size(), planner::pln_record_length) << lines[i];
    const std::string& sfo = lines[15];
    EXPECT_EQ(sfo.substr(0, 5), "VOR  ");
    EXPECT_EQ(sfo.substr(5, 5), "SFO  ");
    EXPECT_EQ(sfo.substr(10, 2), "  ");
    EXPECT_EQ(sfo.substr(12, 25), "SAN FRANCISCO VOR-DME    ");
    EXPECT_EQ(sfo.substr(38, 6), "115.80");
    EXPECT_EQ(sfo.substr(46, 14), "N37 37 10.10  ");
    EXPECT_EQ(sfo.substr(60, 14), "W122 22 26.00 ");
    EXPECT_EQ(sfo.substr(75, 5), "   42");
    EXPECT_EQ(sfo.substr(82, 3), "048");
    EXPECT_EQ(sfo.substr(87, 8), "    0.1 ") << "the distance ends before the hours at 95";
    EXPECT_EQ(sfo.substr(95, 5), "00:00");
    const std::string& dep = lines[14];
    EXPECT_EQ(dep.substr(0, 10), "APT  KSFO ");
    EXPECT_EQ(dep.substr(38, 6), "000.00");
    const std::string& toc = lines[lines.size() - 3];
    EXPECT_EQ(toc.substr(0, 10), "TOC  *****");
    // Read back as the FMC and the display read it.
    const auto route = sim::parse_route_text(p.text);
    ASSERT_EQ(route.size(), lines.size() - 14);
    EXPECT_NEAR(route[1].at.lat, 37.61947222, 1.0 / 360000);
    EXPECT_NEAR(route[1].at.lon, -122.37388889, 1.0 / 360000);
    EXPECT_EQ(route.back().ident, "KLAX");
}

TEST(PlnLayout, AcrossTheDateLineAndSouthOfTheEquator) {
    std::vector<navdata::Airport> airports(2);
    airports[0].icao = "WEST", airports[0].lat = -10.5, airports[0].lon = 179.5, airports[0].ends = {{"09", -10.5, 179.49}, {"27", -10.5, 179.51}};
    airports[1].icao = "EAST", airports[1].lat = -10.5, airports[1].lon = -179.5, airports[1].ends = {{"09", -10.5, -179.51}, {"27", -10.5, -179.49}};
    planner::NavDb small(airports, {}, {}, {});
    planner::Performance perf;
    perf.cruise_altitude_ft = 5000;
    auto p = planner::make_plan(small, {"WEST EAST", "", perf});
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
