// The aircraft keys and the departure and arrival sections, found by substring search in the
// published plan text.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "fmcomputer/plan.h"

namespace fmc {

namespace {

const char* value_of(const char* text, const char* key) {
    const char* at = std::strstr(text, key);
    return at ? at + std::strlen(key) : nullptr;
}

// No speed, rate or altitude of a real plan comes near a million. A number of a damaged plan
// beyond that is pinned there (and one that is no number at all reads as 0), so converting it is
// never undefined and the guidance's sums of two of them stay inside an int.
constexpr double kPlanNumberLimit = 1000000.0;

int pinned(double v) {
    if (std::isnan(v)) return 0;
    return static_cast<int>(std::fmax(-kPlanNumberLimit, std::fmin(kPlanNumberLimit, v)));
}

int integer_key(const char* text, const char* key) {
    const char* v = value_of(text, key);
    return v ? pinned(static_cast<double>(std::strtol(v, nullptr, 10))) : 0;
}

// The rest of a line, without its CR, cut to the buffer.
void rest_of_line(const char* from, char* out, std::size_t out_size) {
    std::size_t n = 0;
    while (from[n] && from[n] != '\n' && n < out_size - 1) {
        out[n] = from[n];
        ++n;
    }
    out[n] = '\0';
    if (n > 0 && out[n - 1] == '\r') out[n - 1] = '\0';
}

// Up to width characters, stopping at the end of the line.
void fixed_chars(const char* from, std::size_t width, char* out, std::size_t out_size) {
    std::size_t n = 0;
    while (n < width && n < out_size - 1 && from[n] && from[n] != '\r' && from[n] != '\n') {
        out[n] = from[n];
        ++n;
    }
    out[n] = '\0';
}

void parse_runway(const char* v, RunwayInfo& out) {
    std::size_t n = 0;
    while (n < sizeof out.designator - 1 && v[n] && v[n] != '/' && v[n] != '\r' && v[n] != '\n') {
        out.designator[n] = v[n];
        ++n;
    }
    out.designator[n] = '\0';
    if (std::strlen(v) < 4 || v[3] != '/') return;
    fixed_chars(v + 4, 3, out.heading, sizeof out.heading);
    if (std::strlen(v) < 8 || v[7] != '/') return;
    fixed_chars(v + 8, 5, out.length, sizeof out.length);
}

}  // namespace

void parse_aircraft_keys(const char* text, AircraftValues& out) {
    out = AircraftValues{};
    if (const char* v = value_of(text, "AIRCRAFT=")) rest_of_line(v, out.aircraft, sizeof out.aircraft);
    const char* speed_text = value_of(text, "CRUISE_SPEED=");
    const float speed = speed_text ? std::strtof(speed_text, nullptr) : 0.0f;
    out.cruise_altitude = integer_key(text, "CRUISE_ALTITUDE=");
    out.climb_rate = integer_key(text, "CLIMB_RATE=");
    out.descent_rate = integer_key(text, "DESCENT_RATE=");
    out.climb_speed = integer_key(text, "CLIMB_SPEED=");
    out.descent_speed = integer_key(text, "DESCENT_SPEED=");
    if (speed <= 5.0f) {
        // A Mach number: knots fall with altitude as the speed of sound does.
        out.cruise_mach = speed;
        out.cruise_speed = pinned(std::round(650.0 * speed - 0.007246377 * out.cruise_altitude));
    } else {
        out.cruise_speed = pinned(speed);
        out.cruise_mach = static_cast<float>(3.142184e-6 * out.cruise_altitude + 0.0014925373 * out.cruise_speed);
    }
}

void parse_airport_section(const char* text, const char* header, AirportInfo& out) {
    out = AirportInfo{};
    const char* section = std::strstr(text, header);
    if (!section) return;
    const char* after = section;
    if (const char* airport = std::strstr(section, "AIRPORT=")) {
        rest_of_line(airport + 8, out.airport, sizeof out.airport);
        after = airport;
    }
    if (const char* runway = std::strstr(after, "RUNWAY=")) parse_runway(runway + 7, out.runway);
}

}  // namespace fmc
