// apt.dat rows, the same in 1000, 1100, 1130 and 1200 for what is read here: row 1 (a land airport;
// 16 a seaplane base, 17 a heliport), row 100 (a land runway with its two ends) and row 1302 (the
// airport's metadata, of which datum_lat and datum_lon place its reference point). Every other row
// (taxiways, signs, 1200's 1402, 1500, 1501...) is passed over.

#include <cmath>
#include <optional>

#include "worlddata/data_rows.h"

namespace worlddata {

namespace {

// The reference point of an airport without one of its own: the mean of its runway midpoints.
void place_reference_point(Airport& a) {
    double lat = 0, lon = 0;
    const std::size_t runways = a.ends.size() / 2;
    const double lon0 = a.ends.front().lon;
    for (std::size_t i = 0; i + 1 < a.ends.size(); i += 2) {
        lat += (a.ends[i].lat + a.ends[i + 1].lat) / 2;
        // Runways near the date line: average longitudes on the near side of the first end.
        double l1 = a.ends[i].lon, l2 = a.ends[i + 1].lon;
        if (l1 - lon0 > 180) l1 -= 360;
        if (l1 - lon0 < -180) l1 += 360;
        if (l2 - lon0 > 180) l2 -= 360;
        if (l2 - lon0 < -180) l2 += 360;
        lon += (l1 + l2) / 2;
    }
    a.lat = lat / static_cast<double>(runways);
    a.lon = lon / static_cast<double>(runways);
    if (a.lon > 180) a.lon -= 360;
    if (a.lon < -180) a.lon += 360;
}

// What the parser knows of the airport it is in.
struct Current {
    enum { none, land, other } kind = none;
    std::optional<double> datum_lat, datum_lon;
};

// Older files may end a runway row before an end's displaced threshold: a missing, negative or
// malformed one is none, and the row is still good.
double displaced_threshold_m(const LineFields& f, std::size_t field) {
    double m = 0;
    if (f.size() <= field || !to_number(f[field], m) || !std::isfinite(m) || m < 0) return 0;
    return m;
}

Row parse_runway(const LineFields& f, Airport& a) {
    RunwayEnd e1, e2;
    RunwaySurface r;
    // Row 100: width, surface, shoulder, smoothness, lights, then each end from field 8:
    // designator, latitude, longitude, displaced threshold, overrun, markings, lights.
    if (f.size() < 20 || !to_number(f[1], r.width_m) || !to_number(f[2], r.surface) || !to_number(f[9], e1.lat) ||
        !to_number(f[10], e1.lon) || !to_number(f[18], e2.lat) || !to_number(f[19], e2.lon) ||
        !valid_position(e1.lat, e1.lon) || !valid_position(e2.lat, e2.lon) || !std::isfinite(r.width_m))
        return Row::skipped;
    e1.designator = std::string(f[8]);
    e2.designator = std::string(f[17]);
    e1.displaced_threshold_m = displaced_threshold_m(f, 11);
    e2.displaced_threshold_m = displaced_threshold_m(f, 20);
    a.ends.push_back(std::move(e1));
    a.ends.push_back(std::move(e2));
    a.surfaces.push_back(r);
    return Row::taken;
}

// Row 1302: a key and its value; only the datum is read, and it must be a latitude or longitude.
Row parse_metadata(const LineFields& f, Current& current) {
    const bool lat = f[1] == "datum_lat", lon = f[1] == "datum_lon";
    if (!lat && !lon) return Row::taken;
    double v = 0;
    if (f.size() < 3 || !to_number(f[2], v) || !(lat ? v >= -90 && v <= 90 : v >= -180 && v <= 180))
        return Row::skipped;
    (lat ? current.datum_lat : current.datum_lon) = v;
    return Row::taken;
}

}  // namespace

std::vector<Airport> parse_apt(std::string_view text, ParseStats* stats) {
    std::vector<Airport> out;
    Current current;
    auto finish = [&] {
        if (current.kind == Current::land) {
            Airport& a = out.back();
            if (a.ends.empty()) out.pop_back();
            else if (current.datum_lat && current.datum_lon) a.lat = *current.datum_lat, a.lon = *current.datum_lon;
            else place_reference_point(a);
        }
        current = {};
    };
    for_each_data_line(text, stats, [&](const LineFields& f) {
        int code = 0;
        if (!to_number(f[0], code)) return Row::skipped;
        if (code == 1 || code == 16 || code == 17) {
            finish();
            if (code != 1) {
                current.kind = Current::other;
                return Row::taken;
            }
            Airport a;
            if (f.size() < 5 || !to_number(f[1], a.elevation_ft)) return Row::skipped;
            a.icao = std::string(f[4]);
            a.name = std::string(f.rest(5));
            out.push_back(std::move(a));
            current.kind = Current::land;
            return Row::taken;
        }
        if (code == 1302 && current.kind == Current::land) return parse_metadata(f, current);
        if (code != 100) return Row::taken;
        if (current.kind != Current::land) return current.kind == Current::other ? Row::left_out : Row::taken;
        return parse_runway(f, out.back());
    });
    finish();
    return out;
}

}  // namespace worlddata
