#pragma once
// The FMC's core compiled into a fuzz target: a stand-in for the host's services (variables read as
// an aircraft standing at the first waypoint of the shipped plans would give them; key events go
// nowhere) and the module's exports, so the pages and the guidance run as in the panel.

#include <map>

#include "fmcomputer/simvars.h"
#include "host/binding.h"

namespace fuzzfmc {

inline const std::map<int, double> kValues = {
    {71, 37.6188 / 8.998425275576774e-06}, {72, -122.3754 / 1.2789770768341246e-12},
    {73, 3000.0}, {61, 250.0}, {107, 168.0}, {109, 35000.0}, {116, 280.0}, {3, 10.0}, {4, 20.0}};

inline void lookup_var(gauge::VariableRecord* r) {
    const auto it = kValues.find(r->token);
    r->value.d = it == kValues.end() ? 0.0 : it->second;
}
inline void send_key_event(std::uint32_t, std::uint32_t) {}

inline gauge::PanelServices services() {
    gauge::PanelServices s{};
    s.lookup_var = lookup_var;
    s.initialize_var = lookup_var;
    s.send_key_event = send_key_event;
    return s;
}

inline gauge::GaugeHeader header = {610,     "fmc_fuzz", nullptr, nullptr, nullptr, nullptr, nullptr,
                                    nullptr, nullptr,    nullptr, 0,       nullptr, nullptr, nullptr};

}  // namespace fuzzfmc

GAUGE_MODULE(fuzzfmc::header)

namespace fuzzfmc {

// Once per process: the services in place and the variables bound.
inline void install() {
    static const bool done = [] {
        static gauge::PanelServices table = services();
        ImportTable.panels.table = &table;
        fmc::init_vars();
        return true;
    }();
    (void)done;
}

}  // namespace fuzzfmc
