#include "fmcomputer/simvars.h"

#include <iterator>

#include "host/binding.h"

namespace fmc {

std::atomic<double> shared_ap_altitude{0.0};
std::atomic<double> shared_altitude_m{0.0};

namespace {

gauge::VariableRecord records[] = {
    gauge::variable(token::latitude), gauge::variable(token::longitude), gauge::variable(token::altitude_m),
    gauge::variable(token::indicated_airspeed), gauge::variable(token::wind_speed),
    gauge::variable(token::wind_direction), gauge::variable(token::true_heading),
    gauge::variable(token::magnetic_heading), gauge::variable(token::clock_hours),
    gauge::variable(token::clock_minutes), gauge::variable(token::ap_master),
    gauge::variable(token::autothrottle_armed), gauge::variable(token::ap_heading),
    gauge::variable(token::ap_altitude), gauge::variable(token::ap_vertical_speed),
    gauge::variable(token::ap_speed), gauge::variable(token::on_ground), gauge::variable(token::vertical_speed),
    gauge::variable(token::stall_warning), gauge::variable(token::ap_speed_hold), gauge::variable(token::units),
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
    for (auto& r : records) {
        r.value.d = 0.0;
        gauge::initialize_variable(r);
    }
}

void lookup_vars() {
    for (auto& r : records)
        if (r.token != token::units) gauge::lookup(r);
    shared_ap_altitude.store(var(token::ap_altitude));
    shared_altitude_m.store(var(token::altitude_m));
}

double var(int token) {
    const gauge::VariableRecord* r = find(token);
    return r ? value_of(*r) : 0.0;
}

double lookup_units() {
    gauge::VariableRecord* r = find(token::units);
    gauge::lookup(*r);
    return value_of(*r);
}

}  // namespace fmc
