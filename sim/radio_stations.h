#pragma once
// The world's radio stations as the aircraft's receivers look them up: VHF stations (VOR,
// localizer, glide slope, DME) and NDBs by the channel they transmit on, marker beacons by latitude.
//
// Given the airports, each glide slope is laid on its runway: its beam crosses the landing threshold
// (displaced thresholds included) threshold_crossing_ft above the field, whatever elevation or
// place the data gives its antenna, so that no data set puts the glide path into the ground before
// the runway. Each localizer learns whether a glide slope goes with it and whether its course lies
// along its runway's centre line (an ILS, not an LDA, SDF or offset localizer).

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
    // Localizer: a glide slope on its channel with its identifier; its course along its runway's
    // centre line (without the runway in the data: an ILS row that is no LDA or SDF).
    bool with_glide_slope = false;
    bool on_runway_axis = false;
};

struct MarkerBeacon {
    enum Kind : std::uint8_t { outer = 1, middle = 2, inner = 3 };  // the panel's marker values
    LatLon at;
    double elevation_ft = 0;
    Kind kind = outer;
};

inline constexpr double threshold_crossing_ft = 50.0;
// A localizer whose course line runs this near the runway's centre line over the touchdown zone
// (from the landing threshold to touchdown_zone_ft past it) is along the runway's axis.
inline constexpr double runway_axis_ft = 30.0;
inline constexpr double touchdown_zone_ft = 3000.0;

// The channel of a VHF frequency in MHz, rounded to the 50 kHz raster.
int vhf_channel(double mhz);
// Localizers use 108.10 to 111.95 MHz with an odd tenths digit.
bool is_localizer_channel(int channel);

class RadioStations {
public:
    RadioStations() = default;
    explicit RadioStations(const std::vector<worlddata::Navaid>& navaids,
                           const std::vector<worlddata::Airport>& airports = {});

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
