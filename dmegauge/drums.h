#pragma once
// Where the three distance drums stand for a DME distance in nautical miles. The units drum
// rolls continuously between its digits; the tens and hundreds drums step.

namespace dme {

// Units drum: 1.8 shows 0, each mile one digit further, 11.8 shows 0 again after 9.
double units_drum(double distance);
// Tens drum: 0 .. 9.
double tens_drum(double distance);
// Hundreds drum: 0 or 1; everything from 200 miles on (and anything odd) stays at 1.
double hundreds_drum(double distance);

}  // namespace dme
