#pragma once
// The system-memory offscreen surfaces of the rendered displays stand on a plat::Bitmap (the pixel
// memory, locked once) and a plat::Canvas (the device context). Each step of building one returns
// a driver result as DirectDraw did, so that the displays report a refused step in their own words.
// A real driver refuses rarely; the host can make one numbered step refuse, so that every failure
// path of a display can be seen.

#include <cstdint>

namespace plat {

// A driver result: 0 success, anything else the reason a step was refused.
using SurfaceResult = std::uint32_t;
inline constexpr SurfaceResult kSurfaceOk = 0;
inline constexpr SurfaceResult kSurfaceRefused = 0x80004005u;      // the generic failure code
inline constexpr SurfaceResult kSurfaceOutOfMemory = 0x8007000Eu;  // the surface cannot be allocated

// Set by the host before the modules start: creation step `step` (the displays' numbering, 1 to 14)
// is refused with kSurfaceRefused from then on; 0 refuses nothing.
void set_refused_surface_step(int step);
int refused_surface_step();

// What the driver answers to creation step `step`: kSurfaceOk unless the host chose to refuse it.
SurfaceResult surface_step_result(int step);

}  // namespace plat
