// nav.dat and earth_nav.dat rows: 810 (X-Plane 8 to 10, FlightGear), 1100, 1150 and 1200 (X-Plane
// 11 and 12). The later versions add the terminal region and the ICAO region after the ident; 1150
// packs the localizer's magnetic front course into the column of its true bearing.

#include <cmath>

#include "worlddata/data_rows.h"

namespace worlddata {

namespace {

bool serves_runway(int code) { return code >= Navaid::localizer && code <= Navaid::inner_marker; }

// The seventh column of a localizer row. 1150 and later write the magnetic front course times 360
// plus the true bearing (164 and 180.343 give 59220.343); a value below 360 is the true bearing alone.
bool take_localizer_course(Navaid& n, double column, int version) {
    if (version < 1150 || column < 360.0) {
        n.course = column;
        return true;
    }
    if (!(column < 360.0 * 361.0)) return false;
    const double magnetic = std::floor(column / 360.0);
    n.magnetic_course = magnetic == 360.0 ? 0.0 : magnetic;
    n.course = column - magnetic * 360.0;
    return true;
}

// The seventh column means something different on each kind of row.
bool take_column7(Navaid& n, double column, int version) {
    switch (n.kind) {
        case Navaid::vor: n.variation = column; break;
        case Navaid::localizer: case Navaid::localizer_only: return take_localizer_course(n, column, version);
        case Navaid::outer_marker: case Navaid::middle_marker: case Navaid::inner_marker: n.course = column; break;
        case Navaid::glide_slope:
            // The angle in hundredths of a degree, times 1000, plus the course: 300297.910 is 3.00 on 297.91.
            n.glide_angle = std::floor(column / 1000.0) / 100.0;
            n.course = column - std::floor(column / 1000.0) * 1000.0;
            break;
        case Navaid::dme: case Navaid::dme_alone: n.bias = column; break;
        default: break;
    }
    return true;
}

// The columns after the ident. 810: rows 4-9 the airport, the runway, the name; others the name.
// 1100 and later: the terminal region (an airport or ENRT), the ICAO region, then rows 4-9 the
// runway, and the name.
bool take_names(Navaid& n, const LineFields& f, int version) {
    n.ident = std::string(f[7]);
    if (version < 1100) {
        if (serves_runway(n.kind)) {
            if (f.size() < 10) return false;
            n.airport = std::string(f[8]);
            n.runway = std::string(f[9]);
            n.name = std::string(f.rest(10));
        } else {
            n.name = std::string(f.rest(8));
        }
        return true;
    }
    if (f.size() < 10) return false;
    if (f[8] != "ENRT") n.airport = std::string(f[8]);
    n.region = std::string(f[9]);
    if (serves_runway(n.kind)) {
        if (f.size() < 11) return false;
        n.runway = std::string(f[10]);
        n.name = std::string(f.rest(11));
    } else {
        n.name = std::string(f.rest(10));
    }
    return true;
}

Row parse_nav_row(const LineFields& f, int version, std::vector<Navaid>& out) {
    int code = 0;
    if (!to_number(f[0], code)) return Row::skipped;
    // Rows 10 and 11 (old DME kinds) and 14 to 16 (the satellite approaches' FPAP, GLS, LTP/FTP) are
    // no navaids a radio tunes.
    if (code < Navaid::ndb || code > Navaid::dme_alone || code == 10 || code == 11) return Row::left_out;
    Navaid n;
    n.kind = code;
    double frequency = 0, column7 = 0;
    if (f.size() < 9 || !to_number(f[1], n.lat) || !to_number(f[2], n.lon) || !to_number(f[3], n.elevation_ft) ||
        !to_number(f[4], frequency) || !to_number(f[5], n.range_nm) || !to_number(f[6], column7) ||
        !valid_position(n.lat, n.lon) || !std::isfinite(frequency) || !std::isfinite(column7))
        return Row::skipped;
    n.frequency = code == Navaid::ndb ? frequency : frequency / 100.0;
    if (!take_column7(n, column7, version) || !take_names(n, f, version)) return Row::skipped;
    out.push_back(std::move(n));
    return Row::taken;
}

}  // namespace

std::vector<Navaid> parse_nav(std::string_view text, int version, ParseStats* stats) {
    std::vector<Navaid> out;
    for_each_data_line(text, stats, [&](const LineFields& f) { return parse_nav_row(f, version, out); });
    return out;
}

}  // namespace worlddata
