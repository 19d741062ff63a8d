// The navaid search's grid gives what a pass over every index record gives: the same four lists
// and the same tuned station, all over the world database, at every range, with the grid kept
// from one search to the next as the display keeps it and with a fresh one.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "navdisplay/nav_database.h"
#include "navdisplay/navaid_search.h"

namespace {

struct Place {
    double lat, lon;
};

// Over land and sea, both hemispheres, the date line from both sides, near the poles, and on the
// edges of strips and rows.
std::vector<Place> places() {
    std::vector<Place> p{{50.03, 8.57},   {37.62, -122.38}, {-33.95, 151.18}, {35.55, 139.78}, {-22.81, -43.25},
                         {64.13, -21.94}, {0.0, 179.99},    {0.0, -179.99},   {-17.75, 177.44}, {51.88, -176.65},
                         {89.9, 0.0},     {-89.9, 45.0},    {47.0, 8.25},     {48.0, -0.5},    {0.0, 0.0},
                         {25.25, 55.36},  {40.64, -73.78},  {-1.32, 36.93}};
    // And a spread of others, none on a round number.
    for (int i = 0; i < 12; ++i) p.push_back({-70.0 + i * 12.7, -175.0 + i * 29.3});
    return p;
}

std::string ident_of(const navdb::Database& db, const navsearch::NavRecord& r) {
    char ident[8];
    navdb::field(db.vor.record(static_cast<std::size_t>(r.record)), db.vor.record_length, navdb::kIdentColumn,
                 navdb::kIdentWidth, ident, sizeof ident);
    const std::string s = ident;
    return s.substr(0, s.find(' '));
}

int listed(const navsearch::List& l) {
    int n = 0;
    while (n < navsearch::kListSize && l[static_cast<std::size_t>(n)].present) ++n;
    return n;
}

}  // namespace

TEST(NavaidGrid, AnswersAsAPassOverEveryRecordAllOverTheWorld) {
    navdb::Database db;
    navdb::open_database(db, WORLD_NAVDATA);
    ASSERT_EQ(db.status, 0);
    navsearch::Grid kept;
    int compared = 0, tuned = 0, full = 0;
    for (const unsigned range : {10u, 20u, 40u, 80u, 160u, 320u, 640u}) {
        for (const Place& at : places()) {
            navsearch::Request q;
            q.lat0 = at.lat;
            q.lon0 = at.lon;
            q.range = range;
            // NAV1 on a station the list would show, so the tuned one is taken out of it.
            navsearch::Lists first;
            navsearch::search(db, kept, q, first);
            if (first.vor[0].present) {
                const std::string ident = ident_of(db, first.vor[0]);
                std::memcpy(q.nav1_ident, ident.data(), std::min<std::size_t>(ident.size(), 5));
            }
            navsearch::Lists grid, fresh_grid, everything;
            navsearch::search(db, kept, q, grid);
            navsearch::Grid fresh;
            navsearch::search(db, fresh, q, fresh_grid);
            navsearch::search_everything(db, q, everything);
            const std::string where = std::to_string(at.lat) + "," + std::to_string(at.lon) + " at " +
                                      std::to_string(range) + " NM, NAV1 " + q.nav1_ident;
            ASSERT_EQ(std::memcmp(&grid, &everything, sizeof grid), 0) << where;
            ASSERT_EQ(std::memcmp(&fresh_grid, &everything, sizeof grid), 0) << where;
            ++compared;
            tuned += everything.tuned.present;
            full += listed(everything.intx) >= 45;
        }
    }
    // The comparison saw tuned stations and lists thinned from hundreds of candidates.
    EXPECT_GT(tuned, compared / 3);
    EXPECT_GT(full, compared / 5);
}

// An identifier is the tuned station's when it is the whole of the record's identifier: "FF" is
// not Frankfurt's "FFM", nor "IFC" the localizer "IFCW".
TEST(NavaidGrid, TunedStationByTheWholeIdentifier) {
    navdb::Database db;
    navdb::open_database(db, WORLD_NAVDATA);
    ASSERT_EQ(db.status, 0);
    navsearch::Grid grid;
    navsearch::Request q;
    q.lat0 = 50.03;
    q.lon0 = 8.57;
    q.range = 40;
    for (const char* ident : {"FFM", "FF", "F", "FFMX", "TAU", "IFCW", "IFC"}) {
        std::memset(q.nav1_ident, 0, sizeof q.nav1_ident);
        std::memcpy(q.nav1_ident, ident, std::strlen(ident));
        navsearch::Lists lists, everything;
        navsearch::search(db, grid, q, lists);
        navsearch::search_everything(db, q, everything);
        EXPECT_EQ(std::memcmp(&lists, &everything, sizeof lists), 0) << ident;
        const std::string wanted = ident;
        const bool station = wanted == "FFM" || wanted == "TAU" || wanted == "IFCW";
        EXPECT_EQ(lists.tuned.present, station ? 1 : 0) << ident;
        if (station) {
            EXPECT_EQ(ident_of(db, lists.tuned), wanted);
        }
    }
}
