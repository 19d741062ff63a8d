#pragma once
// The module side of the host binding: how a module declares its exports and reaches the host.
//
// A module defines its gauge header and exports it with GAUGE_MODULE(header). The standard
// routines forward to the host's services, as a gauge without special needs wants; a module's own
// routines call them first and then do their own work.

#include "host/records.h"
#include "host/services.h"

namespace gauge {

// The host's services, once the host has loaded this module (null before).
PanelServices* services();
// This module's gauge (from its Linkage).
GaugeHeader* this_gauge();

// Standard routines. Install and kill also install/attach and detach the gauge's mouse areas for
// version-610 gauges (the host does it for version 700).
void standard_install(plat::ModuleHandle resources);
void standard_initialize();
void standard_update();
void standard_generate(std::uint32_t phase);
void standard_draw();
void standard_kill();
Element* standard_query();

// Simulator variables. A module initializes each record it keeps at install, then looks it up.
void initialize_variable(VariableRecord& record);
void lookup(VariableRecord& record);
double lookup_double(std::int32_t token);
std::int32_t lookup_int(std::int32_t token);
const char* lookup_text(std::int32_t token);  // "" when unset
void bind_named(VariableRecord& record, const char* name);

void send_key_event(std::uint32_t event_id, std::uint32_t value = 0);
bool toggle_panel_window(std::uint32_t window_id);
// The simulator's root folder ("." until the host says otherwise); module files live relative to it.
const char* root_folder();

// Showing and hiding an element at run time (draw flag bit 30).
void set_hidden(Element& element, bool hidden);

}  // namespace gauge

// Exports "Linkage" and "ImportTable" for the module's one gauge.
#define GAUGE_MODULE(header)                                                                     \
    extern "C" {                                                                                 \
    __attribute__((visibility("default"))) gauge::LinkageRecord Linkage = {                      \
        gauge::kLinkageModuleId, nullptr, nullptr, 0, 0, 0, {&(header), nullptr}};                \
    __attribute__((visibility("default"))) gauge::ImportTableRecord ImportTable = {              \
        {gauge::kPanelsImportId, nullptr}, {0, nullptr}};                                         \
    }
