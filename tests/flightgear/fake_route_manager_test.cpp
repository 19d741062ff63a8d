// The stand-in route manager against what FlightGear 2020.3's route manager answered to the same
// writes over its property server (KLAS, KPAE and the navaids at their places in FlightGear's
// data): the airports are legs of their own, points given alone go after the last leg, @INSERT
// goes before the leg at its index, and names it does not know add nothing.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "fake_route_manager.h"

namespace {

using Idents = std::vector<std::string>;

FakeRouteManager klas_kpae() {
    FakeRouteManager rm;
    rm.know_airport("KLAS", 36.0852, -115.1557, {"01L", "01R", "07L", "07R", "19L", "19R", "25L", "25R"});
    rm.know_airport("KPAE", 47.9060, -122.2791, {"16L", "16R", "34L", "34R"});
    rm.know_point("OAL", 38.0033, -117.7704);
    rm.know_point("BABIT", 38.5115, -118.3846);
    rm.know_point("FMG", 39.5313, -119.6561);
    return rm;
}

// Writes under /autopilot/route-manager/, in order.
void write(FakeRouteManager& rm, const std::vector<std::pair<std::string, std::string>>& writes) {
    for (const auto& [name, value] : writes) ASSERT_TRUE(rm.set("/autopilot/route-manager/" + name, value)) << name;
}

std::string get(const FakeRouteManager& rm, const std::string& name) {
    const auto v = rm.get("/autopilot/route-manager/" + name);
    return v ? v->first : "(absent)";
}

}  // namespace

TEST(StandInRouteManager, AirportsAreLegsAndPointsGoAfterTheLastLeg) {
    FakeRouteManager rm = klas_kpae();
    // The writes of a link that named both airports first: FlightGear flew to the destination first.
    write(rm, {{"input", "@CLEAR"}, {"departure/airport", "KLAS"}, {"destination/airport", "KPAE"}, {"input", "OAL"},
               {"input", "BABIT"}, {"input", "@ACTIVATE"}});
    EXPECT_EQ(rm.idents(), (Idents{"KLAS", "KPAE", "OAL", "BABIT"}));
    EXPECT_TRUE(rm.active());
    EXPECT_EQ(rm.current(), 0);

    write(rm, {{"input", "@CLEAR"}});
    EXPECT_EQ(rm.idents(), (Idents{"KLAS", "KPAE"})) << "the named airports come straight back";
    EXPECT_FALSE(rm.active());
    EXPECT_EQ(get(rm, "current-wp"), "-1");

    write(rm, {{"departure/airport", "KLAS"}, {"destination/airport", "KPAE"}, {"input", "OAL"}});
    EXPECT_EQ(rm.idents(), (Idents{"KLAS", "KPAE", "OAL"})) << "an airport named as it is stays where it is";

    write(rm, {{"departure/runway", "25R"}, {"destination/runway", "34L"}});
    EXPECT_EQ(rm.idents(), (Idents{"KLAS-25R", "OAL", "KPAE-34L"})) << "a runway's leg replaces its airport's";
    EXPECT_EQ(get(rm, "departure/runway"), "25R");

    write(rm, {{"departure/airport", ""}});
    EXPECT_EQ(rm.idents(), (Idents{"OAL", "KPAE-34L"})) << "an empty name forgets the airport and its leg";
    EXPECT_EQ(get(rm, "departure/airport"), "");
    write(rm, {{"destination/airport", ""}});
    EXPECT_EQ(rm.idents(), (Idents{"OAL"}));
    EXPECT_EQ(get(rm, "destination/runway"), "") << "and its runway with it";
}

TEST(StandInRouteManager, InsertsGoBeforeTheLegAtTheirIndex) {
    FakeRouteManager rm = klas_kpae();
    write(rm, {{"input", "@CLEAR"}, {"departure/airport", "KLAS"}, {"destination/airport", "KPAE"}, {"input", "@INSERT1:OAL"},
               {"input", " @insert2: babit "}, {"input", "@INSERT9:FMG"}, {"input", "ZZZZQ"}, {"input", "@INSERT1:ZZZZQ"}});
    EXPECT_EQ(rm.idents(), (Idents{"KLAS", "OAL", "BABIT", "KPAE", "FMG"}))
        << "past the end is appended; an ident nobody knows adds nothing";
    EXPECT_EQ(get(rm, "route/num"), "5");
    EXPECT_EQ(get(rm, "route/wp[1]/id"), "OAL");
    EXPECT_EQ(get(rm, "route/wp/id"), "KLAS");
    EXPECT_EQ(get(rm, "route/wp[3]/latitude-deg"), "47.906000");
    EXPECT_EQ(get(rm, "route/wp[4]/longitude-deg"), "-119.656100");
    EXPECT_EQ(get(rm, "route/wp[5]/id"), "(absent)");

    write(rm, {{"departure/airport", "KXXX"}});
    EXPECT_EQ(rm.idents(), (Idents{"OAL", "BABIT", "KPAE", "FMG"})) << "an airport nobody knows forgets the departure";
    write(rm, {{"departure/airport", "KLAS"}, {"departure/runway", "99"}});
    EXPECT_EQ(rm.idents(), (Idents{"KLAS", "OAL", "BABIT", "KPAE", "FMG"})) << "a runway the airport lacks changes nothing";
    write(rm, {{"input", "@DELETE3"}, {"input", "@DELETE-1"}});
    EXPECT_EQ(rm.idents(), (Idents{"KLAS", "OAL", "BABIT"})) << "a negative index counts from the end";
}

TEST(StandInRouteManager, PositionsAreNamedByTheirWholeDegrees) {
    FakeRouteManager rm = klas_kpae();
    write(rm, {{"input", "-118.0,39.0"}, {"input", "2.35,48.86"}, {"input", "-0.5,-33.9"}, {"input", "151.2,-33.9"},
               {"input", "1.0,95.0"}, {"input", "north,east"}});
    EXPECT_EQ(rm.idents(), (Idents{"W118N039", "E002N048", "E000S033", "E151S033", "E001N095"}))
        << "cut toward zero, a west longitude above -1 names east, no range is checked; words add nothing";
    ASSERT_EQ(rm.legs().size(), 5u);
    EXPECT_DOUBLE_EQ(rm.legs()[1].lat, 48.86);
    EXPECT_DOUBLE_EQ(rm.legs()[1].lon, 2.35);
}

TEST(StandInRouteManager, ARepeatedIdentIsTheOneNearestTheRoute) {
    FakeRouteManager rm = klas_kpae();
    rm.know_point("OAL", -33.0, 151.0);  // another OAL, half a world away
    rm.know_point("PAC", 10.0, 170.0);
    rm.know_point("PAC", 46.0, -121.0);
    write(rm, {{"departure/airport", "KLAS"}, {"input", "OAL"}, {"destination/airport", "KPAE"}, {"input", "@INSERT2:PAC"}});
    ASSERT_EQ(rm.idents(), (Idents{"KLAS", "OAL", "PAC", "KPAE"}));
    EXPECT_DOUBLE_EQ(rm.legs()[1].lat, 38.0033) << "appended: near the last leg";
    EXPECT_DOUBLE_EQ(rm.legs()[2].lat, 46.0) << "inserted: near the middle of the leg it goes into";
}

TEST(StandInRouteManager, TheCurrentLegMovesWithTheRoute) {
    FakeRouteManager rm = klas_kpae();
    write(rm, {{"current-wp", "0"}});
    EXPECT_EQ(rm.current(), -1) << "no leg to jump to";
    write(rm, {{"departure/airport", "KLAS"}, {"input", "OAL"}, {"input", "BABIT"}, {"input", "@ACTIVATE"}, {"current-wp", "2"}});
    EXPECT_EQ(rm.current(), 2);
    write(rm, {{"input", "@ACTIVATE"}});
    EXPECT_EQ(rm.current(), 2) << "activating an active route changes nothing";
    write(rm, {{"current-wp", "3"}, {"current-wp", "-2"}});
    EXPECT_EQ(rm.current(), 2) << "out of the route: ignored";
    write(rm, {{"input", "@INSERT0:FMG"}});
    EXPECT_EQ(rm.current(), 3) << "a leg before the current one moves it on";
    write(rm, {{"input", "@DELETE2"}, {"input", "@PREVIOUS"}});
    EXPECT_EQ(rm.current(), 1) << "a leg taken away before the current one moves it back";
    write(rm, {{"departure/airport", ""}});
    EXPECT_EQ(rm.idents(), (Idents{"FMG", "BABIT"}));
    EXPECT_EQ(rm.current(), -1) << "the current leg went with the departure";
    EXPECT_TRUE(rm.active());
    write(rm, {{"input", "@CLEAR"}});
    EXPECT_TRUE(rm.idents().empty());
    EXPECT_FALSE(rm.active()) << "clearing a route deactivates it";
    EXPECT_EQ(get(rm, "active"), "false");
}
