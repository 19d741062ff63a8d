// The display element's value: the check that decides whether the picture must be drawn again
// and whether a navaid search is due. Returns the picture index.

#include <cmath>
#include <cstring>

#include "navdisplay/nd_state.h"

namespace nd {
namespace {

long long truncated(double v) {
    if (!(v == v)) return 0;
    if (v > 9e18) return 9000000000000000000LL;
    if (v < -9e18) return -9000000000000000000LL;
    return static_cast<long long>(v);
}

bool differs_truncated(Var v, double scale = 1.0) {
    return truncated(value(v) * scale) != truncated(previous(v) * scale);
}
bool differs_exact(Var v) { return value(v) != previous(v); }
bool differs_word(Var v) { return low_word(v) != previous_low_word(v); }

bool instruments_changed() {
    const bool vor_mode = state.sel.map_mode == 0;
    return differs_truncated(kHeading, 10.0) || differs_word(kNav1Flags) || differs_word(kNav2Flags) ||
           differs_exact(kAdfActive) || (vor_mode && differs_truncated(kNav1Deviation)) ||
           differs_truncated(kNav1Course) || (vor_mode && differs_truncated(kGlideSlopeDeviation)) ||
           (vor_mode && differs_truncated(kGlideSlopeAvailable)) || differs_exact(kDme1Distance) ||
           differs_exact(kDme2Distance) || differs_exact(kDme1Speed) || differs_exact(kSelectedHeading) ||
           (vor_mode && differs_word(kToFrom)) || (vor_mode && differs_exact(kAdfAngle)) ||
           (vor_mode && differs_exact(kMarker)) || (vor_mode && differs_truncated(kVor2Angle)) ||
           differs_exact(kWindSpeed) || differs_exact(kWindDirection);
}

constexpr double kLonRedrawScale = 1.20170654789094e-10;

void check_position() {
    if (differs_truncated(kLatitude, 0.001) || differs_truncated(kLongitude, kLonRedrawScale)) state.redraw = true;
    const bool same_place = !differs_truncated(kLatitude, 0.0001) && !differs_truncated(kLongitude, 1e-11);
    const bool same_station = std::strncmp(text(kNav1Ident), state.searched_ident, 5) == 0;
    if (!(same_place && same_station) && !state.search_due) state.search_due = 1;
}

double map_element_check(gauge::VariableRecord*) {
    const double picture = state.picture;
    if (check_block()) {
        check_keyboard();
        if (state.redraw) return picture;
    }
    if (hot_key_pressed()) {
        toggle_nd_mode();
        if (state.sel.map_mode == 0) return picture;
        if (!state.search_due) state.search_due = 1;
    } else if (instruments_changed()) {
        state.redraw = true;
    }
    if (state.sel.map_mode == 0) return picture;
    check_position();
    return picture;
}

}  // namespace

gauge::VarCallback map_element_callback() { return map_element_check; }

void compute_geometry() {
    Geometry& g = state.geo;
    g.cx = g.W / 2;
    if (state.sel.nd_mode == 1) {
        g.cy = g.H * 85 / 100;
        g.R = g.cy - kHeaderHeight;
    } else {
        g.R = (g.H - kHeaderHeight) / 2;
        g.cy = g.R + kHeaderHeight;
    }
}

}  // namespace nd
