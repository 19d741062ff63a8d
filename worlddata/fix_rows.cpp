// fix.dat and earth_fix.dat rows: 600 (latitude, longitude, ident), 1100 (adds the terminal region
// and the ICAO region), 1101 (adds the waypoint type, ARINC 424 field 5.42 packed in an integer) and
// 1200 (adds a name that runs to the end of the line and may hold spaces).

#include "worlddata/data_rows.h"

namespace worlddata {

namespace {

Row parse_fix_row(const LineFields& f, int version, std::vector<Fix>& out) {
    Fix x;
    if (f.size() < 3 || !to_number(f[0], x.lat) || !to_number(f[1], x.lon) || !valid_position(x.lat, x.lon))
        return Row::skipped;
    x.ident = std::string(f[2]);
    if (version >= 1100) {
        if (f.size() < 5) return Row::skipped;
        if (f[3] != "ENRT") x.airport = std::string(f[3]);
        x.region = std::string(f[4]);
    }
    if (version >= 1101 && f.size() > 5) {
        // Three characters in the low bytes of a 32-bit integer; the fourth byte is zero.
        int type = 0;
        if (!to_number(f[5], type) || type < 0 || type > 0xFFFFFF) return Row::skipped;
    }
    if (version >= 1200) x.name = std::string(f.rest(6));
    out.push_back(std::move(x));
    return Row::taken;
}

}  // namespace

std::vector<Fix> parse_fix(std::string_view text, int version, ParseStats* stats) {
    std::vector<Fix> out;
    for_each_data_line(text, stats, [&](const LineFields& f) { return parse_fix_row(f, version, out); });
    return out;
}

}  // namespace worlddata
