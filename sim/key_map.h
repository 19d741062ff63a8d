#pragma once
// The key events an aircraft answers: the one table that gives the autopilot, throttle and gear
// events of the panel's modules their meaning, for the host's own aircraft and for the simulator
// links alike. Each of them is a KeyTarget; the table reads and sets what the events move through
// it. Events that a module repeats every cycle set a state rather than toggle it, so repeating them
// changes nothing.

#include <cstdint>
#include <span>

#include "sim/state.h"

namespace sim {

enum class KeySwitch { master, heading_hold, altitude_hold, speed_hold, autothrottle_armed };
enum class KeySetting { heading_bug_deg, altitude_ft, vertical_speed_fpm, speed_kt };

// What the key events move in an aircraft. Reads give the newest value the target knows.
class KeyTarget {
public:
    virtual ~KeyTarget() = default;
    virtual void set_switch(KeySwitch s, bool on) = 0;
    virtual double setting(KeySetting s) const = 0;
    virtual void set_setting(KeySetting s, double value) = 0;
    virtual double throttle(int lever) const = 0;  // 0 idle .. 1 full, levers 0 .. throttle_count - 1
    virtual void set_throttle(int lever, double position) = 0;
    virtual bool gear_down() const = 0;
    virtual void set_gear_down(bool down) = 0;
    virtual void set_speed_brakes(double fraction) = 0;  // 0 .. 1
};

// An event (host/key_events.h names them) and what it does to a target with the event's value.
struct KeyBinding {
    std::uint32_t id;
    void (*apply)(KeyTarget& target, std::uint32_t value);
};

std::span<const KeyBinding> key_bindings();
const KeyBinding* find_key_binding(std::uint32_t id);

// The host's own aircraft as a key target.
class StateKeys final : public KeyTarget {
public:
    explicit StateKeys(AircraftState& s) : s_(s) {}
    void set_switch(KeySwitch s, bool on) override;
    double setting(KeySetting s) const override;
    void set_setting(KeySetting s, double value) override;
    double throttle(int lever) const override;
    void set_throttle(int lever, double position) override;
    bool gear_down() const override { return s_.controls.gear_down; }
    void set_gear_down(bool down) override { s_.controls.gear_down = down; }
    void set_speed_brakes(double fraction) override { s_.controls.speed_brake = fraction; }

private:
    AircraftState& s_;
};

inline constexpr double throttle_step = 0.05;
inline constexpr double max_altitude_setting_ft = 50000.0;
inline constexpr double max_vertical_speed_setting_fpm = 9900.0;
inline constexpr double max_speed_setting_kt = 999.0;

}  // namespace sim
