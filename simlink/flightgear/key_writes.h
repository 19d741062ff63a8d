#pragma once
// The key events the link answers, as writes of FlightGear properties: the autopilot's settings,
// its switches as FlightGear's generic autopilot locks, throttles, gear, speed brakes and the fire
// bottles. Window toggles are not here: the host keeps them.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "sim/key_map.h"
#include "simlink/flightgear/token_map.h"

namespace simlink::fg {

// What a key event may touch.
class Controls {
public:
    virtual ~Controls() = default;
    // The newest value the link knows of a property: a write not yet answered, else the reading.
    virtual double current(std::string_view path) const = 0;
    virtual void write(std::string_view path, std::string value) = 0;
    virtual LinkIntent& intent() = 0;
};

// An event (host/key_events.h names them) and the writes that answer it: the aircraft's meaning
// of the event (sim/key_map.h), or one only the link gives.
struct KeyWrite {
    std::uint32_t id;
    const sim::KeyBinding* binding;
    void (*link_only)(Controls& c, std::uint32_t value);
    void apply(Controls& c, std::uint32_t value) const;
};

std::span<const KeyWrite> key_writes();
const KeyWrite* find_key_write(std::uint32_t id);

// The three generic autopilot locks the link's switches ask for.
struct Locks {
    std::string_view heading, altitude, speed;
    bool operator==(const Locks&) const = default;
};

// The altitude hold flies the vertical speed setting towards the altitude setting, as the panel's
// simulator did, and holds the altitude once within this band of it (or when the vertical speed
// setting does not lead there).
inline constexpr double altitude_capture_ft = 300.0;

Locks wanted_locks(const LinkIntent& intent, double altitude_ft, double altitude_setting_ft, double vertical_speed_setting_fpm);

// Paths the key events and locks write.
inline constexpr const char* heading_lock_path = "/autopilot/locks/heading";
inline constexpr const char* altitude_lock_path = "/autopilot/locks/altitude";
inline constexpr const char* speed_lock_path = "/autopilot/locks/speed";
inline constexpr const char* heading_bug_path = "/autopilot/settings/heading-bug-deg";
inline constexpr const char* altitude_setting_path = "/autopilot/settings/target-altitude-ft";
inline constexpr const char* vertical_speed_setting_path = "/autopilot/settings/vertical-speed-fpm";
inline constexpr const char* speed_setting_path = "/autopilot/settings/target-speed-kt";
inline constexpr const char* altitude_path = "/position/altitude-ft";

// A number as the link writes it.
std::string format_value(double v);

}  // namespace simlink::fg
