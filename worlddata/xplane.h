#pragma once
// The X-Plane-format world data, in the versions X-Plane and FlightGear users have: navaids
// (nav.dat 810, earth_nav.dat 1100, 1150, 1200), fixes (fix.dat 600, earth_fix.dat 1100, 1101,
// 1200), airway segments (awy.dat 640, earth_awy.dat 1100) and airports with their land runways
// (apt.dat 1000, 1100, 1130, 1200). Each parser takes the whole text and the version its second line
// states, reads every line within its own bounds, and skips (and counts) a line that does not hold
// the fields its row code needs, so a damaged file loses only its damaged rows. Names are kept as
// the file writes them.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace worlddata {

struct Navaid {
    enum Kind {
        ndb = 2, vor = 3, localizer = 4, localizer_only = 5, glide_slope = 6,
        outer_marker = 7, middle_marker = 8, inner_marker = 9, dme = 12, dme_alone = 13
    };
    int kind = 0;            // the row code
    double lat = 0, lon = 0;  // degrees, north and east positive
    int elevation_ft = 0;
    double frequency = 0;     // MHz for VOR, localizer and DME rows; kHz for NDBs; 0 for markers
    int range_nm = 0;         // how far the station is received
    double variation = 0;     // VOR rows: slaved magnetic variation, degrees east positive
    double course = 0;        // localizer, glide slope and marker rows: the approach's true course
    // Localizer rows of 1150 and later: the published front course, magnetic; -1 when not given.
    double magnetic_course = -1;
    double glide_angle = 0;   // glide slope rows: the beam's angle above the horizon, degrees
    double bias = 0;          // DME rows: what the DME reads beyond the true distance, NM
    std::string ident, name;  // markers: ident "----", name "OM"
    // Localizer, glide slope and marker rows: the airport ("KSFO") and the runway end ("28L") they
    // serve. Other rows of 1100 and later: the airport of a terminal navaid, empty for en-route ones.
    std::string airport, runway;
    std::string region;  // 1100 and later: the ICAO region ("K2"); empty before
};

struct Fix {
    double lat = 0, lon = 0;
    std::string ident;
    // 1100 and later: the ICAO region, and the airport of a terminal fix (empty for en-route ones).
    std::string region, airport;
    std::string name;  // 1200: the fix's name ("ABEAM FRANCISTOWN VOR"), else empty
};

struct AirwaySegment {
    // The kinds of point a 1100 segment names, with the file's codes.
    enum EndKind { ndb = 2, vhf_navaid = 3, fix = 11 };
    std::string from, to;
    double from_lat = 0, from_lon = 0, to_lat = 0, to_lon = 0;
    int level = 0;  // 1 low, 2 high
    std::vector<std::string> names;  // the airways this segment belongs to ("V25-V87" gives two)
    // 1100: the ends named by ident, ICAO region and kind; their positions come from the fix and nav
    // files (place_airways). A 640 segment has its positions and no regions.
    std::string from_region, to_region;
    int from_kind = 0, to_kind = 0;
};

struct RunwayEnd {
    std::string designator;   // "28R", "09"
    double lat = 0, lon = 0;  // where the runway's pavement begins at this end
    // How far down the runway the landing threshold lies from there (0 when it is not displaced);
    // the part before it is for take-offs and the roll of landings the other way.
    double displaced_threshold_m = 0;
};

struct RunwaySurface {
    double width_m = 0;
    int surface = 0;  // the file's surface code: 1 asphalt, 2 concrete, 3 turf...
};

struct Airport {
    std::string icao, name;
    int elevation_ft = 0;
    // Reference point: the 1302 datum_lat/datum_lon rows when given, else the mean of the runway midpoints.
    double lat = 0, lon = 0;
    std::vector<RunwayEnd> ends;  // in pairs: ends[2k] and ends[2k + 1] are one runway
    std::vector<RunwaySurface> surfaces;  // one per runway: surfaces[k] is that of ends[2k], ends[2k + 1]
};

struct ParseStats {
    std::size_t rows = 0;     // rows taken
    std::size_t skipped = 0;  // data rows that were malformed
    std::size_t first_skipped_line = 0;  // the line of the first of them, 1-based; 0 without any
    // Rows of a kind the parser knows but leaves out: nav.dat rows of codes other than the navaids
    // above, apt.dat runways of sea bases and heliports.
    std::size_t left_out = 0;
};

// The file's version line (its second line: "810 Version - data cycle ..."), without its line end.
std::string_view version_line(std::string_view text);
// The number the version line starts with (1100 for "1100 Version - ..."); 0 when it holds none.
int file_version(std::string_view text);

enum class FileKind { nav, fix, awy, apt };
// Whether the parser of that kind reads that version's rows; the versions it reads, as a list
// ("810, 1100, 1150, 1200") for messages.
bool known_version(FileKind kind, int version);
std::string known_versions(FileKind kind);
// The file's usual name ("nav.dat") for messages.
const char* file_kind_name(FileKind kind);

// The parsers, each for the version given (one known_version accepts).
std::vector<Navaid> parse_nav(std::string_view text, int version, ParseStats* stats = nullptr);
std::vector<Fix> parse_fix(std::string_view text, int version, ParseStats* stats = nullptr);
// Version 1100 segments still lack their positions: place_airways finds them.
std::vector<AirwaySegment> parse_awy(std::string_view text, int version, ParseStats* stats = nullptr);
// Land airports only (row 1) with at least one runway (row 100); sea bases and heliports are left
// out. Every known version has the same rows for these.
std::vector<Airport> parse_apt(std::string_view text, ParseStats* stats = nullptr);

// Gives 1100 segments the positions of their ends: the fix (kind 11), NDB (2) or VOR or DME (3) of
// that ident and region, an en-route one before a terminal one. A segment with an end the files do
// not hold is removed; the value is how many were. Segments that have positions are left as they are.
std::size_t place_airways(std::vector<AirwaySegment>& segments, const std::vector<Fix>& fixes,
                          const std::vector<Navaid>& navaids);

}  // namespace worlddata
