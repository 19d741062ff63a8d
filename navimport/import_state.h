#pragma once
// What the import gathers from the sources before it writes the NavData files.

#include <cstddef>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "worlddata/xplane.h"

namespace navimport {

struct Navaid {
    std::string ident, name, airport, runway;
    char kind = 'V';  // V, I, D, N
    double lat = 0, lon = 0, frequency = 0, extra = 0;
    int elevation = 0, range = 0, course = 0;
};

struct Runway {
    std::string ident, name, end1, end2;
    double lat = 0, lon = 0;
    int heading = 0, length = 0, width = 0, surface = 0, elevation = 0;
};

struct Fix {
    std::string ident;
    double lat = 0, lon = 0;
    int rank = 0;
};

struct AirportHeader {
    std::string ident, name;
    int elevation = 0;
};

struct Import {
    std::vector<Navaid> vor, ndb;
    std::vector<Runway> apt;
    std::vector<Fix> intx;
    std::set<std::string> airway_points;
    std::string nav_version, fix_version, apt_version;
    std::map<std::string, std::size_t> skipped;
    std::string error;

    void skip(const std::string& why, std::size_t n = 1) {
        if (n > 0) skipped[why] += n;
    }
};

// The world data's records as NavData records, with what does not fit the columns left out and
// counted. The airway points rank the fixes, so they are taken before them.
void take_navaids(Import& im, const std::vector<worlddata::Navaid>& navaids);
void take_airway_points(Import& im, const std::vector<worlddata::AirwaySegment>& segments);
void take_fixes(Import& im, const std::vector<worlddata::Fix>& fixes);
void take_airports(Import& im, const std::vector<worlddata::Airport>& airports);
void limit_fixes(Import& im, std::size_t limit);

// Writes the five files; false with im.error set on failure.
bool write_navdata(Import& im, const std::string& folder);

}  // namespace navimport
