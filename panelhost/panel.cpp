// The panel cycle: the gauges updated, their elements' values taken, then generated and drawn; the
// failures and windows the simulator toggles; the key events the gauges send.
// (Loading, composition and mouse routing have files of their own: panel_loading.cpp,
// panel_composition.cpp, panel_mouse.cpp.)

#include "panelhost/panel.h"

#include <cmath>

#include "platform/clock.h"

namespace panelhost {
namespace {

bool same_value(double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); }

}  // namespace

Panel::Panel(PanelOptions options, VariableStore& variables)
    : options_(std::move(options)), variables_(variables) {}

Panel::~Panel() { unload(); }

void Panel::update_element(ElementState& s) {
    gauge::Element& e = *s.element;
    bool failed_hidden = false, frozen = false;
    if (e.failures)
        for (const gauge::FailureRecord* f = e.failures; f->key != 0 || f->action != 0; ++f) {
            if (!failure_active(f->key)) continue;
            if (f->action == 3) failed_hidden = true;
            if (f->action == 1) frozen = true;
        }
    bool hidden = failed_hidden || (e.draw_flags & gauge::draw_hidden);
    if (hidden != s.hidden) {
        s.hidden = hidden;
        s.gauge->mark_changed();
    }
    if (frozen || e.kind == gauge::element_static) return;

    if (e.source.token >= 0) variables_.lookup(e.source);
    double v = 0.0;
    bool version700 = s.gauge->header->version >= 700;
    if (version700 && e.on_element)
        v = e.on_element(&e);
    else if (e.on_var)
        v = e.on_var(&e.source);
    else if (e.on_element)
        v = e.on_element(&e);
    else if (e.source.type == gauge::var_integer)
        v = e.source.value.i;
    else if (e.source.type == gauge::var_text)
        v = 0.0;
    else
        v = e.source.value.d;

    if (e.kind == gauge::element_string) {
        if (!s.text_buffer.empty()) {
            s.text_buffer.back() = '\0';
            if (s.shown_text != s.text_buffer.data()) {
                s.shown_text = s.text_buffer.data();
                s.gauge->mark_changed();
            }
        }
    }
    if (!s.has_value || !same_value(v, s.value)) {
        s.has_value = true;
        s.value = v;
        s.gauge->mark_changed();
    }
}

void Panel::update_elements(GaugeInstance& g, gauge::Element* first) {
    (void)first;
    for (auto& s : g.elements) update_element(*s);
}

void Panel::cycle(double t) {
    now_ = t;
    drain_key_events();
    if (holding_ && held_.area) fire(held_, gauge::mouse_repeat);
    for (auto& g : gauges_) {
        if (!g->installed) continue;
        CallScope scope(*this, g.get());
        gauge::GaugeHeader* h = g->header;
        if (h->update) h->update();
        if (h->version >= 700 && h->callback) h->callback(h, gauge::kServiceAfterUpdate, 0);
    }
    for (auto& g : gauges_) {
        if (!g->installed) continue;
        CallScope scope(*this, g.get());
        if (g->header->generate) g->header->generate(0);
        if (g->header->draw) g->header->draw();
    }
}

bool Panel::toggle_window(std::uint32_t ident) {
    bool found = false;
    for (auto& w : windows_)
        if (static_cast<std::uint32_t>(w->config.ident) == ident) {
            w->open = !w->open;
            w->whole_at = ++w->changes;
            found = true;
        }
    return found;
}

void Panel::set_failure(int key, bool active) {
    if (active)
        failures_.insert(key);
    else
        failures_.erase(key);
}

void Panel::send_key_event(const std::string& gauge, std::uint32_t id, std::uint32_t value) {
    // Stamped with the host's clock when sent, so paced events keep their spacing in the log.
    KeyEvent event{static_cast<double>(plat::now_ms()) / 1000.0, id, value, gauge};
    if (std::this_thread::get_id() != panel_thread_) {
        std::lock_guard lock(queue_mutex_);
        queued_events_.push_back(std::move(event));
        return;
    }
    drain_key_events();
    apply_key_event(std::move(event));
}

void Panel::apply_key_event(KeyEvent event) {
    ++key_events_sent_;
    if (log_key_event) log_key_event(event);
    key_events_.push_back(std::move(event));
    if (key_events_.size() > kRecentKeyEvents) key_events_.pop_front();
    if (on_key_event) on_key_event(key_events_.back().id, key_events_.back().value);
}

void Panel::drain_key_events() {
    std::vector<KeyEvent> pending;
    {
        std::lock_guard lock(queue_mutex_);
        pending.swap(queued_events_);
    }
    for (auto& e : pending) apply_key_event(std::move(e));
}

std::string Panel::gauge_name_of(plat::ModuleHandle module) const {
    for (const auto& g : gauges_)
        if (g->module && g->module->handle() == module) return g->name();
    return "host";
}

}  // namespace panelhost
