// The panel-services table handed to every module. Each entry is a plain function, as a module
// calls it; it finds the panel and the gauge being called through the call scope.

#include <atomic>
#include <cstring>

#include "host/services.h"
#include "panelhost/panel.h"

namespace panelhost {
namespace {

// The panel and gauge being called on the panel thread; worker threads of modules see neither and
// reach the panel that loaded them through g_host.
thread_local Panel* g_panel = nullptr;
thread_local GaugeInstance* g_gauge = nullptr;
std::atomic<Panel*> g_host{nullptr};

// The gauge an element belongs to: the one being called, or, for calls outside a routine (a
// module keeping its element pointer), the one recorded at install.
GaugeInstance* gauge_of(gauge::Element* e) {
    if (e && e->host) return static_cast<ElementState*>(e->host)->gauge;
    return g_gauge;
}

void svc_query(gauge::Element*) {}

void svc_install(gauge::Element* first, plat::ModuleHandle resources) {
    if (g_panel && g_gauge && first) g_panel->install_elements(*g_gauge, first, resources);
}

void svc_initialize(gauge::Element* first) {
    if (GaugeInstance* g = gauge_of(first)) g->mark_changed();
}

void svc_update(gauge::Element* first) {
    GaugeInstance* g = gauge_of(first);
    if (g_panel && g && first) g_panel->update_elements(*g, first);
}

void svc_generate(gauge::Element*, std::uint32_t) {}
void svc_draw(gauge::Element*) {}

void svc_kill(gauge::Element* first) {
    GaugeInstance* g = gauge_of(first);
    if (g_panel && g && first) g_panel->kill_elements(*g, first);
}

void svc_mouse_install(gauge::MouseArea* list, gauge::GaugeHeader*, gauge::Point) {
    if (g_panel && g_gauge && list) g_panel->mouse_install(*g_gauge, list);
}

void svc_mouse_attach(gauge::MouseArea* list, gauge::GaugeHeader*) {
    if (g_panel && g_gauge && list) g_panel->mouse_attach(*g_gauge, list, true);
}

void svc_mouse_detach(gauge::MouseArea* list, gauge::GaugeHeader*) {
    if (g_panel && g_gauge && list) g_panel->mouse_attach(*g_gauge, list, false);
}

bool svc_toggle_window(std::uint32_t id) { return g_panel && g_panel->toggle_window(id); }

void svc_send_key_event(std::uint32_t id, std::uint32_t value) {
    if (g_panel) {
        g_panel->send_key_event(g_gauge ? g_gauge->name() : "host", id, value);
        return;
    }
    // Off the panel thread: the sender is known by the module its call comes from.
    Panel* host = g_host.load();
    if (!host) return;
    plat::ModuleHandle module = plat::module_of_address(__builtin_return_address(0));
    host->send_key_event(host->gauge_name_of(module), id, value);
}

void svc_initialize_var(gauge::VariableRecord* record) {
    if (g_panel && record) g_panel->variables().lookup(*record);
}

void svc_bind_named_var(gauge::VariableRecord* record, const char* name) {
    if (!record) return;
    record->pointer = g_panel && name ? g_panel->variables().named(name) : nullptr;
}

void svc_lookup_var(gauge::VariableRecord* record) {
    if (g_panel && record) g_panel->variables().lookup(*record);
}

bool svc_element_image(gauge::Element* element, std::int32_t picture, gauge::ElementImage* out) {
    return g_panel && element && out && g_panel->element_image(element, picture, *out);
}

const char* svc_root_folder() { return g_panel ? g_panel->options().root.c_str() : "."; }

gauge::PanelServices make_table() {
    gauge::PanelServices t{};
    t.query = svc_query;
    t.install = svc_install;
    t.initialize = svc_initialize;
    t.update = svc_update;
    t.generate = svc_generate;
    t.draw = svc_draw;
    t.kill = svc_kill;
    t.mouse_install = svc_mouse_install;
    t.mouse_attach = svc_mouse_attach;
    t.mouse_detach = svc_mouse_detach;
    t.toggle_panel_window = svc_toggle_window;
    t.send_key_event = svc_send_key_event;
    t.initialize_var = svc_initialize_var;
    t.bind_named_var = svc_bind_named_var;
    t.lookup_var = svc_lookup_var;
    t.element_image = svc_element_image;
    t.root_folder = svc_root_folder;
    return t;
}

}  // namespace

gauge::PanelServices* panel_services() {
    static gauge::PanelServices table = make_table();
    return &table;
}

Panel* current_panel() { return g_panel; }
void set_host_panel(Panel* panel) { g_host = panel; }
GaugeInstance* current_gauge() { return g_gauge; }

CallScope::CallScope(Panel& panel, GaugeInstance* gauge) : previous_panel_(g_panel), previous_gauge_(g_gauge) {
    g_panel = &panel;
    g_gauge = gauge;
}

CallScope::~CallScope() {
    g_panel = previous_panel_;
    g_gauge = previous_gauge_;
}

}  // namespace panelhost
