// The 27 simulator variables, in the order the host looks them up, and their drawn values.

#include "host/binding.h"
#include "host/services.h"
#include "navdisplay/nd_state.h"

namespace nd {

std::array<Variable, kVarCount> variables;

namespace {

struct TokenForm {
    std::int32_t token;
    gauge::VarType type;
};

constexpr TokenForm kTokens[kVarCount] = {
    {81, gauge::var_double},   {24, gauge::var_integer}, {31, gauge::var_double},  {35, gauge::var_double},
    {32, gauge::var_double},   {107, gauge::var_double}, {45, gauge::var_double},  {40, gauge::var_double},
    {41, gauge::var_double},   {46, gauge::var_integer}, {44, gauge::var_double},  {42, gauge::var_integer},
    {47, gauge::var_text},     {49, gauge::var_double},  {39, gauge::var_double},  {19, gauge::var_text},
    {20, gauge::var_double},   {354, gauge::var_double}, {55, gauge::var_integer}, {56, gauge::var_text},
    {59, gauge::var_double},   {343, gauge::var_double}, {344, gauge::var_double}, {71, gauge::var_double},
    {72, gauge::var_double},   {82, gauge::var_double},  {86, gauge::var_double},
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
    gauge::PanelServices* s = gauge::services();
    for (int i = 0; i < kVarCount; ++i) {
        Variable& v = variables[static_cast<std::size_t>(i)];
        v.record = gauge::VariableRecord{kTokens[i].token, nullptr, kTokens[i].type, {0.0}};
        v.previous.d = 0.0;
        if (s && s->initialize_var) s->initialize_var(&v.record);
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
