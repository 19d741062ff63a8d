#pragma once
// The aircraft's radios: two NAV receivers (VOR or localizer with its glide slope, and the DME on
// the same channel), an ADF and the marker receiver, answered from the world's stations.
//
// A VHF station is received within the range its data gives and within the radio horizon; a
// localizer only in its front sector, a glide slope only near the approach course. The panel's
// needle units: a lateral deviation of 127 is full scale (10 degrees of a VOR course, 2.5 of a
// localizer), positive when the course lies to the right; a glide-slope deviation of 127 is 0.7
// degree above the beam, negative below it.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "sim/radio_stations.h"

namespace sim {

struct AircraftState;

// What the pilot set on the radio panel. The aircraft starts at San Francisco with its VOR and
// Woodside's tuned and the ADF on Reiga.
struct RadioTuning {
    std::array<int, 2> nav_channel{11580, 11390};  // hundredths of a MHz: 115.80, 113.90
    std::array<double, 2> course_deg{0, 0};        // the course selectors (OBS), magnetic
    int adf_khz = 374;
};

inline constexpr int nav_channel_min = 10800, nav_channel_max = 11795;  // 108.00 .. 117.95 MHz
inline constexpr int adf_khz_min = 190, adf_khz_max = 1750;

enum class ToFrom { neither = 0, to = 1, from = 4 };  // the panel's flag word: bit 2 is FROM

// The panel's NAV flag words (tokens 46 and 55).
inline constexpr std::int32_t nav_flag_dme = 0x01, nav_flag_no_station = 0x08, nav_flag_localizer = 0x80;

struct NavReception {
    bool received = false;  // a VOR or a localizer on the channel
    bool localizer = false;
    std::string ident;      // the VOR's or localizer's; empty when neither is heard (a lone DME has none)
    double deviation = 0;   // -127 .. 127
    ToFrom to_from = ToFrom::neither;
    bool overhead = false;  // within the VOR's cone of silence: no usable deviation
    double bearing_deg = 0;  // true bearing from the aircraft to the station
    double station_nm = 0;   // ground distance to it
    double localizer_course_deg = 0;  // a localizer's approach course, true
    // A localizer's: a glide slope goes with it (heard yet or not), and its course lies along its
    // runway's centre line. Only such a localizer is one to descend on and land.
    bool localizer_glide_slope = false;
    bool localizer_on_runway_axis = false;

    bool dme = false;
    double dme_nm = 0;  // slant range
    double dme_kt = 0;  // the rate the slant range changes, as a DME shows it
    bool glide_slope = false;
    double glide_deviation = 0;  // -127 .. 127
    double glide_angle_deg = 0;  // the beam's angle, and the ground distance to its antenna
    double glide_nm = 0;

    std::string dme_ident;  // the DME being timed, so a change of station restarts the speed
};

struct AdfReception {
    bool received = false;
    std::string ident;
    double bearing_deg = 0;  // true bearing from the aircraft to the NDB
};

struct RadioReception {
    std::array<NavReception, 2> nav;
    AdfReception adf;
    int marker = 0;  // 0 none, 1 outer, 2 middle, 3 inner
};

// Answers every receiver for the aircraft as it is now; dt (seconds since the last answer, 0 for
// a new tuning or placement) times the DME speed.
void run_radios(AircraftState& s, const RadioStations& stations, double dt);

// The panel's BCD form of a NAV frequency: the four digits after the leading 1 (110.90 is 0x1090).
std::int32_t nav_frequency_bcd(double mhz);

// One step of a radio panel knob, as the viewer's keys turn them; frequencies wrap within their band.
enum class RadioKnob { nav1, nav2, course1, course2, adf };
void turn_knob(RadioTuning& t, RadioKnob knob, int steps, bool coarse);
// Sets a knob to a value: a NAV frequency in MHz (108.00 .. 117.95, to the 50 kHz raster), a
// course in degrees (0 .. 360), the ADF in kHz (190 .. 1750). False, changing nothing, outside these.
bool set_knob(RadioTuning& t, RadioKnob knob, double value);
// "nav1", "nav2", "course1", "course2", "adf".
bool knob_named(std::string_view name, RadioKnob& knob);

}  // namespace sim
