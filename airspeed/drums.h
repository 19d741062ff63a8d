#pragma once
// The rolling drums of the airspeed and Mach readouts. A drum position is what the host's moving
// image is given: 0 .. 10, where 10 - position is the digit under the window's index, fractions
// showing a drum part-way to its next digit.

namespace airspeed {

// One step of the readouts' lag: the first reading is taken as it is, later ones close a tenth of
// the gap per cycle; the readouts never go below zero.
double smooth(double previous, double reading);

struct AirspeedDrums {
    double hundreds, tens, units;
};

// A smoothed airspeed in knots. The tens drum rolls with the last tenth of the units' travel, and
// the hundreds drum with the tens when both are in their last tenth, as geared drums do.
AirspeedDrums airspeed_drums(double knots);

struct MachDrums {
    double tenths, hundredths;
};

// A smoothed Mach number times ten (4.0 is Mach 0.40).
MachDrums mach_drums(double mach_x10);

// Mach times ten from where the readout starts showing digits.
inline constexpr double kMachWindowOpens = 4.0;

}  // namespace airspeed
