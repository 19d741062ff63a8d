// The change detector: compares what the simulator says now with what was drawn last, and marks
// the sections to redraw. Thresholds keep the simulator's noise from redrawing anything.

#include <cmath>

#include "flightdisplay/pfd_state.h"
#include "platform/keyboard.h"

namespace pfd {
namespace {

enum class Compare { tenths, tens, whole, any, integer };

struct Rule {
    Var var;
    Compare compare;
    std::uint8_t dirty;
    bool attitude_in_fd;  // the FD bars follow this value too
};

constexpr Rule kRules[] = {
    {kHeading, Compare::tenths, kDirtyHeading, true},
    {kPitch, Compare::tenths, kDirtyAttitude, false},
    {kBank, Compare::tenths, kDirtyAttitude, false},
    {kSideslip, Compare::any, kDirtyAttitude, false},
    {kAirspeed, Compare::tenths, kDirtySpeed, false},
    {kAirspeedSelect, Compare::any, kDirtySpeed, false},
    {kMach, Compare::tens, kDirtySpeed, false},
    {kHeadingSelect, Compare::any, kDirtyHeading, true},
    {kAltitude, Compare::tenths, kDirtyAltitude, true},
    {kVerticalSpeed, Compare::tens, kDirtyAltitude, true},
    {kAltitudeSelect, Compare::any, kDirtyAltitude, false},
    {kAltitudeMetres, Compare::whole, kDirtyAltitude, false},
    {kGroundElevation, Compare::whole, kDirtyAltitude, false},
    {kVerticalSpeedSelect, Compare::any, 0, true},
    {kLocalizerNeedle, Compare::whole, 0, true},
    {kSelectedCourse, Compare::whole, 0, true},
    {kGlideslopeNeedle, Compare::whole, 0, true},
    {kAutopilot, Compare::any, kDirtyModes, false},
    {kWingLeveler, Compare::any, kDirtyModes, false},
    {kNavHold, Compare::any, kDirtyModes, false},
    {kHeadingHold, Compare::any, kDirtyModes, false},
    {kAltitudeHold, Compare::any, kDirtyModes, false},
    {kGlideslopeHold, Compare::any, kDirtyModes, false},
    {kLocalizerHold, Compare::any, kDirtyModes, false},
    {kBackCourse, Compare::any, kDirtyModes, false},
    {kAirspeedHold, Compare::any, kDirtyModes, false},
    {kMachHold, Compare::any, kDirtyModes, false},
    {kVerticalSpeedHold, Compare::any, kDirtyModes, false},
    {kAutothrottle, Compare::any, kDirtyModes, false},
    {kTakeoffGoAround, Compare::any, kDirtyModes, false},
    {kYawDamper, Compare::any, kDirtyModes, false},
    {kAttitudeHold, Compare::any, kDirtyModes, false},
    {kGlideslopeAvailable, Compare::any, kDirtyModes, false},
    {kNavFlags, Compare::integer, kDirtyModes, false},
    {kAltimeterSetting, Compare::any, kDirtyAltimeter, false},
};

std::int32_t as_flag_word(double v) {
    if (!std::isfinite(v) || v < -2147483648.0 || v > 4294967295.0) return 0;
    return static_cast<std::int32_t>(static_cast<std::int64_t>(v));
}

bool differs(const Rule& rule) {
    const double now = value(rule.var), then = old_value(rule.var);
    switch (rule.compare) {
        case Compare::tenths: return std::trunc(now * 10.0) != std::trunc(then * 10.0);
        case Compare::tens: return std::trunc(now * 0.1) != std::trunc(then * 0.1);
        case Compare::whole: return std::trunc(now) != std::trunc(then);
        case Compare::any: return now != then;
        case Compare::integer: return flags(rule.var) != as_flag_word(then);
    }
    return false;
}

void mark(std::uint8_t sections) {
    state.changed = true;
    state.dirty |= sections;
}

void adopt_fd_mode_from_block() {
    const std::optional<int> mode = fd_link_read();
    if (mode && *mode != state.fd_mode) {
        state.fd_mode = *mode;
        mark(kDirtyAttitude | kDirtyModes);
    }
}

bool shortcut_pressed() {
    if (!plat::key_pressed_since_last_query(state.shortcut.key)) return false;
    const bool want_shift = (state.shortcut.mask & 1) != 0, want_ctrl = (state.shortcut.mask & 2) != 0;
    return plat::key_down(plat::vk::shift) == want_shift && plat::key_down(plat::vk::control) == want_ctrl;
}

void apply_shortcut() {
    if (!shortcut_pressed()) return;
    state.fd_mode = next_fd_mode(state.fd_mode);
    fd_link_write(state.fd_mode);
    mark(kDirtyAttitude | kDirtyModes);
}

void compare_variables() {
    const std::uint8_t fd_attitude = state.fd_mode != 0 ? kDirtyAttitude : 0;
    for (const Rule& rule : kRules)
        if (differs(rule)) mark(static_cast<std::uint8_t>(rule.dirty | (rule.attitude_in_fd ? fd_attitude : 0)));
}

void follow_unit_system() {
    const double units = value(kUnitSystem);
    if (units == state.last_unit_system) return;
    state.last_unit_system = units;
    state.vs_factor = units == 2.0 ? 0.256 : 0.780288;
}

}  // namespace

int next_fd_mode(int mode) {
    const bool autopilot = on(kAutopilot);
    if (autopilot && (on(kHeadingHold) || on(kAltitudeHold))) return mode == 0 ? 1 : 0;
    if (autopilot && (on(kNavHold) || on(kBackCourse) || on(kLocalizerHold))) return mode == 0 ? 2 : 0;
    return mode == 0 ? 1 : mode == 1 ? 2 : 0;
}

double detect_changes(gauge::VariableRecord*) {
    state.changed = false;
    state.dirty = 0;
    adopt_fd_mode_from_block();
    apply_shortcut();
    compare_variables();
    follow_unit_system();
    if (state.changed || state.flip_pending) state.last_returned = state.last_returned == 0.0 ? 1.0 : 0.0;
    state.flip_pending = false;
    return state.last_returned;
}

}  // namespace pfd
