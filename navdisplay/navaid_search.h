#pragma once
// The navaid search: the records of the longitude-sorted index that lie less than 1.1 x range
// nautical miles east or west and north or south of the aircraft, thinned to at most 50 per kind,
// and the station NAV1 is tuned to. A search looks only at the grid cells around the aircraft
// (navaid_grid.h), in index order, and stops taking a kind at its 600th candidate.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>

#include "navdisplay/nav_database.h"
#include "navdisplay/navaid_grid.h"

namespace navsearch {

// The display's record of a navaid or route point (28 bytes, as the route and the lists share it).
struct NavRecord {
    float lat;
    float lon;
    std::int32_t record;  // data-file record number; -1 for route points
    char label[8];
    std::int32_t kind;
    std::int32_t present;  // 1 valid; 0 ends a list
};
static_assert(sizeof(NavRecord) == 28);

enum Kind : std::int32_t {
    kind_none = 0, kind_vor = 1, kind_ils = 2, kind_dme = 3, kind_ndb = 4, kind_airport = 5,
    kind_intersection = 6, kind_top_of_climb = 7, kind_top_of_descent = 8, kind_departure = 9, kind_arrival = 10,
};

inline constexpr int kListSize = 50;
inline constexpr int kCandidates = 600;
inline constexpr double kEarthRadiusNm = 3438.0;
inline constexpr double kPi = 3.141592653589793;

using List = std::array<NavRecord, kListSize>;

struct Lists {
    List vor{}, ndb{}, apt{}, intx{};
    NavRecord tuned{};
};

struct Request {
    double lat0 = 0, lon0 = 0;  // degrees
    unsigned range = 320;       // nautical miles
    char nav1_ident[6] = {};    // up to 5 characters; empty: no tuned station
};

struct Work {
    std::size_t records_read = 0;  // index records, or the grid's entries of them, looked at
};

// Aircraft position in degrees from the host's fixed units.
double latitude_degrees(double latitude_units);
double longitude_degrees(double longitude_units);
// Nautical miles per degree of longitude at a latitude.
double east_west_scale(double lat_degrees);

// Fills out for the request. The grid keeps the strips read so far from one search to the next.
// `stop` is asked now and then; true ends the search early with what the lists hold.
void search(const navdb::Database& db, Grid& grid, const Request& request, Lists& out, Work* work = nullptr,
            const std::function<bool()>& stop = {});

// The same answer from a look at every index record: what the grid must give, and the work it saves.
void search_everything(const navdb::Database& db, const Request& request, Lists& out, Work* work = nullptr);

}  // namespace navsearch
