// The 39 simulator variables of the flight display, in the order of its change table.

#include <algorithm>
#include <cmath>

#include "host/binding.h"
#include "host/tokens.h"
#include "flightdisplay/pfd_state.h"

namespace pfd {
namespace {

namespace token = gauge::token;

// In the order of Var.
constexpr std::array<std::int32_t, kVarCount> kTokens = {
    token::magnetic_heading, token::ap_heading, token::pitch, token::bank, token::indicated_airspeed, token::mach,
    token::max_operating_speed, token::sideslip, token::altitude_ft, token::altitude_m, token::ground_elevation,
    token::vertical_speed, token::units, token::flap_handle, token::on_ground, token::altimeter_setting,
    token::nav1_flags, token::nav1_deviation, token::nav1_course, token::glide_slope_deviation,
    token::glide_slope_available, token::ap_altitude, token::ap_vertical_speed, token::ap_speed, token::ap_master,
    token::ap_wing_leveler, token::ap_nav_hold, token::ap_heading_hold, token::ap_altitude_hold,
    token::ap_attitude_hold, token::ap_glide_slope_hold, token::ap_localizer_hold, token::ap_back_course,
    token::yaw_damper, token::ap_speed_hold, token::ap_mach_hold, token::ap_vertical_speed_hold,
    token::autothrottle_armed, token::takeoff_go_around,
};

std::array<Variable, kVarCount> make_variables() {
    std::array<Variable, kVarCount> vars{};
    for (std::size_t i = 0; i < vars.size(); ++i) vars[i].record = gauge::variable(kTokens[i]);
    return vars;
}

double number(const gauge::VariableRecord& r) {
    return r.type == gauge::var_integer ? static_cast<double>(r.value.i) : r.type == gauge::var_text ? 0.0 : r.value.d;
}

}  // namespace

std::array<Variable, kVarCount> variables = make_variables();

void initialize_variables() {
    for (Variable& v : variables) {
        v.old = 0.0;
        gauge::initialize_variable(v.record);
    }
}

void look_up_variables() {
    for (Variable& v : variables) gauge::lookup(v.record);
}

void remember_drawn_values() {
    for (Variable& v : variables) v.old = number(v.record);
}

double value(Var v) { return number(variables[static_cast<std::size_t>(v)].record); }

double old_value(Var v) { return variables[static_cast<std::size_t>(v)].old; }

bool on(Var v) { return value(v) != 0.0; }

double bounded(Var v, double limit) {
    const double d = value(v);
    return std::isnan(d) ? d : std::clamp(d, -limit, limit);
}

std::int32_t flags(Var v) {
    const gauge::VariableRecord& r = variables[static_cast<std::size_t>(v)].record;
    if (r.type == gauge::var_integer) return r.value.i;
    const double d = r.value.d;
    if (!std::isfinite(d) || d < -2147483648.0 || d > 4294967295.0) return 0;
    return static_cast<std::int32_t>(static_cast<std::int64_t>(d));
}

int trunc_int(double v) {
    if (std::isnan(v)) return 0;
    if (v >= kPixelLimit) return kPixelLimit;
    if (v <= -kPixelLimit) return -kPixelLimit;
    return static_cast<int>(v);
}

int scaled(double v, int numerator, int denominator) {
    if (denominator == 0 || std::isnan(v)) return 0;
    const double whole = std::trunc(v);
    constexpr long long kFar = kPixelLimit;
    if (std::fabs(whole) > 1e12) return whole > 0 ? kFar : -kFar;
    const long long r = static_cast<long long>(whole) * numerator / denominator;
    return static_cast<int>(std::clamp(r, -kFar, kFar));
}

int round_half_up(double v) {
    const int whole = trunc_int(v);
    return whole + (v - whole > 0.5 && whole < kPixelLimit ? 1 : 0);
}

}  // namespace pfd
