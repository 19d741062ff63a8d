#include "host/binding.h"

extern "C" gauge::LinkageRecord Linkage;
extern "C" gauge::ImportTableRecord ImportTable;

namespace gauge {
PanelServices* services() { return ImportTable.panels.table; }
GaugeHeader* this_gauge() { return Linkage.gauges[0]; }

Element* standard_query() {
    GaugeHeader* g = this_gauge();
    if (services() && services()->query) services()->query(g->first_element);
    return g->first_element;
}

void standard_install(plat::ModuleHandle resources) {
    PanelServices* s = services();
    GaugeHeader* g = this_gauge();
    if (!s) return;
    s->install(g->first_element, resources);
    if (g->version < 700 && g->mouse_areas) {
        // A zero size lets the host take the background bitmap's own size.
        s->mouse_install(g->mouse_areas, g, Point{0, 0});
        s->mouse_attach(g->mouse_areas, g);
    }
}

void standard_initialize() {
    if (PanelServices* s = services()) s->initialize(this_gauge()->first_element);
}

void standard_update() {
    if (PanelServices* s = services()) s->update(this_gauge()->first_element);
}

void standard_generate(std::uint32_t phase) {
    if (PanelServices* s = services()) s->generate(this_gauge()->first_element, phase);
}

void standard_draw() {
    if (PanelServices* s = services()) s->draw(this_gauge()->first_element);
}

void standard_kill() {
    PanelServices* s = services();
    GaugeHeader* g = this_gauge();
    if (!s) return;
    if (g->version < 700 && g->mouse_areas) s->mouse_detach(g->mouse_areas, g);
    s->kill(g->first_element);
}

void initialize_variable(VariableRecord& record) {
    PanelServices* s = services();
    if (s && s->initialize_var) s->initialize_var(&record);
}

void lookup(VariableRecord& record) {
    if (PanelServices* s = services()) s->lookup_var(&record);
}

double lookup_double(std::int32_t token) {
    VariableRecord r = variable(token);
    lookup(r);
    return r.value.d;
}

std::int32_t lookup_int(std::int32_t token) {
    VariableRecord r = variable(token, var_integer);
    lookup(r);
    return r.value.i;
}

const char* lookup_text(std::int32_t token) {
    VariableRecord r = variable(token, var_text);
    r.value.text = nullptr;
    lookup(r);
    return r.value.text ? r.value.text : "";
}

void bind_named(VariableRecord& record, const char* name) {
    record.pointer = nullptr;
    if (PanelServices* s = services()) s->bind_named_var(&record, name);
}

void send_key_event(std::uint32_t event_id, std::uint32_t value) {
    if (PanelServices* s = services()) s->send_key_event(event_id, value);
}

bool toggle_panel_window(std::uint32_t window_id) {
    PanelServices* s = services();
    return s && s->toggle_panel_window(window_id);
}

const char* root_folder() {
    PanelServices* s = services();
    return s && s->root_folder ? s->root_folder() : ".";
}

void set_hidden(Element& element, bool hidden) {
    if (hidden)
        element.draw_flags |= draw_hidden;
    else
        element.draw_flags &= ~static_cast<std::uint32_t>(draw_hidden);
}

}  // namespace gauge
