#pragma once
// The host aircraft's whole state, in plain units. The models of the executive (aircraft.h) read
// and write it in a fixed order; publish.cpp turns it into the panel's tokens.

#include <array>
#include <optional>

#include "sim/earth.h"
#include "sim/radios.h"

namespace sim {

inline constexpr int engine_count = 2;      // the panel's two-engine airliner
inline constexpr int throttle_count = 4;    // the host has levers for four; the extra two move nothing

struct AutopilotSettings {
    bool master = false;              // 103
    bool heading_hold = false;        // 106, flies the bug
    bool altitude_hold = false;       // 108, flies to the altitude setting at the vertical speed setting
    bool speed_hold = false;          // 115, the autothrottle holds the speed setting
    bool autothrottle_armed = false;  // 123; speed hold acts only when armed
    double heading_bug_deg = 0;       // 107, magnetic
    double altitude_ft = 0;           // 109
    double vertical_speed_fpm = 0;    // 120
    double speed_kt = 250;            // 116
};

// The approach mode on NAV1's ILS, in the order its phases follow one another. Armed, it captures
// the localizer (112 "LOC") and then the glide slope (111 "G / S"); below 100 ft it lands: the
// flare, the touchdown, the rollout on the centre line to a stop.
enum class ApproachPhase { off, armed, localizer, glide_slope, flare, rollout, stopped };

// What the approach mode carries from one step to the next besides its phase; made afresh as it is
// armed.
struct ApproachMemory {
    double flare_time_constant_s = 0;  // set as the flare begins, so it starts from the sink it meets
    // Without the glide slope the approach descends no lower than this: the altitude selected, or
    // held, as the localizer was captured, or the last one flown with the glide slope.
    double hold_ft = 0;
    // The captured localizer's course: another localizer the receiver locks on later (the far
    // end's, on the same frequency) is not flown.
    double localizer_course_deg = 0;
    bool descends = false;  // the captured localizer has a glide slope and lies along its runway
    unsigned said = 0;  // the notes it has given since it was armed, one bit each
};

// The moment the wheels met the ground, as the approach report gives it.
struct Touchdown {
    double t = 0;  // simulated seconds since the aircraft was made
    LatLon position;
    double true_heading_deg = 0;
    double sink_fpm = 0;
    double ias_kt = 0, ground_speed_kt = 0;
};

struct Controls {
    std::array<double, throttle_count> throttle{};  // 0 idle .. 1 full
    double speed_brake = 0;                         // 0 .. 1
    bool gear_down = true;
    double flaps = 0;  // lever, 0 .. 1 of the handle's travel
    double brakes = 0;  // wheel brakes, 0 .. 1; idle thrust on the ground brakes as well
};

struct Engine {
    double n1 = 0, n2 = 0;             // percent
    double epr = 1;
    double egt_rankine = 519.67;
    double fuel_flow_pph = 0;
    double oil_pressure_psf = 0;
    double oil_temperature_rankine = 519.67;
    double thrust_lbf = 0;
    bool running = true;
};

struct AircraftState {
    LatLon position;
    double altitude_ft = 0;
    double ias_kt = 0;
    double true_heading_deg = 0;
    double bank_deg = 0;            // right wing down positive
    double pitch_deg = 0;           // nose up positive
    double vertical_speed_fpm = 0;
    bool on_ground = true;
    double hand_vertical_speed_fpm = 0;  // what the hand flying holds while the autopilot master is off
    double hand_bank_deg = 0;            // the bank the hand flying holds; 0 is wings level
    // The angle from the nose to the air path, right positive: a crab taken out in the flare leaves
    // the path where it was, the wing held low into the wind.
    double slip_deg = 0;
    double ground_speed_kt = 0;
    double ground_track_deg = 0;  // true

    double ground_elevation_ft = 0;  // of the nearest airport
    double variation_deg = 0;        // of the nearest VOR, east positive
    double wind_from_deg = 0, wind_kt = 0;
    double clock_s = 12 * 3600.0;    // time of day, simulated

    Controls controls;
    AutopilotSettings autopilot;
    bool vertical_speed_mode = false;  // 119: the altitude hold is flying the vertical speed setting
    // The speed brakes the speed hold puts out beyond the lever, 0 .. 1: a descent steeper than idle
    // thrust alone allows at the speed setting gets the drag it needs instead of the speed.
    double held_speed_brake = 0;
    ApproachPhase approach = ApproachPhase::off;
    ApproachMemory approach_memory;
    std::optional<Touchdown> touchdown;  // the last one
    std::array<Engine, engine_count> engines{};
    std::array<double, 3> fuel_lb{9000, 12000, 9000};  // left, centre, right
    std::array<double, 3> gear_position{1, 1, 1};      // nose, left, right; 0 up .. 1 down
    double flap_position = 0;                          // 0 .. 1, following the lever
    bool stall_warning = false;

    RadioTuning radios;
    RadioReception reception;  // what the radios receive, answered after each step
};

}  // namespace sim
