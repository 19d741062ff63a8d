// The 39 simulator variables of the flight display, in the order of its change table.

#include <algorithm>
#include <cmath>

#include "host/binding.h"
#include "flightdisplay/pfd_state.h"

namespace pfd {
namespace {

constexpr std::array<std::int32_t, kVarCount> kTokens = {
    81, 107, 78, 80, 61, 64, 63, 69, 74, 73, 2, 65, 335, 328, 60, 76, 46, 40, 45, 41, 44, 109, 120, 116,
    103, 104, 105, 106, 108, 110, 111, 112, 113, 114, 115, 117, 119, 123, 124,
};

std::array<Variable, kVarCount> make_variables() {
    std::array<Variable, kVarCount> vars{};
    for (std::size_t i = 0; i < vars.size(); ++i) {
        vars[i].record.token = kTokens[i];
        vars[i].record.type = gauge::var_double;
        vars[i].record.value.d = 0.0;
    }
    return vars;
}

double number(const gauge::VariableRecord& r) {
    return r.type == gauge::var_integer ? static_cast<double>(r.value.i) : r.type == gauge::var_text ? 0.0 : r.value.d;
}

}  // namespace

std::array<Variable, kVarCount> variables = make_variables();

void initialize_variables() {
    gauge::PanelServices* s = gauge::services();
    for (Variable& v : variables) {
        v.old = 0.0;
        if (s && s->initialize_var) s->initialize_var(&v.record);
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
