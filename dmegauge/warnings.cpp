#include "dmegauge/warnings.h"

#include <cmath>

namespace dme {
namespace {

constexpr double kGearDown = 16383.0;
constexpr double kLowHeight_m = 305.0;
constexpr double kSinkHeight_m = 763.0;
constexpr double kFastSink = -5000.0;
constexpr double kBelowGlideslope = -55.0;
constexpr double kGlideslopeFloor_m = 15.0;

bool ground_proximity_flashing(const WarningInputs& in, double h) {
    if (in.gear_position < kGearDown && h < kLowHeight_m && in.vertical_speed < 0.0) return true;
    return h < kSinkHeight_m && in.vertical_speed < kFastSink;
}

bool glideslope_flashing(const WarningInputs& in, double h) {
    return !(in.glideslope >= kBelowGlideslope || h >= kLowHeight_m || h <= kGlideslopeFloor_m);
}

bool third_light_on(const WarningInputs& in) {
    if (in.third_a != 0.0) return false;
    return (in.third_b > 6000.0 && in.third_c > 4000.0) || (in.third_b > 6000.0 && in.third_c < 2000.0) ||
           (in.third_b < 6000.0 && in.third_c < -2.0);
}

}  // namespace

double height_above_ground(const WarningInputs& in) { return in.altitude_m - in.ground_elevation_256 / 256.0; }

bool flash_lit(double tick) {
    const double tenths = tick / 10.0;
    return tenths - std::floor(tenths) < 0.5;
}

WarningLights warning_lights(const WarningInputs& in) {
    const double h = height_above_ground(in);
    const bool lit = flash_lit(in.tick);
    WarningLights out;
    out.ground_proximity = lit && ground_proximity_flashing(in, h);
    out.glideslope = lit && glideslope_flashing(in, h);
    out.third = third_light_on(in);
    return out;
}

}  // namespace dme
