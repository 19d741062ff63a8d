#pragma once
// What the engine stack's dials point to and what its digital windows read. Dial angles are in
// degrees, every dial sweeping from -40 at its scale's start to 220 at its end. Every text is cut
// to the `size` bytes of its buffer, so a reading too large for its window never runs past it.

#include <cstddef>

namespace enginegauge {

inline constexpr double kScaleStart = -40;
inline constexpr double kScaleEnd = 220;

inline constexpr double kEprLow = 0.8;
inline constexpr double kEprHigh = 2.4;

double epr_angle(double epr);          // 162.5 x EPR - 170, unclamped
double epr_angle_clamped(double epr);  // the same with EPR held to 0.8 .. 2.4
double n1_angle(double percent);       // N1 held to 0 .. 110
double n2_angle(double percent);       // N2 held to 0 .. 105
double egt_angle(double rankine);      // degrees Rankine / 11, unclamped

double rankine_to_celsius(double rankine);

void format_ratio(char* text, std::size_t size, double ratio);          // EPR and its marker, "%01.2f"
void format_percent(char* text, std::size_t size, double percent);      // N1, N2: 5 columns
void format_celsius(char* text, std::size_t size, double celsius);      // EGT: 4 columns
void format_fuel_used(char* text, std::size_t size, double used);       // 4 columns
void format_fuel_flow(char* text, std::size_t size, double pounds_per_hour);  // thousands, one decimal

}  // namespace enginegauge
