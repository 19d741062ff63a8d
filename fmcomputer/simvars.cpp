#include "fmcomputer/simvars.h"

#include <iterator>

#include "host/binding.h"

namespace fmc {

std::atomic<double> shared_ap_altitude{0.0};
std::atomic<double> shared_altitude_m{0.0};

namespace {

gauge::VariableRecord records[] = {
    {tok_latitude, nullptr, gauge::var_double, {0.0}},       {tok_longitude, nullptr, gauge::var_double, {0.0}},
    {tok_altitude_m, nullptr, gauge::var_double, {0.0}},     {tok_airspeed, nullptr, gauge::var_double, {0.0}},
    {tok_wind_speed, nullptr, gauge::var_double, {0.0}},     {tok_wind_direction, nullptr, gauge::var_double, {0.0}},
    {tok_heading, nullptr, gauge::var_double, {0.0}},        {tok_heading_second, nullptr, gauge::var_double, {0.0}},
    {tok_clock_hours, nullptr, gauge::var_double, {0.0}},    {tok_clock_minutes, nullptr, gauge::var_double, {0.0}},
    {tok_ap_master, nullptr, gauge::var_double, {0.0}},      {tok_autothrottle, nullptr, gauge::var_double, {0.0}},
    {tok_ap_heading, nullptr, gauge::var_double, {0.0}},     {tok_ap_altitude, nullptr, gauge::var_double, {0.0}},
    {tok_ap_vertical_speed, nullptr, gauge::var_double, {0.0}}, {tok_ap_speed, nullptr, gauge::var_double, {0.0}},
    {tok_on_ground, nullptr, gauge::var_double, {0.0}},      {tok_vertical_speed, nullptr, gauge::var_double, {0.0}},
    {tok_stall, nullptr, gauge::var_double, {0.0}},          {tok_ap_speed_hold, nullptr, gauge::var_double, {0.0}},
    {tok_units, nullptr, gauge::var_double, {0.0}},
};

// A token delivered as an integer still reads as a number here.
double value_of(const gauge::VariableRecord& r) {
    return r.type == gauge::var_integer ? static_cast<double>(r.value.i) : r.type == gauge::var_text ? 0.0 : r.value.d;
}

gauge::VariableRecord* find(int token) {
    for (auto& r : records)
        if (r.token == token) return &r;
    return nullptr;
}

}  // namespace

void init_vars() {
    gauge::PanelServices* s = gauge::services();
    for (auto& r : records) {
        r.value.d = 0.0;
        if (s && s->initialize_var) s->initialize_var(&r);
    }
}

void lookup_vars() {
    for (auto& r : records)
        if (r.token != tok_units) gauge::lookup(r);
    shared_ap_altitude.store(var(tok_ap_altitude));
    shared_altitude_m.store(var(tok_altitude_m));
}

double var(int token) {
    const gauge::VariableRecord* r = find(token);
    return r ? value_of(*r) : 0.0;
}

double lookup_units() {
    gauge::VariableRecord* r = find(tok_units);
    gauge::lookup(*r);
    return value_of(*r);
}

}  // namespace fmc
