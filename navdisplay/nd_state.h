#pragma once
// The navigation display's module-wide state and the contract between its files: the 27 simulator
// variables, the crew selections and their block, the geometry, the flight plan route, the navaid
// lists the search worker publishes, and the drawing pass.
//
// Everything runs on the host's panel thread except the search worker, which shares the lists,
// the trail, the east-west scale and two flags with it; the lists, trail and scale are guarded by
// `lists_lock`, the flags are atomic.

#include <array>
#include <atomic>
#include <cstdint>
#include <optional>

#include "host/records.h"
#include "navdisplay/control_block.h"
#include "navdisplay/nav_database.h"
#include "navdisplay/navaid_search.h"
#include "platform/canvas/canvas.h"
#include "platform/thread.h"

namespace nd {

using navsearch::NavRecord;

inline constexpr const char* kGaugeName = "navdisplay";
inline constexpr const char* kModeFile = "Gauges/NDmode.tmp";
inline constexpr const char* kNavDataFolder = "NavData";
inline constexpr int kHeaderHeight = 17;
inline constexpr int kRoutePoints = 256;
inline constexpr int kTrailSize = 128;
inline constexpr double kPi = 3.141592653589793;

// --- Simulator variables ------------------------------------------------------------------------

enum Var : int {
    kHeading, kNav1Frequency, kDme1Distance, kDme2Distance, kDme1Speed, kSelectedHeading, kNav1Course,
    kNav1Deviation, kGlideSlopeDeviation, kNav1Flags, kGlideSlopeAvailable, kToFrom, kNav1Ident, kDeviationGate,
    kAdfAngle, kAdfIdent, kAdfActive, kMarker, kNav2Flags, kNav2Ident, kVor2Angle, kWindSpeed, kWindDirection,
    kLatitude, kLongitude, kMagneticVariation, kMapRotation,
    kVarCount
};

// The host's record of a variable and its value when the picture was last drawn.
struct Variable {
    gauge::VariableRecord record;
    gauge::VarValue previous;
};
extern std::array<Variable, kVarCount> variables;

void initialize_variables();
void look_up_variables();
double value(Var v);
double previous(Var v);
std::int32_t low_word(Var v);
std::int32_t previous_low_word(Var v);
const char* text(Var v);  // "" when the host gives none
void remember_drawn_values();

// --- Selections and their block ----------------------------------------------------------------

struct Selections {
    int nd_mode = 1;  // 1 arc, 0 centred
    int map_mode = 0; // 0 VOR, 1 MAP, 2 PLAN
    unsigned items = 0x1E;
    unsigned range = 320;
    ndblock::Field nd_field{}, map_field{}, item_field{}, range_field{};
};

void reset_selections();
void take_up_selections();    // at install: opens the block, applies the mode file
void first_active_update();   // after the start-up delay: the first search
bool write_mode_file();       // at kill, once the selections have been taken up
void close_block();
void publish_nd_mode();
void publish_map_mode();
void publish_items();
void publish_range();
// Adopts what the block holds (first step of the map-element check); false without a block.
bool check_block();

// --- Keyboard -----------------------------------------------------------------------------------

struct HotKey {
    int key = 9;    // Tab
    int flags = 8;  // bit 0 Shift, bit 1 Ctrl
};
HotKey read_hot_key();
void check_keyboard();   // every row but the hot key
bool hot_key_pressed();
void toggle_nd_mode();

// --- Geometry -----------------------------------------------------------------------------------

struct Geometry {
    int W = 0, H = 0;
    int cx = 0, cy = 0, R = 0;
};
void compute_geometry();

// The display element's value callback: the map-element check.
gauge::VarCallback map_element_callback();

// --- Flight plan --------------------------------------------------------------------------------

struct RunwayInfo {
    char airport[6] = {};
    char designator[8] = {};
    int heading = 0;
    int length = 0;
};

struct Route {
    RunwayInfo departure, arrival;
    std::array<NavRecord, kRoutePoints> points{};
};
void check_flight_plan();
void close_flight_plan();
// Parses a plan text of `size` bytes (zero bytes inside it included) into the route.
void parse_plan(const char* text, std::size_t size, Route& route);

// --- Search -------------------------------------------------------------------------------------

struct TrailEntry {
    float lat, lon;
    std::int32_t x, y;
};

struct Shared {
    navsearch::Lists lists;
    std::array<TrailEntry, kTrailSize> trail{};
    int trail_index = 0;
    double east_west_scale = 0;
};

void start_search_if_due();
void stop_search();

// --- Module state -------------------------------------------------------------------------------

struct ModuleState {
    Selections sel;
    Geometry geo;
    std::atomic<bool> redraw{false};
    int search_due = 0;  // 0 none, 1 due, 2 first search due
    std::atomic<bool> searching{false};
    navdb::Database db;
    std::optional<std::uint32_t> start_time;
    bool first_active = true;
    bool selections_taken = false;  // the block and mode file have been applied
    int picture = 0;
    char searched_ident[5] = {};    // NAV1 identifier at the last search start
    HotKey hot_key;
    Route route;
};
extern ModuleState state;
bool startup_delay_over();
extern Shared shared;
extern plat::Lock lists_lock;

// --- Drawing ------------------------------------------------------------------------------------

struct Fonts {
    std::shared_ptr<plat::Font> f11, f9, f7, data;
    int data_height = 9;
};
extern Fonts fonts;
void make_fonts(plat::Canvas& dc);
void release_fonts();

void draw_picture();  // the whole pass; presents the surface and flips the picture index

}  // namespace nd
