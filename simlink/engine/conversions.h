#pragma once
// The named conversions a binding file refers to: each turns the values of a token's sources (and
// the link's own switches) into the form and units the modules expect. They are C++ functions on
// purpose: a binding file picks one by name and never computes anything itself.

#include <array>
#include <cstddef>
#include <span>
#include <string_view>

namespace simlink {

// What the link itself holds of the autopilot: the switches the panel's events set.
struct LinkIntent {
    bool master = false;
    bool heading_hold = false;
    bool altitude_hold = false;
    bool speed_hold = false;
    bool autothrottle_armed = false;
};

inline constexpr std::size_t max_sources = 3;

// The values of a row's sources, in the row's order, and the link's switches.
struct Inputs {
    std::array<double, max_sources> v{};
    std::array<std::string_view, max_sources> t{};
    const LinkIntent* intent = nullptr;
    double operator[](int i) const { return v[static_cast<std::size_t>(i)]; }
};

using Conversion = double (*)(const Inputs&);

struct NamedConversion {
    std::string_view name;
    Conversion convert;
    std::size_t sources;  // how many sources it reads
};
std::span<const NamedConversion> conversions();
const NamedConversion* find_conversion(std::string_view name);
std::string_view conversion_name(Conversion c);

// What a lock rule sees: the switches, and the altitude and the autopilot's settings as the link
// knows them newest.
struct LockInputs {
    const LinkIntent* intent = nullptr;
    double altitude_ft = 0, altitude_setting_ft = 0, vertical_speed_setting_fpm = 0;
};
using LockRule = std::string_view (*)(const LockInputs&);

struct NamedLockRule {
    std::string_view name;
    LockRule rule;
};
std::span<const NamedLockRule> lock_rules();
const NamedLockRule* find_lock_rule(std::string_view name);

// The altitude hold flies the vertical speed setting towards the altitude setting, as the panel's
// own aircraft does, and holds the altitude once within this band of it (or when the vertical
// speed setting does not lead there).
inline constexpr double altitude_capture_ft = 300.0;

// Conversions the tests check against the panel's own.
double latitude_units(double deg);
double longitude_units(double deg);

}  // namespace simlink
