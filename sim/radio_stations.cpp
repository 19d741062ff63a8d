#include "sim/radio_stations.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <string_view>
#include <utility>

#include "sim/units.h"

namespace sim {

namespace {

using worlddata::Navaid;

// A glide slope this near a localizer of its identifier is that localizer's: an identifier is
// used again on the same channel, but far away.
constexpr double same_runway_nm = 5.0;

// Where a runway end is landed on: its landing threshold, its direction and the field's elevation.
struct LandingEnd {
    LatLon threshold;
    double heading_deg = 0;  // true
    double elevation_ft = 0;
};

using LandingEnds = std::map<std::pair<std::string, std::string>, LandingEnd>;

LandingEnds landing_ends(const std::vector<worlddata::Airport>& airports) {
    LandingEnds ends;
    for (const worlddata::Airport& a : airports)
        for (std::size_t i = 0; i + 1 < a.ends.size(); i += 2)
            for (std::size_t k = 0; k < 2; ++k) {
                const worlddata::RunwayEnd& from = a.ends[i + k];
                const worlddata::RunwayEnd& to = a.ends[i + 1 - k];
                const LatLon start{from.lat, from.lon};
                const double heading = course_deg(start, {to.lat, to.lon});
                ends[{a.icao, from.designator}] = {travel(start, heading, from.displaced_threshold_m / metres_per_nm), heading,
                                                   static_cast<double>(a.elevation_ft)};
            }
    return ends;
}

const LandingEnd* landing_end_of(const LandingEnds& ends, const Navaid& n) {
    const auto it = ends.find({n.airport, n.runway});
    return it == ends.end() ? nullptr : &it->second;
}

// The beam's origin on the centre line, at the field's elevation, so that the path crosses the
// landing threshold at threshold_crossing_ft.
void lay_on_runway(RadioStation& glide_slope, const LandingEnd& end) {
    if (!(glide_slope.glide_deg > 0)) return;
    const double past_threshold_ft = threshold_crossing_ft / std::tan(glide_slope.glide_deg * degrees_to_radians);
    glide_slope.at = travel(end.threshold, end.heading_deg, past_threshold_ft / feet_per_nm);
    glide_slope.elevation_ft = end.elevation_ft;
}

bool names_offset_aid(std::string_view name) { return name.starts_with("LDA") || name.starts_with("SDF"); }

// Feet from the localizer's course line (through its antenna) to p.
double off_course_line_ft(const RadioStation& localizer, LatLon p) {
    const double off_deg = course_deg(localizer.at, p) - (localizer.course_deg + 180.0);
    return distance_nm(localizer.at, p) * feet_per_nm * std::sin(off_deg * degrees_to_radians);
}

bool along_runway(const RadioStation& localizer, const LandingEnd& end) {
    const LatLon zone_end = travel(end.threshold, end.heading_deg, touchdown_zone_ft / feet_per_nm);
    return std::fabs(off_course_line_ft(localizer, end.threshold)) <= runway_axis_ft &&
           std::fabs(off_course_line_ft(localizer, zone_end)) <= runway_axis_ft;
}

bool by_channel(const RadioStation& a, const RadioStation& b) { return a.channel < b.channel; }

std::span<const RadioStation> on_channel(const std::vector<RadioStation>& list, int channel) {
    RadioStation key;
    key.channel = channel;
    const auto [first, last] = std::equal_range(list.begin(), list.end(), key, by_channel);
    return {first, last};
}

RadioStation station_of(const Navaid& n, RadioStation::Kind kind) {
    RadioStation s;
    s.kind = kind;
    s.at = {n.lat, n.lon};
    s.elevation_ft = n.elevation_ft;
    s.channel = kind == RadioStation::ndb ? static_cast<int>(std::lround(n.frequency)) : vhf_channel(n.frequency);
    s.range_nm = n.range_nm;
    s.variation_deg = n.variation;
    s.course_deg = n.course;
    s.glide_deg = n.glide_angle;
    s.ident = n.ident;
    return s;
}

}  // namespace

int vhf_channel(double mhz) { return static_cast<int>(std::lround(mhz * 20.0)) * 5; }

bool is_localizer_channel(int channel) { return channel >= 10810 && channel < 11200 && (channel / 10) % 2 == 1; }

RadioStations::RadioStations(const std::vector<worlddata::Navaid>& navaids,
                             const std::vector<worlddata::Airport>& airports) {
    const LandingEnds ends = landing_ends(airports);
    for (const Navaid& n : navaids) {
        switch (n.kind) {
            case Navaid::ndb: ndb_.push_back(station_of(n, RadioStation::ndb)); break;
            case Navaid::vor: vhf_.push_back(station_of(n, RadioStation::vor)); break;
            case Navaid::localizer:
            case Navaid::localizer_only: {
                RadioStation st = station_of(n, RadioStation::localizer);
                const LandingEnd* end = landing_end_of(ends, n);
                st.on_runway_axis = !names_offset_aid(n.name) && (end ? along_runway(st, *end) : n.kind == Navaid::localizer);
                vhf_.push_back(std::move(st));
                break;
            }
            case Navaid::glide_slope: {
                RadioStation st = station_of(n, RadioStation::glide_slope);
                if (const LandingEnd* end = landing_end_of(ends, n)) lay_on_runway(st, *end);
                vhf_.push_back(std::move(st));
                break;
            }
            case Navaid::dme:
            case Navaid::dme_alone: vhf_.push_back(station_of(n, RadioStation::dme)); break;
            case Navaid::outer_marker:
            case Navaid::middle_marker:
            case Navaid::inner_marker:
                markers_.push_back({{n.lat, n.lon},
                                    static_cast<double>(n.elevation_ft),
                                    static_cast<MarkerBeacon::Kind>(n.kind - Navaid::outer_marker + 1)});
                break;
            default: break;
        }
    }
    std::stable_sort(vhf_.begin(), vhf_.end(), by_channel);
    for (RadioStation& localizer : vhf_) {
        if (localizer.kind != RadioStation::localizer) continue;
        for (const RadioStation& st : vhf_on(localizer.channel))
            if (st.kind == RadioStation::glide_slope && st.ident == localizer.ident &&
                distance_nm(st.at, localizer.at) < same_runway_nm)
                localizer.with_glide_slope = true;
    }
    std::stable_sort(ndb_.begin(), ndb_.end(), by_channel);
    std::stable_sort(markers_.begin(), markers_.end(),
                     [](const MarkerBeacon& a, const MarkerBeacon& b) { return a.at.lat < b.at.lat; });
}

std::span<const RadioStation> RadioStations::vhf_on(int channel) const { return on_channel(vhf_, channel); }

std::span<const RadioStation> RadioStations::ndbs_on(int khz) const { return on_channel(ndb_, khz); }

std::span<const MarkerBeacon> RadioStations::markers_near(double lat, double dlat) const {
    const auto below = [](const MarkerBeacon& m, double v) { return m.at.lat < v; };
    const auto first = std::lower_bound(markers_.begin(), markers_.end(), lat - dlat, below);
    const auto last = std::lower_bound(first, markers_.end(), lat + dlat, below);
    return {first, last};
}

}  // namespace sim
