// The 27 simulator variables, in the order the host looks them up, and their drawn values.

#include "host/binding.h"
#include "host/tokens.h"
#include "navdisplay/nd_state.h"

namespace nd {

std::array<Variable, kVarCount> variables;

namespace {

namespace token = gauge::token;

// In the order of Var.
constexpr gauge::VariableRecord kRecords[kVarCount] = {
    gauge::variable(token::magnetic_heading),
    gauge::variable(token::nav1_frequency, gauge::var_integer),
    gauge::variable(token::dme1_distance),
    gauge::variable(token::dme2_distance),
    gauge::variable(token::dme1_speed),
    gauge::variable(token::ap_heading),
    gauge::variable(token::nav1_course),
    gauge::variable(token::nav1_deviation),
    gauge::variable(token::glide_slope_deviation),
    gauge::variable(token::nav1_flags, gauge::var_integer),
    gauge::variable(token::glide_slope_available),
    gauge::variable(token::nav1_to_from, gauge::var_integer),
    gauge::variable(token::nav1_ident, gauge::var_text),
    gauge::variable(token::nav1_deviation_gate),
    gauge::variable(token::adf_bearing),
    gauge::variable(token::adf_ident, gauge::var_text),
    gauge::variable(token::adf_active),
    gauge::variable(token::marker),
    gauge::variable(token::nav2_flags, gauge::var_integer),
    gauge::variable(token::nav2_ident, gauge::var_text),
    gauge::variable(token::vor2_bearing),
    gauge::variable(token::wind_speed),
    gauge::variable(token::wind_direction),
    gauge::variable(token::latitude),
    gauge::variable(token::longitude),
    gauge::variable(token::magnetic_variation),
    gauge::variable(token::true_heading),
};

double as_double(const gauge::VariableRecord& r, const gauge::VarValue& v) {
    switch (r.type) {
        case gauge::var_integer: return v.i;
        case gauge::var_text: return 0.0;
        default: return v.d;
    }
}

}  // namespace

void initialize_variables() {
    for (int i = 0; i < kVarCount; ++i) {
        Variable& v = variables[static_cast<std::size_t>(i)];
        v.record = kRecords[i];
        v.previous.d = 0.0;
        gauge::initialize_variable(v.record);
    }
}

void look_up_variables() {
    for (Variable& v : variables) gauge::lookup(v.record);
}

double value(Var v) {
    const Variable& x = variables[static_cast<std::size_t>(v)];
    return as_double(x.record, x.record.value);
}

double previous(Var v) {
    const Variable& x = variables[static_cast<std::size_t>(v)];
    return as_double(x.record, x.previous);
}

// A flag word the host happens to hold as a double is taken by its integer value.
std::int32_t word_of(const gauge::VariableRecord& r, const gauge::VarValue& v) {
    if (r.type == gauge::var_integer) return v.i;
    if (r.type == gauge::var_double && v.d > -2147483648.0 && v.d < 2147483648.0) return static_cast<std::int32_t>(v.d);
    return 0;
}

std::int32_t low_word(Var v) {
    const Variable& x = variables[static_cast<std::size_t>(v)];
    return word_of(x.record, x.record.value);
}
std::int32_t previous_low_word(Var v) {
    const Variable& x = variables[static_cast<std::size_t>(v)];
    return word_of(x.record, x.previous);
}

const char* text(Var v) {
    const Variable& x = variables[static_cast<std::size_t>(v)];
    if (x.record.type != gauge::var_text || !x.record.value.text) return "";
    return x.record.value.text;
}

void remember_drawn_values() {
    for (Var v : {kHeading, kNav1Flags, kNav2Flags, kAdfActive, kNav1Deviation, kNav1Course, kGlideSlopeDeviation,
                  kGlideSlopeAvailable, kDme1Distance, kDme2Distance, kDme1Speed, kSelectedHeading, kToFrom,
                  kAdfAngle, kMarker, kVor2Angle, kWindSpeed, kWindDirection, kLatitude, kLongitude}) {
        Variable& x = variables[static_cast<std::size_t>(v)];
        x.previous = x.record.value;
    }
}

}  // namespace nd
