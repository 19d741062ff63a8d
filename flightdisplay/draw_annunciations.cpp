// The flight mode annunciations above the attitude window: autothrottle, lateral and vertical
// columns, engaged modes in the top row and armed modes below.

#include "flightdisplay/pfd_state.h"
#include "surface/display_surface.h"

namespace pfd {
namespace {

constexpr int kWhite = 1, kEngaged = 11, kArmed = 12, kFlightDirector = 13;

struct Columns {
    int autothrottle, lateral, vertical;
    int engaged_row, armed_row;
};

Columns columns() {
    const Layout& g = layout;
    return {g.xc - 2 * g.r / 3, g.xc, g.xc + 2 * g.r / 3, 0, g.e};
}

void mode(plat::Canvas& dc, int slot, int x, int y, const char* name) {
    text(dc, kFontE, colour(slot), kAlignTopCentre, x, y, name);
}

// The first armed lateral mode on: navigation hold, back course, localizer.
const char* armed_lateral() {
    if (on(kNavHold)) return "NAV";
    if (on(kBackCourse)) return "BC ";
    if (on(kLocalizerHold)) return "LOC";
    return nullptr;
}

void draw_separators(plat::Canvas& dc) {
    const Layout& g = layout;
    dc.select_pen(surface::SurfacePen(kWhite));
    line(dc, {g.xc - g.r / 3, 0}, {g.xc - g.r / 3, 2 * g.e});
    line(dc, {g.xc + g.r / 3, 0}, {g.xc + g.r / 3, 2 * g.e});
}

void draw_autopilot_modes(plat::Canvas& dc, const Columns& c) {
    const Layout& g = layout;
    text(dc, kFontF, colour(kEngaged), kAlignTopCentre, g.xc, g.yc - g.r - g.t - 2, "CMD");
    const char* nav = armed_lateral();
    if (!on(kHeadingHold) && !on(kWingLeveler) && !on(kAttitudeHold)) {
        if (nav) mode(dc, kEngaged, c.lateral, c.armed_row, nav);
    } else {
        mode(dc, kEngaged, c.lateral, c.engaged_row, on(kHeadingHold) ? "HDG" : on(kWingLeveler) ? "LVL" : "ATT");
        if (nav) mode(dc, kArmed, c.lateral, c.armed_row, nav);
    }
    if (on(kAltitudeHold)) {
        mode(dc, kEngaged, c.vertical, c.engaged_row, "ALT");
        if (on(kGlideslopeHold)) mode(dc, kArmed, c.vertical, c.armed_row, "G / S");
    } else if (on(kAttitudeHold)) {
        mode(dc, kEngaged, c.lateral, c.engaged_row, "ATT");
        if (on(kGlideslopeHold)) mode(dc, kArmed, c.vertical, c.armed_row, "G / S");
    } else if (on(kGlideslopeHold)) {
        mode(dc, kEngaged, c.vertical, c.armed_row, "G / S");
    } else if (on(kVerticalSpeedHold)) {
        mode(dc, kEngaged, c.vertical, c.engaged_row, "V / S");
    }
}

void draw_flight_director_modes(plat::Canvas& dc, const Columns& c) {
    const Layout& g = layout;
    text(dc, kFontF, colour(kFlightDirector), kAlignTopCentre, g.xc, g.yc - g.r - g.t - 2, "FD");
    if (state.fd_mode == 1) {
        mode(dc, kFlightDirector, c.vertical, c.engaged_row, "ALT");
        mode(dc, kFlightDirector, c.lateral, c.engaged_row, "HDG");
        return;
    }
    mode(dc, kFlightDirector, c.vertical, c.engaged_row, on(kGlideslopeAvailable) ? "G / S" : "ALT");
    if (!(flags(kNavFlags) & 0x08)) mode(dc, kFlightDirector, c.lateral, c.engaged_row, "NAV");
}

void draw_thrust_modes(plat::Canvas& dc, const Columns& c) {
    const char* thrust = on(kAirspeedHold) ? "SPD" : on(kMachHold) ? "MACH" : on(kTakeoffGoAround) ? "TO/GA"
                         : on(kAutothrottle) ? "A / T" : nullptr;
    if (thrust) mode(dc, kEngaged, c.autothrottle, c.engaged_row, thrust);
    if (on(kYawDamper)) mode(dc, kEngaged, c.autothrottle, c.armed_row, "Y / D");
}

}  // namespace

void draw_annunciations(plat::Canvas& dc) {
    const plat::Rect& m = layout.modes;
    surface::FillSurfaceRect(m.left, m.top, m.right, m.bottom);
    draw_separators(dc);
    const Columns c = columns();
    if (on(kAutopilot))
        draw_autopilot_modes(dc, c);
    else if (state.fd_mode != 0)
        draw_flight_director_modes(dc, c);
    draw_thrust_modes(dc, c);
}

}  // namespace pfd
