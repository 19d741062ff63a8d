#pragma once
// The DME's warning lights: which of them shows this cycle, from the simulator's values.

namespace dme {

struct WarningInputs {
    double tick = 0;                  // token 1, running count
    double altitude_m = 0;            // token 73
    double ground_elevation_256 = 0;  // token 2, metres x 256
    double vertical_speed = 0;        // token 65, negative descending
    double gear_position = 0;         // token 331, 16383 fully down
    double glideslope = 0;            // token 41, negative below the beam
    double third_a = 0;               // token 108
    double third_b = 0;               // token 330
    double third_c = 0;               // token 319
};

struct WarningLights {
    bool ground_proximity = false;
    bool glideslope = false;
    bool third = false;
};

double height_above_ground(const WarningInputs& in);
// Five counts lit, five dark.
bool flash_lit(double tick);
// Whether each light is to be drawn now (a flashing light only in the lit phase).
WarningLights warning_lights(const WarningInputs& in);

}  // namespace dme
