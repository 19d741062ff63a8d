#include "panelhost/io_source.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "panelhost/browser_source.h"
#include "panelhost/cycle_relay.h"
#include "panelhost/host_keys.h"
#include "panelhost/load_count.h"
#include "sim/crew.h"

namespace panelhost {
namespace {

// A gauge as a protocol line names it: its name with blanks as '_' (as the areas dump writes it),
// or its module.
bool named(const GaugeInstance& g, const std::string& word) {
    if (g.placement.module == word) return true;
    const std::string& name = g.placement.gauge;
    if (name.size() != word.size()) return false;
    for (std::size_t i = 0; i < name.size(); ++i)
        if ((name[i] == ' ' ? '_' : name[i]) != word[i]) return false;
    return true;
}

double nearest_detent(double position) {
    double best = 0;
    for (double d : sim::flap_detents())
        if (std::abs(d - position) < std::abs(best - position)) best = d;
    return best;
}

class SessionIo final : public homeio::IoPanel {
public:
    SessionIo(Session& session, bool own_aircraft) : session_(session), own_aircraft_(own_aircraft), relay_(session) {}

    // The elements handed out belong to the gauges.
    std::uint64_t panel_loads() override { return loads_.update(session_.panel().gauges()); }

    std::vector<homeio::IoWindow> windows() override {
        std::vector<homeio::IoWindow> out;
        for (const auto& w : session_.panel().windows())
            out.push_back({w->config.number, window_title(w->config), w->config.width, w->config.height, w->open});
        return out;
    }

    bool click(int window, int x, int y) override { return session_.panel().click_window(window, x, y); }
    bool press(int window, int x, int y) override { return session_.panel().press_window(window, x, y); }
    void release() override { session_.panel().release(); }
    void key(int vk, bool down) override { apply_key(session_, vk, down); }
    void send_event(std::uint32_t id, std::uint32_t value) override { session_.panel().send_key_event("io", id, value); }

    const void* find_element(const std::string& gauge, int element) override {
        for (const auto& g : session_.panel().gauges())
            if (named(*g, gauge))
                return element >= 0 && static_cast<std::size_t>(element) < g->elements.size() ? g->elements[element].get()
                                                                                                : nullptr;
        return nullptr;
    }

    homeio::Reading read_element(const void* element) override {
        const auto& s = *static_cast<const ElementState*>(element);
        // Only string elements have a text buffer; asked of the state the host keeps, not of the
        // module's element, so that a cycle's watches stay in memory the host touches anyway.
        if (!s.text_buffer.empty()) return {true, 0, s.shown_text};
        return {false, s.value, {}};
    }

    homeio::Reading read_token(std::int32_t token) override {
        gauge::VariableRecord r = gauge::variable(token);
        session_.variables().lookup(r);
        switch (r.type) {
            case gauge::var_integer: return {false, static_cast<double>(r.value.i), {}};
            // The store's own text, which stays until the variable changes.
            case gauge::var_text: return {true, 0, r.value.text ? std::string_view(r.value.text) : std::string_view()};
            default: return {false, r.value.d, {}};
        }
    }

    bool move_lever(homeio::Lever lever, double position) override {
        if (!own_aircraft_) return false;
        sim::AircraftState& s = session_.aircraft().state();
        switch (lever) {
            case homeio::Lever::throttle:
                for (double& t : s.controls.throttle) t = std::clamp(position, 0.0, 1.0);
                break;
            case homeio::Lever::speedbrake: s.controls.speed_brake = std::clamp(position, 0.0, 1.0); break;
            case homeio::Lever::flaps: s.controls.flaps = nearest_detent(position); break;
            case homeio::Lever::pitch:
                s.hand_vertical_speed_fpm = std::clamp(position, -1.0, 1.0) * sim::max_hand_vertical_speed_fpm;
                break;
            case homeio::Lever::roll: s.hand_bank_deg = std::clamp(position, -1.0, 1.0) * sim::max_hand_bank_deg; break;
        }
        return true;
    }

    void listen(homeio::IoListener* listener) override { relay_.set(listener); }

private:
    Session& session_;
    bool own_aircraft_;
    CycleRelay<homeio::IoListener> relay_;
    LoadCount<GaugeInstance> loads_;
};

}  // namespace

std::unique_ptr<homeio::IoPanel> io_panel(Session& session, bool own_aircraft) {
    return std::make_unique<SessionIo>(session, own_aircraft);
}

}  // namespace panelhost
