#pragma once
// The display surface of a rendered display (the flight display, the navigation display): a private
// offscreen picture in the panel's pixel format that the display draws into with its device
// context, sixteen drawing colours and a background colour taken from the module's bitmap "#4096",
// and the hand-over of each finished picture to the two host images of the display element.
//
// One surface per module (module-wide state); everything runs on the host's panel thread.
// States: absent (before creation and after release), ready, failed. A failed creation step leaves
// the failed flag set for the module's life: fills and presentations then do nothing.

#include <cstdint>
#include <cstdio>

#include "host/records.h"
#include "platform/canvas/canvas.h"
#include "platform/module.h"
#include "platform/offscreen_surface.h"

namespace surface {

inline constexpr int kColourSlots = 16;
inline constexpr std::uint32_t kColourTableBitmap = 4096;

// Message texts of the creation steps, after the gauge name.
inline constexpr const char* kColourTableWarning = "\nUnable to get the color table \nand the palette.";

// What creation is given by the display.
struct SurfaceSetup {
    const char* gauge_name = "";              // prefixes every message; names "Gauges/<name>.err"
    plat::ModuleHandle module = nullptr;       // holds bitmap "#4096"
    gauge::Element* display = nullptr;         // its pictures 0 and 1 receive every picture
    gauge::Element* background = nullptr;      // static image of "#4096"; its last row hides the keys
};

// Release, then build everything again from the display element's host images: colour table,
// surface, palette (8-bit) or bitmask (16-bit), device context. Failed steps are reported.
void CreateDisplaySurface(const SurfaceSetup& setup);
// Gives back everything creation made; a second call does nothing. The failed flag stays.
void ReleaseDisplaySurface();
// Fills left <= x < right, top <= y < bottom with the background pixel value.
void FillSurfaceRect(int left, int top, int right, int bottom);
// Copies the finished picture into both host images of the display element. A copy that would
// leave the surface or either image is not made.
void PresentSurface();
// Reports a refused creation step (message box, error log entry) and sets the failed flag;
// true when `result` is success.
bool ReportSurfaceError(plat::SurfaceResult result, std::FILE* log, int step);

// The drawing tools, valid while the surface is ready.
plat::Canvas* SurfaceContext();  // null unless ready
int SurfaceWidth();
int SurfaceHeight();
plat::ColorRef SurfaceColour(int slot);  // slots 0 to 15; black out of range
plat::Pen SurfacePen(int slot);
plat::Brush SurfaceBrush(int slot);
plat::ColorRef SurfaceBackground();
std::uint32_t SurfaceBackgroundPixel();
bool SurfaceFailed();
int SurfaceBytesPerPixel();  // of the host images: 1 or 2 when ready

// Turns p about (cx, cy) by `angle` radians, counter-clockwise for positive angles with y taken
// as pointing up, through the fixed-point steps both displays draw every rotated shape with.
plat::Point RotatePoint(plat::Point p, int cx, int cy, double angle);

}  // namespace surface
