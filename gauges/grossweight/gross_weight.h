#pragma once
// The aircraft's gross weight: the fixed zero-fuel weight plus the fuel of three tanks.

#include <cstddef>

namespace grossweight {

inline constexpr double kZeroFuelWeight = 117446;  // pounds
inline constexpr double kPoundsPerUnit = 6.6016;   // the host's fuel volume unit

// Each tank cut to whole pounds on its own, then the zero-fuel weight added. Held to what an int
// can hold, so absurd tank readings give a readable number rather than an undefined one.
int gross_weight(double centre, double right, double left);

// "%06d" into the window's buffer, cut to its `size` bytes: a weight of a million pounds or more
// shows its first six digits rather than running past the buffer.
void format_weight(char* text, std::size_t size, int pounds);

}  // namespace grossweight
