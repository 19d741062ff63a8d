#include "airspeed/drums.h"

#include <cmath>

namespace airspeed {

double smooth(double previous, double reading) {
    const double next = previous == 0.0 ? reading : previous + (reading - previous) / 10.0;
    return next < 0.0 ? 0.0 : next;
}

AirspeedDrums airspeed_drums(double knots) {
    double h = 0.0;
    const double b = std::modf(knots / 100.0, &h);
    double t = 0.0;
    const double c = std::modf(b * 10.0, &t);
    const double u = c * 10.0;
    if (c > 0.9) {
        t = t - (1.0 - c) * 10.0 + 1.0;
        if (b > 0.9) h = h - (1.0 - c) * 10.0 + 1.0;
    }
    return {10.0 - h, 10.0 - t, 10.0 - u};
}

MachDrums mach_drums(double mach_x10) {
    double p = 0.0;
    const double q = std::modf(mach_x10, &p);
    if (q > 0.9) p = p - (1.0 - q) * 10.0 + 1.0;
    return {10.0 - p, 10.0 - q * 10.0};
}

}  // namespace airspeed
