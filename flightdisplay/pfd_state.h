#pragma once
// The flight display's module-wide state and the contract between its files: the 39 simulator
// variables, the FD mode and its shortcut, the speed limits, the dirty sections, the screen
// geometry and drawing tools, and the section drawers the update routine calls.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "host/records.h"
#include "platform/canvas/canvas.h"
#include "platform/canvas/region.h"

namespace pfd {

inline constexpr const char* kGaugeName = "flightdisplay";

// --- Simulator variables ------------------------------------------------------------------------

enum Var : int {
    kHeading, kHeadingSelect, kPitch, kBank, kAirspeed, kMach, kMaxOperatingSpeed, kSideslip,
    kAltitude, kAltitudeMetres, kGroundElevation, kVerticalSpeed, kUnitSystem, kFlapHandle, kOnGround,
    kAltimeterSetting, kNavFlags, kLocalizerNeedle, kSelectedCourse, kGlideslopeNeedle, kGlideslopeAvailable,
    kAltitudeSelect, kVerticalSpeedSelect, kAirspeedSelect, kAutopilot, kWingLeveler, kNavHold, kHeadingHold,
    kAltitudeHold, kAttitudeHold, kGlideslopeHold, kLocalizerHold, kBackCourse, kYawDamper, kAirspeedHold,
    kMachHold, kVerticalSpeedHold, kAutothrottle, kTakeoffGoAround,
    kVarCount
};

// A variable as the display keeps it: the host's record and the value last drawn.
struct Variable {
    gauge::VariableRecord record;
    double old;
};

extern std::array<Variable, kVarCount> variables;

void initialize_variables();  // at install
void look_up_variables();     // every update, after drawing
void remember_drawn_values(); // copies every value into its old value
double value(Var v);          // the value as a double, whatever form the host gave it
bool on(Var v);               // not zero (either sign of zero is zero)
// The value limited to +-limit (NaN stays NaN), for the drawings' integer arithmetic.
double bounded(Var v, double limit);
std::int32_t flags(Var v);    // the value as a 32-bit integer (flag words)
double old_value(Var v);

// The largest magnitude a value converted for the drawings takes: far outside any picture, yet a
// few of them added together, or scaled by the fixed-point rotation, stay inside an int.
inline constexpr int kPixelLimit = 1 << 26;
// round(v) of the drawings: trunc(v), plus 1 when the fraction is greater than 0.5.
int round_half_up(double v);
// trunc(v) toward zero as an int, limited to +-kPixelLimit; NaN gives 0.
int trunc_int(double v);

// --- Dirty sections -----------------------------------------------------------------------------

enum Section : std::uint8_t {
    kDirtyAttitude = 0x01,
    kDirtySpeed = 0x02,
    kDirtyAltitude = 0x04,
    kDirtyAltimeter = 0x08,
    kDirtyModes = 0x10,
    kDirtyHeading = 0x20,
    kDirtyAll = 0x3F,
};

// --- Module state -------------------------------------------------------------------------------

struct SpeedLimits {
    // By flap setting: 40, 30, 25, 15, 10, 05, 02, 01, 00 (minimum) and 40 .. 01 (maximum).
    std::array<int, 9> minimum{135, 140, 145, 150, 160, 165, 175, 190, 200};
    std::array<int, 8> maximum{160, 180, 205, 220, 240, 260, 275, 280};
    int decision_height = 480;
};

struct ShortcutKey {
    int key = 9;   // virtual-key code
    int mask = 9;  // bit 0: Shift must be down, bit 1: Ctrl must be down
};

struct ModuleState {
    int fd_mode = 0;  // 0 off, 1, 2
    ShortcutKey shortcut;
    SpeedLimits limits;
    std::uint8_t dirty = 0;
    bool changed = false;
    double last_returned = 0.0;
    double vs_factor = 0.780288;
    double last_unit_system = 5.0;
    std::optional<double> start_time;  // seconds; set by the first initialization with a surface
    bool reattach = true;
    bool rebuilt = true;  // the surface was (re)built since the last full picture
    // A picture was presented after the change detector had already answered this cycle: the
    // next answer flips, so that the host shows it.
    bool flip_pending = false;
};

extern ModuleState state;

// The change detector: the display element's value callback.
double detect_changes(gauge::VariableRecord* source);

// --- FD mode link (PassData) and presence block (PFDruns) ---------------------------------------

bool fd_link_attached();
void fd_link_attach();   // unmaps any earlier view, then opens "PassData" if it exists
void fd_link_close();
// The FD mode the block says, if a view is attached.
std::optional<int> fd_link_read();
// Writes the mode as one digit at offset 7 and a zero byte after it.
void fd_link_write(int mode);
// The mode the shortcut key selects from the current one, by the autopilot's modes.
int next_fd_mode(int mode);

void presence_open();
void presence_close();

// --- Files --------------------------------------------------------------------------------------

// "PANEL_8=" of "Fltsim98.cfg", else "Fs2000.cfg"; defaults when neither has it.
ShortcutKey read_shortcut_key();
// The module file's name with "cfg" for its last three characters.
std::string speed_limit_file_path(const std::string& module_path);
// Reads the file, or creates it with the values given when it cannot be read.
SpeedLimits read_or_create_speed_limits(const std::string& path, const SpeedLimits& defaults);

// --- Geometry and tools -------------------------------------------------------------------------

struct Layout {
    int W = 0, H = 0;
    int xc = 0, yc = 0, r = 0, f = 0;
    int e = 0, t = 0;  // heights of fonts E and F
    plat::Rect attitude, speed, altitude, altimeter, modes, heading;
};

extern Layout layout;

enum FontId { kFontA, kFontB, kFontC, kFontD, kFontE, kFontF, kFontCount };

// Clip region slots.
enum ClipSlot { kClipSpeedTape = 0, kClipSpeedReadout = 1, kClipPitchLadder = 2, kClipAttitude = 3,
                kClipAltitudeTape = 4, kClipAltitudeReadout = 5, kClipSlots = 7 };

// Text alignment codes (GDI's).
inline constexpr unsigned kAlignBaselineCentre = 30, kAlignBaselineRight = 26, kAlignBottomRight = 10,
                          kAlignBottomLeft = 8, kAlignTopCentre = 6, kAlignTopRight = 2, kAlignTopLeft = 0;

void make_layout(int width, int height);
void make_fonts(plat::Canvas& dc);
void release_tools();  // fonts and clip regions

const std::shared_ptr<plat::Font>& font(FontId id);
// The region of a slot, made from the given shape the first time it is asked for.
const plat::Region& clip_region(ClipSlot slot, plat::Region (*make)());

// trunc(value) * numerator / denominator in 64 bits, limited to +-100000000, so that wild
// simulator values place marks far off screen instead of overflowing.
int scaled(double value, int numerator, int denominator);

// Drawing helpers over the surface's device context.
void line(plat::Canvas& dc, plat::Point a, plat::Point b);
void text(plat::Canvas& dc, FontId f, plat::ColorRef colour, unsigned align, int x, int y, const char* s);
plat::ColorRef colour(int slot);

// --- Sections -----------------------------------------------------------------------------------

// Minimum and maximum speeds for the flap handle position, in knots.
struct SpeedBand {
    int minimum = 0;
    int maximum = 0;
};
SpeedBand speed_band(double flap_handle, double max_operating_speed_x128, const SpeedLimits& limits);

// Radio altitude: value and unit scale (1.0 feet, 0.3048 metres); none for other unit systems.
struct RadioAltitude {
    bool known = false;
    int value = 0;
    double unit = 1.0;
};
RadioAltitude radio_altitude();

// A readout digit with its neighbours above (next higher, 9 wraps to 0) and below (next lower),
// right-aligned at x, around centre_y moved down by offset.
void rolling_digit(plat::Canvas& dc, int x, int centre_y, int offset, char digit);

void draw_attitude(plat::Canvas& dc);
void draw_annunciations(plat::Canvas& dc);
void draw_speed_tape(plat::Canvas& dc);
void draw_altitude_tape(plat::Canvas& dc);
void draw_altimeter_box(plat::Canvas& dc);
void draw_heading(plat::Canvas& dc);

}  // namespace pfd
