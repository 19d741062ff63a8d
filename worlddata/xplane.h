#pragma once
// The X-Plane-format world data: navaids (nav.dat, "810 Version"), fixes (fix.dat, "600"), airway
// segments (awy.dat, "640") and airports with their land runways (apt.dat, "1000"). Each parser
// takes the whole text, reads every line within its own bounds, and skips (and counts) a line that
// does not hold the fields its row code needs, so a damaged file loses only its damaged rows. Names
// are kept as the file writes them.

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
    double glide_angle = 0;   // glide slope rows: the beam's angle above the horizon, degrees
    double bias = 0;          // DME rows: what the DME reads beyond the true distance, NM
    std::string ident, name;  // markers: ident "----", name "OM"
    // Localizer, glide slope and marker rows: the airport ("KSFO") and the runway end ("28L") they serve.
    std::string airport, runway;
};

struct Fix {
    double lat = 0, lon = 0;
    std::string ident;
};

struct AirwaySegment {
    std::string from, to;
    double from_lat = 0, from_lon = 0, to_lat = 0, to_lon = 0;
    int level = 0;  // 1 low, 2 high
    std::vector<std::string> names;  // the airways this segment belongs to ("V25-V87" gives two)
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
    double lat = 0, lon = 0;  // reference point: the mean of the runway midpoints
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

std::vector<Navaid> parse_nav(std::string_view text, ParseStats* stats = nullptr);
std::vector<Fix> parse_fix(std::string_view text, ParseStats* stats = nullptr);
std::vector<AirwaySegment> parse_awy(std::string_view text, ParseStats* stats = nullptr);
// Land airports only (row 1) with at least one runway (row 100); sea bases and heliports are left out.
std::vector<Airport> parse_apt(std::string_view text, ParseStats* stats = nullptr);

}  // namespace worlddata
