#include "sim/radio_stations.h"

#include <algorithm>
#include <cmath>

namespace sim {

namespace {

using worlddata::Navaid;

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

RadioStations::RadioStations(const std::vector<worlddata::Navaid>& navaids) {
    for (const Navaid& n : navaids) {
        switch (n.kind) {
            case Navaid::ndb: ndb_.push_back(station_of(n, RadioStation::ndb)); break;
            case Navaid::vor: vhf_.push_back(station_of(n, RadioStation::vor)); break;
            case Navaid::localizer:
            case Navaid::localizer_only: vhf_.push_back(station_of(n, RadioStation::localizer)); break;
            case Navaid::glide_slope: vhf_.push_back(station_of(n, RadioStation::glide_slope)); break;
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
