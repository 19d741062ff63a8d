#include "worlddata/xplane.h"

#include <cmath>

#include "worlddata/line_fields.h"

namespace worlddata {

namespace {

// Every file opens with "I" (or "A") and a version line, and may close with "99".
// A row is taken, malformed, or of a kind the parser leaves out.
enum class Row { taken, skipped, left_out };

template <typename Fn>
void for_each_data_line(std::string_view text, ParseStats* stats, Fn fn) {
    std::size_t number = 0;
    bool ended = false;
    for_each_line(text, [&](std::string_view line) {
        if (ended || number++ < 2) return;
        LineFields f(line);
        if (f.size() == 0) return;
        if (f.size() == 1 && f[0] == "99") {
            ended = true;
            return;
        }
        const Row row = fn(f);
        if (!stats) return;
        if (row == Row::skipped && stats->skipped == 0) stats->first_skipped_line = number;
        ++(row == Row::skipped ? stats->skipped : row == Row::left_out ? stats->left_out : stats->rows);
    });
}

bool serves_runway(int code) { return code >= Navaid::localizer && code <= Navaid::inner_marker; }

Row parse_nav_row(const LineFields& f, std::vector<Navaid>& out) {
    int code = 0;
    if (!to_number(f[0], code)) return Row::skipped;
    if (code < Navaid::ndb || code > Navaid::dme_alone || code == 10 || code == 11) return Row::left_out;
    Navaid n;
    n.kind = code;
    double frequency = 0, column6 = 0;
    if (f.size() < 9 || !to_number(f[1], n.lat) || !to_number(f[2], n.lon) || !to_number(f[3], n.elevation_ft) ||
        !to_number(f[4], frequency) || !to_number(f[5], n.range_nm) || !to_number(f[6], column6) ||
        !valid_position(n.lat, n.lon))
        return Row::skipped;
    n.frequency = code == Navaid::ndb ? frequency : frequency / 100.0;
    // The sixth column means something different on each kind of row.
    switch (code) {
        case Navaid::vor: n.variation = column6; break;
        case Navaid::localizer: case Navaid::localizer_only:
        case Navaid::outer_marker: case Navaid::middle_marker: case Navaid::inner_marker:
            n.course = column6;
            break;
        case Navaid::glide_slope:
            // The angle in hundredths of a degree, times 1000, plus the course: 300297.910 is 3.00 on 297.91.
            n.glide_angle = std::floor(column6 / 1000.0) / 100.0;
            n.course = column6 - std::floor(column6 / 1000.0) * 1000.0;
            break;
        case Navaid::dme: case Navaid::dme_alone: n.bias = column6; break;
        default: break;
    }
    n.ident = std::string(f[7]);
    if (serves_runway(code)) {
        n.airport = std::string(f[8]);
        n.runway = std::string(f[9]);
        n.name = std::string(f.rest(10));
    } else {
        n.name = std::string(f.rest(8));
    }
    out.push_back(std::move(n));
    return Row::taken;
}

std::vector<std::string> split_names(std::string_view s) {
    std::vector<std::string> names;
    while (!s.empty()) {
        const std::size_t dash = s.find('-');
        if (dash != 0) names.emplace_back(s.substr(0, dash));
        if (dash == std::string_view::npos) break;
        s.remove_prefix(dash + 1);
    }
    return names;
}

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

}  // namespace

std::string_view version_line(std::string_view text) {
    std::string_view version;
    int number = 0;
    for_each_line(text, [&](std::string_view line) {
        if (++number == 2) version = line;
    });
    return version;
}

std::vector<Navaid> parse_nav(std::string_view text, ParseStats* stats) {
    std::vector<Navaid> out;
    for_each_data_line(text, stats, [&](const LineFields& f) { return parse_nav_row(f, out); });
    return out;
}

std::vector<Fix> parse_fix(std::string_view text, ParseStats* stats) {
    std::vector<Fix> out;
    for_each_data_line(text, stats, [&](const LineFields& f) {
        Fix x;
        if (f.size() < 3 || !to_number(f[0], x.lat) || !to_number(f[1], x.lon) || !valid_position(x.lat, x.lon))
            return Row::skipped;
        x.ident = std::string(f[2]);
        out.push_back(std::move(x));
        return Row::taken;
    });
    return out;
}

std::vector<AirwaySegment> parse_awy(std::string_view text, ParseStats* stats) {
    std::vector<AirwaySegment> out;
    for_each_data_line(text, stats, [&](const LineFields& f) {
        AirwaySegment s;
        if (f.size() < 10 || !to_number(f[1], s.from_lat) || !to_number(f[2], s.from_lon) ||
            !to_number(f[4], s.to_lat) || !to_number(f[5], s.to_lon) || !to_number(f[6], s.level) ||
            !valid_position(s.from_lat, s.from_lon) || !valid_position(s.to_lat, s.to_lon))
            return Row::skipped;
        s.from = std::string(f[0]);
        s.to = std::string(f[3]);
        s.names = split_names(f[9]);
        if (s.names.empty()) return Row::skipped;
        out.push_back(std::move(s));
        return Row::taken;
    });
    return out;
}

namespace {

// Older files may end a runway row before an end's displaced threshold: a missing, negative or
// malformed one is none, and the row is still good.
double displaced_threshold_m(const LineFields& f, std::size_t field) {
    double m = 0;
    if (f.size() <= field || !to_number(f[field], m) || !std::isfinite(m) || m < 0) return 0;
    return m;
}

}  // namespace

std::vector<Airport> parse_apt(std::string_view text, ParseStats* stats) {
    std::vector<Airport> out;
    bool in_land_airport = false, in_other_airport = false;
    auto finish = [&] {
        if (in_land_airport) {
            if (out.back().ends.empty()) out.pop_back();
            else place_reference_point(out.back());
        }
        in_land_airport = false;
    };
    for_each_data_line(text, stats, [&](const LineFields& f) {
        int code = 0;
        if (!to_number(f[0], code)) return Row::skipped;
        if (code == 1 || code == 16 || code == 17) {
            finish();
            in_other_airport = code != 1;
            if (code != 1) return Row::taken;
            Airport a;
            if (f.size() < 5 || !to_number(f[1], a.elevation_ft)) return Row::skipped;
            a.icao = std::string(f[4]);
            a.name = std::string(f.rest(5));
            out.push_back(std::move(a));
            in_land_airport = true;
            return Row::taken;
        }
        if (code != 100) return Row::taken;
        if (!in_land_airport) return in_other_airport ? Row::left_out : Row::taken;
        RunwayEnd e1, e2;
        RunwaySurface r;
        // Row 100: width, surface, shoulder, smoothness, lights, then each end from field 8:
        // designator, latitude, longitude, displaced threshold, overrun, markings, lights.
        if (f.size() < 20 || !to_number(f[1], r.width_m) || !to_number(f[2], r.surface) || !to_number(f[9], e1.lat) ||
            !to_number(f[10], e1.lon) || !to_number(f[18], e2.lat) || !to_number(f[19], e2.lon) ||
            !valid_position(e1.lat, e1.lon) || !valid_position(e2.lat, e2.lon))
            return Row::skipped;
        e1.designator = std::string(f[8]);
        e2.designator = std::string(f[17]);
        e1.displaced_threshold_m = displaced_threshold_m(f, 11);
        e2.displaced_threshold_m = displaced_threshold_m(f, 20);
        out.back().ends.push_back(std::move(e1));
        out.back().ends.push_back(std::move(e2));
        out.back().surfaces.push_back(r);
        return Row::taken;
    });
    finish();
    return out;
}

}  // namespace worlddata
