#pragma once
// The world's radio stations as the aircraft's receivers look them up: VHF stations (VOR,
// localizer, glide slope, DME) and NDBs by the channel they transmit on, marker beacons by latitude.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "sim/earth.h"
#include "worlddata/xplane.h"

namespace sim {

struct RadioStation {
    enum Kind : std::uint8_t { vor, localizer, glide_slope, dme, ndb };
    Kind kind = vor;
    LatLon at;
    double elevation_ft = 0;
    int channel = 0;           // VHF: hundredths of a MHz (115.80 is 11580); NDB: kHz
    double range_nm = 0;       // from the data's range column
    double variation_deg = 0;  // VOR: the variation its radials are laid out by, east positive
    double course_deg = 0;     // localizer and glide slope: the approach's true course
    double glide_deg = 0;      // glide slope: the beam's angle above the horizon
    std::string ident;
};

struct MarkerBeacon {
    enum Kind : std::uint8_t { outer = 1, middle = 2, inner = 3 };  // the panel's marker values
    LatLon at;
    double elevation_ft = 0;
    Kind kind = outer;
};

// The channel of a VHF frequency in MHz, rounded to the 50 kHz raster.
int vhf_channel(double mhz);
// Localizers use 108.10 to 111.95 MHz with an odd tenths digit.
bool is_localizer_channel(int channel);

class RadioStations {
public:
    RadioStations() = default;
    explicit RadioStations(const std::vector<worlddata::Navaid>& navaids);

    std::span<const RadioStation> vhf_on(int channel) const;
    std::span<const RadioStation> ndbs_on(int khz) const;
    // The markers within dlat degrees of latitude lat.
    std::span<const MarkerBeacon> markers_near(double lat, double dlat) const;

    std::size_t vhf_count() const { return vhf_.size(); }
    std::size_t ndb_count() const { return ndb_.size(); }
    std::size_t marker_count() const { return markers_.size(); }

private:
    std::vector<RadioStation> vhf_, ndb_;  // each sorted by channel
    std::vector<MarkerBeacon> markers_;    // sorted by latitude
};

}  // namespace sim
