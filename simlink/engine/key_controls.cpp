#include "simlink/engine/key_controls.h"

#include <cstdio>

#include "sim/key_map.h"

namespace simlink {

namespace {

SwitchName switch_of(sim::KeySwitch s) {
    switch (s) {
        case sim::KeySwitch::master: return SwitchName::master;
        case sim::KeySwitch::heading_hold: return SwitchName::heading_hold;
        case sim::KeySwitch::altitude_hold: return SwitchName::altitude_hold;
        case sim::KeySwitch::speed_hold: return SwitchName::speed_hold;
        case sim::KeySwitch::autothrottle_armed: return SwitchName::autothrottle_armed;
    }
    return SwitchName::master;
}

// The link's controls as the aircraft's table moves them; whatever the file leaves unbound is
// noted and left alone.
class BoundTarget final : public sim::KeyTarget {
public:
    BoundTarget(const Bindings& b, Controls& c) : b_(b), c_(c) {}
    bool unbound = false;

    void set_switch(sim::KeySwitch s, bool on) override { c_.set_switch(switch_of(s), on); }
    double setting(sim::KeySetting s) const override { return read(b_.settings[index(s)]); }
    void set_setting(sim::KeySetting s, double value) override { put(b_.settings[index(s)], format_value(value)); }
    double throttle(int lever) const override { return b_.throttle.empty() ? 0 : read(b_.throttle_path(lever)); }
    void set_throttle(int lever, double position) override {
        put(b_.throttle.empty() ? std::string() : b_.throttle_path(lever), format_value(position));
    }
    bool gear_down() const override { return read(b_.gear) != 0; }
    void set_gear_down(bool down) override {
        put(b_.gear, b_.gear_form == GearForm::boolean ? (down ? "true" : "false") : (down ? "1" : "0"));
    }
    void set_speed_brakes(double fraction) override { put(b_.speed_brakes, format_value(fraction)); }

private:
    static std::size_t index(sim::KeySetting s) { return static_cast<std::size_t>(s); }
    double read(const std::string& path) const { return path.empty() ? 0 : c_.current(path); }
    void put(const std::string& path, std::string value) {
        if (path.empty()) unbound = true;
        else c_.write(path, std::move(value));
    }

    const Bindings& b_;
    Controls& c_;
};

}  // namespace

KeyResult apply_key_event(const Bindings& b, Controls& c, std::uint32_t id, std::uint32_t value) {
    if (const EventBinding* e = b.find_event(id)) {
        if (e->command) c.command(e->path);
        else c.write(e->path, e->value);
        return KeyResult::done;
    }
    const sim::KeyBinding* binding = sim::find_key_binding(id);
    if (!binding) return KeyResult::unknown;
    BoundTarget target(b, c);
    binding->apply(target, value);
    return target.unbound ? KeyResult::unbound : KeyResult::done;
}

std::string format_value(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.10g", v == 0 ? 0.0 : v);
    return text;
}

}  // namespace simlink
