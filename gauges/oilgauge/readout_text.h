#pragma once
// Texts of the three-character readout windows. Every writer is bounded by the buffer the host
// gave the window: a value wider than its window (a frozen engine's negative oil temperature, a
// runaway sensor) is cut to the buffer, never written past it.

#include <cstddef>

namespace oil {

// Cuts toward zero into the integer range; a value that is not a number reads 0.
int whole_toward_zero(double v);

// "%3d" of trunc(v), as the integer formatter of the original panel printed it.
void write_whole(char* text, std::size_t size, double v);
// "%3.1f" of v.
void write_tenths(char* text, std::size_t size, double v);
// A text that never changes.
void write_fixed(char* text, std::size_t size, const char* fixed);

}  // namespace oil
