#pragma once
// Drawing helpers shared by the files of the drawing pass: pens and texts by colour slot, shapes
// turned with the displays' fixed-point rotation, and the map projection.

#include <cmath>
#include <initializer_list>
#include <string_view>

#include "navdisplay/nd_state.h"
#include "platform/canvas/canvas.h"

namespace nd::draw {

using plat::Point;

inline constexpr double kDegrees = kPi / 180.0;
inline constexpr plat::ColorRef kRed = plat::rgb(255, 0, 0);

// trunc() toward zero as an int, held inside GDI's coordinate range (NaN gives 0).
int trunc_int(double v);
// Rounded half away from zero.
int round_int(double v);

void use_slot(plat::Canvas& dc, int slot);  // pen and text colour of a slot
plat::ColorRef surface_colour(int slot);
void polyline(plat::Canvas& dc, std::initializer_list<Point> points);
// The points turned about (cx, cy) by angle radians (counter-clockwise), then joined.
void rotated_polyline(plat::Canvas& dc, std::initializer_list<Point> points, int cx, int cy, double angle);
Point rotate(Point p, int cx, int cy, double angle);
void line(plat::Canvas& dc, Point a, Point b);  // a to b, b left out, position kept
void circle(plat::Canvas& dc, int x, int y, int r);  // outline only
void text(plat::Canvas& dc, const std::shared_ptr<plat::Font>& font, plat::ColorRef colour, unsigned align, int x,
          int y, std::string_view s);

// Map modes 1 and 2: degrees to screen pixels about the aircraft, turned in MAP mode.
struct Projection {
    double s = 0;     // pixels per nautical mile
    double lat0 = 0, lon0 = 0;
    double k = 0;     // nautical miles per degree of longitude (from the last search)
    bool turn = false;
    double t = 0;     // map rotation, radians
    int cx = 0, cy = 0;
};
Projection make_projection(double east_west_scale);
// The point of (lat, lon); lon is corrected across the date line in place.
Point project(const Projection& p, float lat, float& lon);
// Whether a symbol at y is drawn at all.
bool visible(int y);

// --- The pass's parts -------------------------------------------------------------------------

void draw_compass(plat::Canvas& dc);
void draw_heading_box(plat::Canvas& dc);
void draw_wind(plat::Canvas& dc);
void draw_selected_heading(plat::Canvas& dc);
void draw_adf_needle(plat::Canvas& dc);
void draw_vor2_needle(plat::Canvas& dc);
void draw_vor_mode(plat::Canvas& dc);
void draw_nav1_data(plat::Canvas& dc);
void draw_bottom_texts(plat::Canvas& dc);
void draw_north_box(plat::Canvas& dc);
void draw_database_error(plat::Canvas& dc);
void draw_map(plat::Canvas& dc);

// One record of a list or the route: its symbol and label; returns its screen position.
struct SymbolPass {
    const Projection* projection;
    char last_airport[8] = {};
};
Point draw_symbol(plat::Canvas& dc, SymbolPass& pass, NavRecord& record);
// The localizer course (whole degrees) of a listed VOR-file record.
int localizer_course_of(const NavRecord& record);

}  // namespace nd::draw
